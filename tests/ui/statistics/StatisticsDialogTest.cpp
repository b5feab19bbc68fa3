// The statistics dialog on a store of a few hundred games, rendered offscreen: its
// figures in German and the chart's points, the choice of kind, the clearing, damage.
#include "ui/statistics/StatisticsDialog.h"

#include "stats/sqlite/StatisticsStore.h"
#include "ui/DialogTestHelpers.h"
#include "ui/statistics/PointsChart.h"

#include <algorithm>
#include <numeric>

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineSeries>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace fenu::test {
namespace {

class StatisticsDialog : public ::testing::Test {
protected:
    StatisticsDialog() {
        uint32_t seed = 7;
        for (int i = 0; i < 300; ++i) {
            seed = seed * 134775813 + 1;
            const uint32_t p = (seed >> 16) % 500;
            points.push_back(p);
            TPlayedGame game;
            game.StartedUtc = QDateTime(QDate(2026, 1, 1), QTime(12, 0), Qt::UTC).addSecs(60 * i);
            game.Mode = 2;
            game.TimePoints = p;
            game.Milliseconds = p * 1000;
            EXPECT_EQ(store.Add(game), QString());
        }
        TPlayedGame custom;
        custom.StartedUtc = QDateTime(QDate(2026, 2, 3), QTime(12, 0), Qt::UTC);
        custom.Mode = 3;
        custom.TimePoints = 1234;
        custom.Milliseconds = 3'723'000;
        EXPECT_EQ(store.Add(custom), QString());
    }

    QString Figure(const char* name) const { return dialog->findChild<QLabel*>(name)->text(); }

    static std::vector<double> Ys(const QLineSeries* series) {
        std::vector<double> ys;
        for (const QPointF& point : series->points())
            ys.push_back(point.y());
        return ys;
    }

    QTemporaryDir folder;
    QString file = folder.filePath(QStringLiteral("Statistik.sqlite"));
    TStatisticsStore store{file};
    std::vector<uint32_t> points;
    TRecordTable records;
    std::unique_ptr<TStatisticsDialog> dialog;
};

TEST_F(StatisticsDialog, ShowsTheFiguresAndChartOfTheChosenKindOfGameAndClearsThemAfterAsking) {
    const uint32_t best = *std::max_element(points.begin(), points.end());
    records[0][2] = {best, QStringLiteral("Anna")};
    dialog = std::make_unique<TStatisticsDialog>(store, records, false, 2);
    dialog->show();
    EXPECT_FALSE(dialog->grab().isNull());
    EXPECT_EQ(dialog->windowTitle(), "Statistik");
    EXPECT_EQ(dialog->Tabs->tabText(dialog->Tabs->currentIndex()), "Ohne Bonus-Punkte");
    EXPECT_EQ(dialog->Difficulty->currentText(), "Schwierig");

    std::vector<uint32_t> sorted = points;
    std::sort(sorted.begin(), sorted.end());
    const double sum = std::accumulate(points.begin(), points.end(), 0.0);
    const QLocale german(QLocale::German);
    EXPECT_EQ(Figure("Games"), "300");
    EXPECT_EQ(Figure("PlayTime"), QStringLiteral("%1:%2:%3")
                                      .arg(int(sum) / 3600)
                                      .arg(int(sum) / 60 % 60, 2, 10, QChar('0'))
                                      .arg(int(sum) % 60, 2, 10, QChar('0')));
    EXPECT_EQ(Figure("Average"), german.toString(sum / 300, 'f', 1) + " Punkte");
    EXPECT_EQ(Figure("Median"),
              german.toString((sorted[149] + sorted[150]) / 2.0, 'f', 1) + " Punkte");
    const auto first = std::find(points.begin(), points.end(), best) - points.begin();
    EXPECT_EQ(Figure("Best"), QStringLiteral("%1 Punkte, Anna, 01.01.2026").arg(best))
        << "game " << first;
    EXPECT_EQ(Figure("LastTen"),
              german.toString(std::accumulate(points.end() - 10, points.end(), 0.0) / 10, 'f', 1) +
                  " Punkte");

    const std::vector<double> course = Ys(dialog->Chart->PointsSeries());
    EXPECT_TRUE(std::equal(course.begin(), course.end(), points.begin(), points.end()));
    EXPECT_EQ(dialog->Chart->PointsSeries()->points().front().x(), 1.0);
    const std::vector<double> running = Ys(dialog->Chart->BestSeries());
    EXPECT_TRUE(std::is_sorted(running.begin(), running.end()));
    EXPECT_EQ(running.back(), best);
    EXPECT_EQ(dialog->Chart->BestSeries()->points().back().x(), 300.0);

    // One custom game: its figures, no name, one marked point.
    dialog->Difficulty->setCurrentIndex(3);
    EXPECT_EQ(Figure("Games") + " " + Figure("PlayTime") + " " + Figure("Best"),
              QStringLiteral("1 1:02:03 1.234 Punkte, 03.02.2026"));
    EXPECT_EQ(dialog->Chart->PointsSeries()->points(), QList<QPointF>{QPointF(1, 1234)});
    EXPECT_TRUE(dialog->Chart->PointsSeries()->pointsVisible());
    dialog->Tabs->setCurrentIndex(1);
    EXPECT_EQ(Figure("Games") + Figure("Average"), "0–");

    // Clearing asks first and empties every kind of game.
    dialog->Tabs->setCurrentIndex(0);
    dialog->Difficulty->setCurrentIndex(2);
    for (const char* answer : {"Nein", "Ja"}) {
        QTimer::singleShot(0, dialog.get(), [answer] {
            auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(question, nullptr);
            EXPECT_TRUE(question->text().startsWith("Sollen alle Spiele der Statistik gelöscht"));
            for (QAbstractButton* button : question->buttons())
                if (button->text() == answer)
                    button->click();
        });
        dialog->ClearButton->click();
        EXPECT_EQ(Figure("Games"), answer == std::string("Ja") ? "0" : "300");
    }
    EXPECT_EQ(store.Summary(false, 3, false).Games, 0);
}

// A page in the middle overwritten: every kind of game says so (also one whose index
// leads past it), nothing offers to clear. Escape closes it from each control.
TEST_F(StatisticsDialog, SaysWhyADamagedFileCannotBeReadAndClosesWithEscapeFromAnyControl) {
    QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "raw");
    raw.setDatabaseName(file);
    ASSERT_TRUE(raw.open() && QSqlQuery(raw).exec("PRAGMA wal_checkpoint(TRUNCATE)"));
    // A copy, which no other store has open.
    const QString copy = QDir(folder.filePath("Kopie")).filePath("Statistik.sqlite");
    ASSERT_TRUE(QDir(folder.path()).mkdir("Kopie") && QFile::copy(file, copy));
    QFile data(copy);
    ASSERT_TRUE(data.open(QIODevice::ReadWrite) && data.seek(data.size() / 2 / 4096 * 4096));
    data.write(QByteArray(4096, '\x5a'));
    data.close();
    TStatisticsStore damaged(copy);
    // Two games of the run wait, written by the program once they can be.
    int waiting = 2;
    TPlayedGame game;
    game.StartedUtc = QDateTime::currentDateTimeUtc();
    const auto writeWaiting = [&] {
        while (waiting > 0 && damaged.Add(game).isEmpty())
            --waiting;
        return waiting;
    };
    dialog = std::make_unique<TStatisticsDialog>(damaged, records, true, 2, nullptr, writeWaiting);
    for (int tab : {1, 0}) {
        dialog->Tabs->setCurrentIndex(tab);
        EXPECT_EQ(Figure("Notice"),
                  "Die Statistik kann nicht gelesen werden.\n\nDie Datei ist beschädigt.\n\n"
                  "2 Spiele dieses Laufs warten darauf, gespeichert zu werden.");
        EXPECT_FALSE(dialog->findChild<QLabel*>("Games")->isVisibleTo(dialog.get()));
        EXPECT_FALSE(dialog->ClearButton->isEnabled());
        EXPECT_TRUE(dialog->PutAsideButton->isVisibleTo(dialog.get()));
        EXPECT_TRUE(dialog->Chart->PointsSeries()->points().isEmpty());
    }
    const qint64 size = QFileInfo(copy).size();
    TModalRun run;
    for (QWidget* focus :
         std::initializer_list<QWidget*>{dialog->Chart, dialog->Difficulty, dialog->Tabs}) {
        run.Exec(*dialog, [focus] { focus->setFocus(), QTest::keyClick(focus, Qt::Key_Escape); });
        EXPECT_FALSE(run.StillOpen()) << focus->metaObject()->className();
    }
    // Put aside, unchanged, after asking; the games that waited go into a new file.
    QStringList asked;
    for (const int box : {0, 1})
        QTimer::singleShot(200 * box, dialog.get(), [&asked] {
            auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(question, nullptr);
            asked << question->text();
            question
                ->button(question->button(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok)
                ->click();
        });
    dialog->PutAsideButton->click();
    EXPECT_TRUE(asked.value(1).startsWith("Die beschädigte Datei ist als Statistik.sqlite."
                                          "beschädigt aufbewahrt"))
        << asked.join('|').toStdString();
    EXPECT_EQ(QFileInfo(copy + QStringLiteral(".beschädigt")).size(), size);
    EXPECT_EQ(Figure("Games") + Figure("Notice"), "0");
    EXPECT_FALSE(dialog->PutAsideButton->isVisibleTo(dialog.get()));
    EXPECT_EQ(damaged.Summary(false, 0, false).Games, 2);
}

} // namespace
} // namespace fenu::test
