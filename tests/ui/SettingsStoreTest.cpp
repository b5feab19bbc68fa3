#include "ui/SettingsStore.h"

#include "game/GameState.h"
#include "support/FakeServices.h"
#include "support/SettingsFixtures.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace fenu;

namespace {

const QByteArray FirstRunFile = "[Settings]\n"
                                "Mode=0\n"
                                "CountBalls=1\n"
                                "Radius1=20\n"
                                "Radius2=40\n"
                                "MaxStartSpeed=4\n"
                                "Bonus Points=1\n"
                                "PlaySounds=1\n"
                                "\n"
                                "[Records]\n"
                                "Points0=0\n"
                                "Points1=0\n"
                                "Points2=0\n"
                                "\n"
                                "[Bonus Records]\n"
                                "Points0=0\n"
                                "Points1=0\n"
                                "Points2=0\n";

class SettingsStoreTest : public test::SettingsFileTest {
protected:
    SettingsStoreTest() {
        game.Presets = MakePresets();
        game.Options = &marks;
        // The opposite of every default, so a load that forgets a value shows.
        marks.BonusPoints = false;
        marks.Sounds = false;
        marks.Difficulty = 99;
    }

    void Load(const QByteArray& bytes) {
        WriteFile(bytes);
        TSettingsStore(Path()).Load(game);
    }

    void Save() { TSettingsStore(Path()).Save(game); }

    test::FakeOptionMarks marks;
    TGameState game;
};

} // namespace

TEST_F(SettingsStoreTest, FirstRunLoadsThePresetAndWritesTheFullFileInOrder) {
    TSettingsStore(Path()).Load(game);
    EXPECT_EQ(game.Mode, 0);
    EXPECT_EQ(marks.Difficulty, 0);
    EXPECT_EQ(game.CurrentConfig, game.Presets[0]);
    EXPECT_TRUE(marks.BonusPoints);
    EXPECT_TRUE(marks.Sounds);
    for (const auto& table : game.Records)
        for (const TRecord& record : table)
            EXPECT_EQ(record, TRecord{});

    Save();
    EXPECT_EQ(FileBytes(), FirstRunFile);
    // Saving again changes nothing.
    Save();
    EXPECT_EQ(FileBytes(), FirstRunFile);
}

TEST_F(SettingsStoreTest, TheConfigurationComesFromTheFileNotFromTheMode) {
    Load("[Settings]\nCountBalls=5\nRadius1=33\nRadius2=12\nMaxStartSpeed=9\n");
    EXPECT_EQ(game.CurrentConfig.BallRadii, std::vector<int32_t>(5, 33));
    EXPECT_EQ(game.CurrentConfig.PlayerRadius, 12);
    EXPECT_EQ(game.CurrentConfig.MaxStartSpeed, 9);

    Load("[Settings]\nMode=1\n");
    EXPECT_EQ(game.Mode, 1);
    EXPECT_EQ(marks.Difficulty, 1);
    EXPECT_EQ(game.CurrentConfig, game.Presets[0]);

    Load("[settings]\nradius1=0x1F\ncountballs=0X2\n");
    EXPECT_EQ(game.CurrentConfig.BallRadii, std::vector<int32_t>(2, 31));
}

TEST_F(SettingsStoreTest, ModeIsAByteKeptAsItStandsAndAnyButAPresetsIsTheCustomDifficulty) {
    Load("[Settings]\nMode=7\n");
    EXPECT_EQ(game.Mode, 7);
    EXPECT_EQ(marks.Difficulty, 7) << "checks the custom item";
    Save();
    EXPECT_TRUE(FileBytes().contains("\nMode=7\n"));

    Load("[Settings]\nMode=-1\n");
    EXPECT_EQ(game.Mode, 255);
    Load("[Settings]\nMode=258\n"); // a byte: its low eight bits
    EXPECT_EQ(game.Mode, 2);
}

TEST_F(SettingsStoreTest, AnyNumberButZeroTurnsAnOptionOnAndTextGivesTheDefault) {
    Load("[Settings]\nBonus Points=0\nPlaySounds=0\n");
    EXPECT_FALSE(marks.BonusPoints);
    EXPECT_FALSE(marks.Sounds);
    Load("[Settings]\nBonus Points=5\nPlaySounds=-3\n");
    EXPECT_TRUE(marks.BonusPoints);
    EXPECT_TRUE(marks.Sounds);
    marks.BonusPoints = false;
    Load("[Settings]\nBonus Points=abc\nPlaySounds=1x\n");
    EXPECT_TRUE(marks.BonusPoints);
    EXPECT_TRUE(marks.Sounds);

    marks.BonusPoints = false;
    marks.Sounds = true;
    Save();
    EXPECT_TRUE(FileBytes().contains("\nBonus Points=0\nPlaySounds=1\n"));
}

TEST_F(SettingsStoreTest, OutOfRangeNumbersAreClampedAndNonNumbersGiveDefaults) {
    Load("[Settings]\nCountBalls=-5\nRadius1=0\nRadius2=1000\nMaxStartSpeed=0\n");
    EXPECT_EQ(game.CurrentConfig.BallRadii, std::vector<int32_t>(1, 1));
    EXPECT_EQ(game.CurrentConfig.PlayerRadius, 100);
    EXPECT_EQ(game.CurrentConfig.MaxStartSpeed, 1);

    Load("[Settings]\nCountBalls=2147483647\nRadius1=-2147483648\nMaxStartSpeed=4294967295\n");
    EXPECT_EQ(game.CurrentConfig.BallRadii, std::vector<int32_t>(20, 1));
    EXPECT_EQ(game.CurrentConfig.MaxStartSpeed, 30);

    // Beyond 32 bits, or not a number at all: the defaults of Presets[0].
    Load("[Settings]\nCountBalls=99999999999999999999999\nRadius1=0x123456789\nRadius2=4 0\n"
         "MaxStartSpeed=--3\nMode=0x\n");
    EXPECT_EQ(game.CurrentConfig, game.Presets[0]);
    EXPECT_EQ(game.Mode, 0);
}

TEST_F(SettingsStoreTest, RecordsReadAndSaveWithTheirPlayersOnlyWhenTheyHavePoints) {
    Load("[Records]\nPoints0=55\nPlayer0=Anna\nPoints1=0\nPlayer1=Ghost\nPoints2=120\n"
         "[Bonus Records]\nPoints2=-1294967296\nPlayer2=Rich\n");
    EXPECT_EQ(game.Records[0][0], (TRecord{55, QStringLiteral("Anna")}));
    EXPECT_EQ(game.Records[0][1], (TRecord{0, QStringLiteral("Ghost")}));
    EXPECT_EQ(game.Records[0][2], (TRecord{120, QString()}));
    // Points are unsigned and written as the signed text of their 32 bits.
    EXPECT_EQ(game.Records[1][2], (TRecord{3000000000u, QStringLiteral("Rich")}));

    game.Records[0][0] = TRecord{}; // emptied in the records dialog
    game.Records[1][0] = TRecord{7, QStringLiteral("Neu")};
    Save();
    EXPECT_EQ(FileBytes(), QByteArray("[Records]\nPoints0=0\nPoints1=0\nPoints2=120\nPlayer2=\n"
                                      "[Bonus Records]\nPoints2=-1294967296\nPlayer2=Rich\n"
                                      "Points0=7\nPlayer0=Neu\nPoints1=0\n"
                                      "\n"
                                      "[Settings]\nMode=0\nCountBalls=1\nRadius1=20\nRadius2=40\n"
                                      "MaxStartSpeed=4\nBonus Points=1\nPlaySounds=1\n"));
}

TEST_F(SettingsStoreTest, NamesRoundTripExactlyWithBlanksQuotesAndWindows1252Letters) {
    const QStringList names = {QStringLiteral("  Anna  "),       QStringLiteral("\"Bob\""),
                               QString::fromUtf8("Jürgen Groß"), QStringLiteral("\" \""),
                               QStringLiteral("Tab\t"),          QStringLiteral("a \"b\" c")};
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        game.Records[1][1] = TRecord{42, name};
        Save();
        game.Records[1][1] = TRecord{};
        TSettingsStore(Path()).Load(game);
        EXPECT_EQ(game.Records[1][1], (TRecord{42, name}));
    }
}

TEST_F(SettingsStoreTest, ANameWrittenByAnotherProgramInWindows1252ReadsBack) {
    Load("[Records]\r\nPoints1=300\r\nPlayer1=J\xFCrgen\r\n");
    EXPECT_EQ(game.Records[0][1].Player, QString::fromUtf8("Jürgen"));
    Save();
    EXPECT_TRUE(FileBytes().startsWith(
        "[Records]\r\nPoints1=300\r\nPlayer1=J\xFCrgen\r\nPoints0=0\r\nPoints2=0\r\n"));
}

TEST_F(SettingsStoreTest, HandAddedLinesAndCommentsSurviveASaveByteForByte) {
    const QByteArray before = "; feNU settings, edited by hand\r\n"
                              "[Settings]\r\n"
                              "Mode = 2\r\n"
                              "Window=maximised\r\n"
                              "CountBalls=3\r\n"
                              "Radius1=30\r\n"
                              "Radius2=25\r\n"
                              "MaxStartSpeed=7\r\n"
                              "Bonus Points=0\r\n"
                              "PlaySounds=1\r\n"
                              "\r\n"
                              "[Theme]\r\n"
                              "Colour=blue\r\n"
                              "\r\n"
                              "[Records]\r\n"
                              "Points0=0\r\n"
                              "Points1=0\r\n"
                              "Points2=10\r\n"
                              "Player2=Zo\xEB\r\n"
                              "; best game ever\r\n"
                              "[Bonus Records]\r\n"
                              "Points0=0\r\n"
                              "Points1=0\r\n"
                              "Points2=0\r\n"
                              "junk line";
    Load(before);
    EXPECT_EQ(game.Mode, 2);
    EXPECT_FALSE(marks.BonusPoints);
    Save();
    EXPECT_EQ(FileBytes(), before);

    marks.BonusPoints = true;
    game.Records[1][0] = TRecord{5, QStringLiteral("Max")};
    Save();
    QByteArray after = before;
    after.replace("Bonus Points=0", "Bonus Points=1");
    after.replace("[Bonus Records]\r\nPoints0=0", "[Bonus Records]\r\nPoints0=5");
    // A new key goes after the last key of its section.
    after.replace("Points2=0\r\njunk line", "Points2=0\r\nPlayer0=Max\r\njunk line");
    EXPECT_EQ(FileBytes(), after);
}

TEST_F(SettingsStoreTest, BadFilesGiveDefaultsWithoutCrashing) {
    const QByteArray files[] = {
        "",
        QByteArray("\0\xFF\x80[\n=\n\r\r\n]]]\0Mode=1", 20),
        "Mode=2\nCountBalls=9\n",                       // keys outside any section
        "[Settings\nMode=2\n",                          // header without its bracket
        "[Settings]\nMode 2\nCountBalls\n==\n[]\n=3\n", // lines without a usable '='
    };
    for (const QByteArray& bytes : files) {
        SCOPED_TRACE(bytes.toStdString());
        marks.BonusPoints = false;
        Load(bytes);
        EXPECT_EQ(game.Mode, 0);
        EXPECT_EQ(game.CurrentConfig, game.Presets[0]);
        EXPECT_TRUE(marks.BonusPoints);
    }
}

TEST_F(SettingsStoreTest, AFiftyMegabyteFileLoadsFastAndIsLeftAlone) {
    QByteArray huge = "[Settings]\nMode=2\n";
    huge.append(QByteArray(50 * 1024 * 1024, '\n'));
    WriteFile(huge);
    QElapsedTimer timer;
    timer.start();
    TSettingsStore(Path()).Load(game);
    EXPECT_LT(timer.elapsed(), 500);
    EXPECT_EQ(game.CurrentConfig, game.Presets[0]);
    EXPECT_THROW(Save(), ESettingsWriteError);
    EXPECT_EQ(QFileInfo(Path()).size(), huge.size());
}

TEST_F(SettingsStoreTest, AFailedSaveNamesThePathAndLeavesTheOldFile) {
    QFile blocker(dir.filePath(QStringLiteral("Folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString unwritable = dir.filePath(QStringLiteral("Folder/Settings.ini"));
    try {
        TSettingsStore(unwritable).Save(game);
        ADD_FAILURE() << "no error raised";
    } catch (const ESettingsWriteError& error) {
        EXPECT_EQ(error.Message(),
                  QStringLiteral("In %1 kann nicht geschrieben werden").arg(unwritable));
    }

    WriteFile("[Settings]\nMode=1\n");
    TSettingsStore store(Path());
    store.SetBeforeReplaceHook([](const QString&) { return false; });
    game.Mode = 2;
    try {
        store.Save(game);
        ADD_FAILURE() << "no error raised";
    } catch (const ESettingsWriteError& error) {
        EXPECT_EQ(error.Message(),
                  QStringLiteral("In %1 kann nicht geschrieben werden").arg(Path()));
    }
    EXPECT_EQ(FileBytes(), "[Settings]\nMode=1\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              (QStringList{QStringLiteral("Folder"), QStringLiteral("Settings.ini")}));
}

TEST_F(SettingsStoreTest, SavingCreatesAMissingConfigurationFolder) {
    const QString nested = dir.filePath(QStringLiteral("config/feNU/Settings.ini"));
    TSettingsStore(nested).Load(game);
    TSettingsStore(nested).Save(game);
    QFile file(nested);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), FirstRunFile);
}

namespace {
// A file the fuzzer found: a CRLF file whose last line ends in a lone CR.
const QByteArray LoneCarriageReturnFile("[\x14\r\n[settings]\r\nmode = 0x103\r", 29);
} // namespace

TEST_F(SettingsStoreTest, AFileEndingInALoneCarriageReturnSavesAndLoadsBackTheSame) {
    Load(LoneCarriageReturnFile);
    const TMode mode = game.Mode;
    EXPECT_EQ(mode, 3) << "0x103 keeps its low eight bits";
    Save();
    const QByteArray saved = FileBytes();
    TGameState again;
    test::FakeOptionMarks againMarks;
    again.Presets = MakePresets();
    again.Options = &againMarks;
    TSettingsStore(Path()).Load(again);
    EXPECT_EQ(again.Mode, mode) << saved.toStdString();
    EXPECT_EQ(again.CurrentConfig, game.CurrentConfig) << saved.toStdString();
    EXPECT_EQ(againMarks.BonusPoints, marks.BonusPoints);
    EXPECT_EQ(againMarks.Sounds, marks.Sounds);
}
