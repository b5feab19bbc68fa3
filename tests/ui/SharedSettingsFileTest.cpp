// Two copies of the game on one Settings.ini: each one's save must keep the records
// that the other saved in the meantime, and still write its own.
#include "FakeApplication.h"
#include "FakeCursor.h"
#include "FakeServices.h"
#include "ManualClock.h"
#include "SettingsFixtures.h"
#include "game/GameState.h"
#include "ui/Form1.h"
#include "ui/InputQuery.h"
#include "ui/MainMenu.h"
#include "ui/RecordRuns.h"
#include "ui/SettingsStore.h"

#include <functional>
#include <memory>
#include <utility>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

namespace fenu::test {
namespace {

class SharedSettingsFile : public SettingsFileTest {
protected:
    struct TCopy {
        FakeOptionMarks Marks;
        TGameState Game;
        TRecordTable Loaded;
    };

    // A copy of the program that has just started on the file.
    std::unique_ptr<TCopy> Start() const {
        auto copy = std::make_unique<TCopy>();
        copy->Game.Presets = MakePresets();
        copy->Game.Options = &copy->Marks;
        TSettingsStore(Path()).Load(copy->Game);
        copy->Loaded = copy->Game.Records;
        return copy;
    }

    void Exit(const TCopy& copy) const { TSettingsStore(Path()).Save(copy.Game, &copy.Loaded); }

    TRecordTable Reloaded() const { return Start()->Game.Records; }
};

TEST_F(SharedSettingsFile, TheCopyClosedLastKeepsTheOthersRecordAndTheHigherOfAnEntryBothChanged) {
    WriteFile("[Records]\nPoints1=40\nPlayer1=Eva\n");
    auto first = Start();
    auto idle = Start();

    first->Game.Records[1][0] = {35, QStringLiteral("Anna")};
    // Where both copies changed an entry, the higher points win, the file's on a tie.
    first->Game.Records[1][1] = {30, QStringLiteral("Erste")};
    idle->Game.Records[1][1] = {30, QStringLiteral("Zweite")};
    first->Game.Records[1][2] = {500, QStringLiteral("Erste")};
    idle->Game.Records[1][2] = {2, QStringLiteral("Zweite")};
    first->Game.Records[0][0] = {8, QStringLiteral("Erste")};
    idle->Game.Records[0][0] = {9, QStringLiteral("Zweite")};
    Exit(*first);
    Exit(*idle);

    const TRecordTable records = Reloaded();
    EXPECT_EQ(records[1][0], (TRecord{35, QStringLiteral("Anna")}));
    EXPECT_EQ(records[0][1], (TRecord{40, QStringLiteral("Eva")})) << "untouched by both";
    EXPECT_EQ(records[1][1].Player, QStringLiteral("Erste"));
    EXPECT_EQ(records[1][2].Player, QStringLiteral("Erste"));
    EXPECT_EQ(records[0][0].Player, QStringLiteral("Zweite"));
}

TEST_F(SharedSettingsFile, EachCopyKeepsItsOwnNewRecordsAndItsClearedTable) {
    WriteFile("[Records]\nPoints0=5\nPlayer0=Alt\nPoints2=9\nPlayer2=Old\n");
    auto first = Start();
    auto second = Start();

    first->Game.Records[0][1] = {12, QStringLiteral("Erste")};
    second->Game.Records[1][2] = {70, QStringLiteral("Zweite")};
    // The second copy empties the table without bonus points, which holds entries.
    second->Game.Records[0] = {};
    Exit(*first);
    Exit(*second);

    const TRecordTable records = Reloaded();
    EXPECT_EQ(records[1][2], (TRecord{70, QStringLiteral("Zweite")}));
    EXPECT_EQ(records[0][0], TRecord{}) << "emptied by the copy that closed last";
    EXPECT_EQ(records[0][2], TRecord{}) << "emptied by the copy that closed last";
    // The first copy's record came after the second had read the file; the second
    // never saw it, so the emptying it did in its own run does not reach it.
    EXPECT_EQ(records[0][1], (TRecord{12, QStringLiteral("Erste")}));
}

TEST_F(SharedSettingsFile, AnEntryLeftAloneIsStillWrittenByTheUsualRules) {
    // Points 0 with a name (edited by hand): the entry counts as empty and the save
    // removes its name, whether or not this run touched it.
    WriteFile("[Bonus Records]\nPoints1=0\nPlayer1=Niemand\n");
    Exit(*Start());
    const QByteArray bytes = FileBytes();
    EXPECT_FALSE(bytes.contains("Player1")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("[Bonus Records]\nPoints1=0\n")) << bytes.constData();
}

// A copy ends a game while another copy saves records: the prompt, the record and
// its run go by the file as it stands, and a confirmed record is on disk at once.
TEST_F(SharedSettingsFile, AGamesEndComparesWithTheRecordsTheFileHoldsNow) {
    FakeApplication app;
    ManualClock clock{5000};
    FakeCursor cursor;
    TForm1 form(TForm1Services{app, clock, clock, cursor, nullptr, Path()});
    form.Menu().MenuItem_BonusPoints->setChecked(false);
    const QString run = TRecordRuns(Path()).Path(0, 0);
    // The prompt's text and the file while the records dialog shows.
    using TEnd = std::pair<QString, QByteArray>;
    const auto endGame = [&](uint32_t points, const std::function<void()>& whilePrompted) {
        TEnd end;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* prompt = qobject_cast<TInputQuery*>(modal); prompt && end.first.isEmpty()) {
                end.first = prompt->findChild<QLabel*>()->text();
                whilePrompted();
                prompt->Edit()->setText(QStringLiteral("Bob"));
                prompt->accept();
            } else if (modal != nullptr && prompt == nullptr) {
                end.second = FileBytes();
                modal->close();
            }
        });
        watch.start(1);
        form.Menu().Neu1->trigger();
        form.Game().TimePoints = points;
        form.Game().GameOverStep = TGame::FadeLength - 1;
        form.Game().DXTimerTimer(1); // the last fade frame
        return end;
    };
    const auto otherCopySaves = [&](const TRecord& record) {
        auto other = Start();
        other->Game.Records[0][0] = record;
        Exit(*other);
    };

    otherCopySaves({500, QStringLiteral("Anna")});
    EXPECT_TRUE(endGame(2, [] {}).first.isEmpty()) << "2 points are no record beside 500";

    const TEnd beaten = endGame(600, [&] { otherCopySaves({700, QStringLiteral("Cara")}); });
    EXPECT_TRUE(beaten.first.contains(QStringLiteral("Alter Rekord: 500 Punkte")));
    EXPECT_TRUE(beaten.second.contains("Points0=700\nPlayer0=Cara"));
    EXPECT_EQ(form.Game().Records[0][0], (TRecord{700, QStringLiteral("Cara")}));
    EXPECT_FALSE(QFile::exists(run)) << "the run of a record that did not stand";

    EXPECT_TRUE(endGame(800, [] {}).second.contains("Points0=800\nPlayer0=Bob")) << "at once";
    EXPECT_TRUE(QFile::exists(run));
    form.close();
    EXPECT_EQ(Reloaded()[0][0], (TRecord{800, QStringLiteral("Bob")}));
}

// The main window reads the records at start-up and hands them to the save it makes
// when it closes.
TEST_F(SharedSettingsFile, TwoMainWindowsOnOneFileKeepEachOthersRecords) {
    FakeApplication app;
    ManualClock clock{5000};
    FakeCursor cursor;
    RecordingSoundPlayer sounds;
    auto first =
        std::make_unique<TForm1>(TForm1Services{app, clock, clock, cursor, &sounds, Path()});
    auto second =
        std::make_unique<TForm1>(TForm1Services{app, clock, clock, cursor, &sounds, Path()});

    second->Game().Records[1][1] = {21, QStringLiteral("Bob")};
    second->Game().Records[1][2] = {9, QStringLiteral("Eva")};
    second->SaveOnRequest();
    first->Game().Records[0][2] = {88, QStringLiteral("Anna")};
    first.reset();
    second->Game().Records[1][2] = {}; // emptied after the save in the middle of the run
    second.reset();

    const TRecordTable records = Reloaded();
    EXPECT_EQ(records[0][2], (TRecord{88, QStringLiteral("Anna")}));
    EXPECT_EQ(records[1][1], (TRecord{21, QStringLiteral("Bob")}));
    EXPECT_EQ(records[1][2], TRecord{});
}

} // namespace
} // namespace fenu::test
