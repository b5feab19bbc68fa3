// Two copies of the game on one Settings.ini: each one's save must keep the records
// that the other saved in the meantime, and still write its own.
#include "FakeApplication.h"
#include "FakeCursor.h"
#include "FakeServices.h"
#include "ManualClock.h"
#include "SettingsFixtures.h"
#include "game/GameState.h"
#include "ui/Form1.h"
#include "ui/SettingsStore.h"

#include <memory>

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

TEST_F(SharedSettingsFile, AnIdleCopyClosedLastKeepsTheRecordTheOtherCopySaved) {
    WriteFile("[Records]\nPoints1=40\nPlayer1=Eva\n");
    auto first = Start();
    auto idle = Start();

    first->Game.Records[1][0] = {35, QStringLiteral("Anna")};
    Exit(*first);
    Exit(*idle);

    const TRecordTable records = Reloaded();
    EXPECT_EQ(records[1][0], (TRecord{35, QStringLiteral("Anna")}));
    EXPECT_EQ(records[0][1], (TRecord{40, QStringLiteral("Eva")})) << "untouched by both";
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
