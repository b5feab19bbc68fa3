#include "ui/Form3.h"

#include "support/FakeServices.h"
#include "ui/DialogTestHelpers.h"
#include "ui/FreshDialogClicks.h"
#include "ui/InfoDlg.h"
#include "ui/SettingsStore.h"

#include <sys/stat.h>

#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

namespace fenu {
namespace {

using test::FakeOptionMarks;
using test::TModalRun;

class Form3Test : public ::testing::Test {
protected:
    TRecordTable records;
    FakeOptionMarks options;
    TForm3 form{records, options};
    TModalRun run;

    /// The texts the list shows in row r, read through the view's model.
    QStringList Row(int r) const {
        QStringList texts;
        const QAbstractItemModel* model = form.ListView1->model();
        for (int c = 0; c < model->columnCount(); ++c) {
            texts.append(model->index(r, c).data().toString());
        }
        return texts;
    }

    void ShowAndHide() {
        form.show();
        form.hide();
    }
};

TEST_F(Form3Test, HasTheCaptionSizeTabsAndColumnsAsLaidOut) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Rekorde"));
    EXPECT_EQ(form.size(), QSize(303, 214));
    EXPECT_EQ(form.TabControl1->geometry(), QRect(8, 8, 289, 169));
    EXPECT_EQ(form.ListView1->parentWidget(), form.TabControl1);
    EXPECT_EQ(form.ListView1->geometry(), QRect(8, 32, 265, 97));
    EXPECT_EQ(form.Button1->parentWidget(), form.TabControl1);
    EXPECT_EQ(form.Button1->geometry(), QRect(168, 136, 105, 25));
    EXPECT_EQ(form.Button1->text(), QStringLiteral("Rekorde löschen"));
    EXPECT_EQ(form.Button2->geometry(), QRect(114, 184, 75, 25));
    EXPECT_TRUE(form.Button2->isDefault());

    QTabBar* tabs = form.TabControl1->Tabs();
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Ohne Bonus-Punkte"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Mit Bonus-Punkten"));
    EXPECT_EQ(form.TabControl1->TabIndex(), 0);

    const QAbstractItemModel* model = form.ListView1->model();
    EXPECT_EQ(model->rowCount(), 3);
    const char* captions[] = {"Schwierigkeit", "Punkte", "Spieler"};
    const int widths[] = {90, 60, 100};
    const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignLeft};
    ASSERT_EQ(model->columnCount(), 3);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString(), QString::fromUtf8(captions[c]));
        EXPECT_EQ(form.ListView1->columnWidth(c), widths[c]);
        const auto cellAlignment =
            Qt::Alignment(model->index(0, c).data(Qt::TextAlignmentRole).toInt());
        const auto headerAlignment =
            Qt::Alignment(model->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).toInt());
        EXPECT_EQ(cellAlignment & Qt::AlignHorizontal_Mask, alignments[c]) << c;
        EXPECT_EQ(headerAlignment & Qt::AlignHorizontal_Mask, alignments[c]) << c;
    }
}

TEST_F(Form3Test, TheListIsReadOnlyWithWholeRowSelectionAndHeadersThatCannotBeClicked) {
    EXPECT_FALSE(form.ListView1->header()->sectionsClickable());
    EXPECT_EQ(form.ListView1->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(form.ListView1->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(form.ListView1->model()->flags(form.ListView1->model()->index(1, 2)) &
                 Qt::ItemIsEditable);
}

TEST_F(Form3Test, EmptyTablesShowTheDifficultiesWithADashAndNoPlayer) {
    for (int tab : {0, 1}) {
        form.TabControl1->SetTabIndex(tab);
        EXPECT_EQ(Row(0), (QStringList{"Einfach", "-", ""}));
        EXPECT_EQ(Row(1), (QStringList{"Mittel", "-", ""}));
        EXPECT_EQ(Row(2), (QStringList{"Schwierig", "-", ""}));
    }
}

TEST_F(Form3Test, ARecordShowsInItsOwnTableOnly) {
    records[0][2] = {123, QStringLiteral("Anna")};
    ShowAndHide();
    EXPECT_EQ(Row(2), (QStringList{"Schwierig", "123", "Anna"}));
    EXPECT_EQ(Row(0), (QStringList{"Einfach", "-", ""}));

    form.TabControl1->Tabs()->setCurrentIndex(1);
    EXPECT_EQ(Row(2), (QStringList{"Schwierig", "-", ""}));
}

TEST_F(Form3Test, RowsAreBuiltFromTheGameTableEachTimeNotCopied) {
    ShowAndHide();
    records[0][1] = {4294967295u, QStringLiteral("Max Mustermann")};
    EXPECT_EQ(Row(1), (QStringList{"Mittel", "4294967295", "Max Mustermann"}));
}

TEST_F(Form3Test, AnEntryWithoutPointsIsShownEmptyWhateverItsName) {
    records[0][0] = {0, QStringLiteral("Eva")};
    ShowAndHide();
    EXPECT_EQ(Row(0), (QStringList{"Einfach", "-", ""}));
}

TEST_F(Form3Test, EachShowingOpensTheTableOfTheBonusOption) {
    records[0][0] = {10, QStringLiteral("ohne")};
    records[1][0] = {20, QStringLiteral("mit")};

    options.BonusPoints = true;
    ShowAndHide();
    EXPECT_EQ(form.TabControl1->TabIndex(), 1);
    EXPECT_EQ(Row(0), (QStringList{"Einfach", "20", "mit"}));

    form.TabControl1->Tabs()->setCurrentIndex(0);
    EXPECT_EQ(Row(0), (QStringList{"Einfach", "10", "ohne"}))
        << "switching shows the other table at once";

    // The user's tab survives hiding, but the next showing chooses anew.
    ShowAndHide();
    EXPECT_EQ(form.TabControl1->TabIndex(), 1);
    options.BonusPoints = false;
    ShowAndHide();
    EXPECT_EQ(form.TabControl1->TabIndex(), 0);
    EXPECT_EQ(Row(0), (QStringList{"Einfach", "10", "ohne"}));
}

TEST_F(Form3Test, ARecordEnteredWhileHiddenShowsAtTheNextShowingOnTheSameTab) {
    ShowAndHide();
    records[0][1] = {77, QStringLiteral("Neu")};
    ShowAndHide();
    EXPECT_EQ(Row(1), (QStringList{"Mittel", "77", "Neu"}));
}

TEST_F(Form3Test, ClearingEmptiesOnlyTheShownTable) {
    for (size_t t = 0; t < 2; ++t) {
        for (size_t m = 0; m < 3; ++m) {
            records[t][m] = {static_cast<uint32_t>(100 * t + m + 1),
                             QStringLiteral("P%1%2").arg(t).arg(m)};
        }
    }
    const auto withoutBonus = records[0];
    options.BonusPoints = true;
    ShowAndHide();
    QTest::mouseClick(form.Button1, Qt::LeftButton);

    for (const TRecord& entry : records[1]) {
        EXPECT_EQ(entry, TRecord{});
    }
    EXPECT_EQ(records[0], withoutBonus);
    EXPECT_EQ(Row(0), (QStringList{"Einfach", "-", ""})) << "the list is redrawn";
    form.TabControl1->SetTabIndex(0);
    EXPECT_EQ(Row(0), (QStringList{"Einfach", "1", "P00"}));
}

// Clicks fired at the game as it ends go on into the dialog it opens: as long as they
// go on, they neither press "Rekorde löschen" nor give it the focus; one after a pause does.
TEST_F(Form3Test, ClicksFromBeforeItShowedNeverClearTheRecords) {
    const TFreshDialogClicks guard(nullptr, 300);
    records[0][0] = {5, QStringLiteral("Ida")};
    form.show();
    for (const int wait : {150, 150, 150, 150, 350, 0}) {
        // To the window, as the window system delivers them: the focus moves first there.
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {},
                          form.Button1->mapTo(&form, form.Button1->rect().center()));
        EXPECT_EQ(records[0][0].Points, wait == 0 ? 0u : 5u) << wait;
        EXPECT_EQ(form.Button1->hasFocus(), wait == 0);
        QTest::qWait(wait);
    }
    form.hide();
}

TEST_F(Form3Test, OkEnterAndTheCloseBoxCloseItButEscapeDoesNot) {
    EXPECT_EQ(run.Exec(form, [this] { form.Button2->click(); }), QDialog::Accepted);
    EXPECT_FALSE(run.StillOpen());
    EXPECT_EQ(run.Exec(form, [this] { QTest::keyClick(form.ListView1, Qt::Key_Return); }),
              QDialog::Accepted);
    EXPECT_FALSE(run.StillOpen());
    run.Exec(form, [this] { form.close(); });
    EXPECT_FALSE(run.StillOpen());

    run.Exec(form, [this] {
        QTest::keyClick(form.ListView1, Qt::Key_Escape);
        QTest::keyClick(&form, Qt::Key_Escape);
    });
    EXPECT_TRUE(run.StillOpen());
}

// After "Rekorde löschen" the focus sits on that button; a click on the other tab
// must take the focus away from it, or the Enter meant for "OK" would empty that
// table as well.
TEST_F(Form3Test, EnterAfterClearingOneTableAndClickingTheOtherTabClosesWithoutClearingIt) {
    records[0][2] = {123, QStringLiteral("Anna")};
    records[1][0] = {40, QStringLiteral("Eva")};
    options.BonusPoints = true;
    const int result = run.Exec(form, [this] {
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QTabBar* tabs = form.TabControl1->Tabs();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
        ASSERT_EQ(form.TabControl1->TabIndex(), 0);
        QWidget* focus = form.focusWidget();
        ASSERT_NE(focus, nullptr);
        EXPECT_NE(focus, form.Button1);
        QTest::keyClick(focus, Qt::Key_Return);
    });

    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_FALSE(run.StillOpen());
    EXPECT_EQ(records[1][0], TRecord{});
    EXPECT_EQ(records[0][2], (TRecord{123, QStringLiteral("Anna")}));
}

// A row promises a run only where a double-click shows one, or why not (here a pipe),
// and offers only there to show it or save it under a safe name.
TEST_F(Form3Test, OnlyRowsWithARunToShowPromiseOne) {
    QTemporaryDir folder;
    const TRecordRuns runs(folder.filePath("Settings.ini"));
    TRunRecording run{{1, false, MakePresets()[1], 625, 500, 0}, {TRunFrame{}}, 1, {}, {}, {}};
    ASSERT_EQ(runs.Save(run, {50, "Bert"}), QString());
    run.Settings.Mode = 2;
    const TRecord anna{50, " A/n:na *"};
    ASSERT_EQ(runs.Save(run, anna), QString());
    ASSERT_EQ(mkfifo(QFile::encodeName(runs.Path(1, 0)).constData(), 0600), 0);
    ASSERT_TRUE(QFile::copy(runs.Path(0, 2), runs.Path(0, 0))); // anna's, in another's place
    records = {{{anna, anna, anna}, {{{7, "Ida"}, {}, {}}}}};
    form.SetRecordRuns(runs);
    ShowAndHide();
    for (int table : {0, 1}) {
        form.TabControl1->SetTabIndex(table);
        for (int row = 0; row < 3; ++row) {
            const auto loaded = runs.Load(table, row, records[table][row]);
            EXPECT_EQ(form.ListView1->model()->index(row, 1).data(Qt::ToolTipRole).isValid(),
                      loaded.Found != TRecordRuns::TFound::None);
            EXPECT_EQ(form.RecordRunMenu(row) != nullptr,
                      loaded.Found != TRecordRuns::TFound::None);
            EXPECT_EQ(loaded.Found == TRecordRuns::TFound::Ready, table == 0 && row == 2);
            EXPECT_EQ(loaded.Reason.contains("keine gewöhnliche Datei"), table == 1 && row == 0);
            EXPECT_EQ(loaded.Reason.contains("anderen Eintrag"), table == 0 && row == 0);
        }
    }
    form.TabControl1->SetTabIndex(0);
    QSignalSpy shown(&form, &TForm3::RecordRunRequested);
    QStringList asked;
    form.ChooseRunFile = [&](const QString& path) {
        asked << path;
        return folder.filePath(QFileInfo(path).fileName());
    };
    QSignalSpy raced(&form, &TForm3::RecordRaceRequested);
    const std::unique_ptr<QMenu> menu = form.RecordRunMenu(2);
    ASSERT_EQ(menu->actions().size(), 3);
    EXPECT_EQ(menu->actions()[0]->text(), "Rekordlauf ansehen");
    menu->actions()[0]->trigger();
    EXPECT_EQ(shown.takeFirst(), (QVariantList{0, 2}));
    menu->actions()[1]->trigger();
    EXPECT_EQ(raced.takeFirst(), (QVariantList{0, 2}));
    menu->actions()[2]->trigger();
    menu->actions()[2]->trigger(); // over the copy just saved, from its folder
    const QString name = "feNU-Schwierig-A_n_na__-50-Punkte.fenurun";
    EXPECT_EQ(SharedRunFileName(0, CustomMode, {7, "Al"}),
              "feNU-Benutzerdefiniert-Al-7-Punkte.fenurun");
    EXPECT_EQ(asked, (QStringList{QDir::home().filePath(name), folder.filePath(name)}));
    QFile copy(folder.filePath(name)), kept(runs.Path(0, 2));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly) && kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), kept.readAll());
    // A shared file far larger than any run, whatever it begins with.
    QFile padded(folder.filePath("Gross.fenurun"));
    ASSERT_TRUE(QFile::copy(kept.fileName(), padded.fileName()) && padded.open(QIODevice::Append));
    padded.write(QByteArray(5 << 20, '\0'));
    padded.close();
    TRunEntry header;
    EXPECT_EQ(TRecordRuns::LoadFile(padded.fileName(), header).Reason, "Die Datei ist zu groß.");
    ASSERT_TRUE(QFile(runs.Path(0, 2)).setPermissions(QFileDevice::ReadOwner));
    EXPECT_EQ(runs.Save(run, {60, "Anna"}), CannotWriteIn(runs.Path(0, 2)));
    EXPECT_EQ(runs.SaveCopy(0, 2, anna, folder.filePath("nirgends/x.fenurun")),
              CannotWriteIn(folder.filePath("nirgends/x.fenurun")));
}

TEST_F(Form3Test, EveryTextFitsItsControlWithTheSystemMessageFont) {
    UseSystemMessageFont();
    EXPECT_EQ(form.font().family(), SystemMessageFontFace());
    EXPECT_EQ(test::ClippedTexts(form), QStringList());
    // The tab captions fit the tab control side by side.
    const QTabBar* tabs = form.TabControl1->Tabs();
    EXPECT_LE(tabs->tabRect(1).right(), form.TabControl1->width());
}

} // namespace
} // namespace fenu
