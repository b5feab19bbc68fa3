#include "platform/profile/ProfileFile.h"

#include <functional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using fenu::TProfileFile;

namespace {

TProfileFile Parsed(QByteArrayView bytes) {
    TProfileFile file;
    file.Parse(bytes);
    return file;
}

QString Read(const TProfileFile& file, const char* section, const char* key,
             const QString& fallback = QStringLiteral("<none>")) {
    return file.ReadString(QString::fromUtf8(section), QString::fromUtf8(key), fallback);
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace

TEST(ProfileFileReading, NamesMatchWithoutCaseAndTheFirstSectionAndKeyWin) {
    const TProfileFile file = Parsed("[settings]\n"
                                     "MODE=1\n"
                                     "mode=2\n"
                                     "[SETTINGS]\n"
                                     "Mode=3\n"
                                     "Other=4\n");
    EXPECT_EQ(Read(file, "Settings", "Mode"), "1");
    // Only the first section of a name counts, even for keys it lacks.
    EXPECT_EQ(Read(file, "Settings", "Other"), "<none>");
}

TEST(ProfileFileReading, BlanksAroundNamesAndValuesAndOnePairOfQuotesAreDropped) {
    const TProfileFile file = Parsed("  [ Records ]  \n"
                                     "\t Player0 \t=  J\xFCrgen Klein  \n"
                                     "Player1=\"  padded  \"\n"
                                     "Player2=\"\"quoted\"\"\n"
                                     "Empty=\n"
                                     "Lone=\"\n"
                                     "Half=\"open\n");
    EXPECT_EQ(Read(file, "Records", "Player0"), QString::fromUtf8("Jürgen Klein"));
    EXPECT_EQ(Read(file, "Records", "Player1"), "  padded  ");
    EXPECT_EQ(Read(file, "Records", "Player2"), "\"quoted\"");
    EXPECT_EQ(Read(file, "Records", "Empty"), "");
    EXPECT_EQ(Read(file, "Records", "Lone"), "\"");
    EXPECT_EQ(Read(file, "Records", "Half"), "\"open");
}

TEST(ProfileFileReading, CommentsJunkAndBrokenHeadersAreNoKeysOrSections) {
    const TProfileFile file = Parsed("Stray=before any section\n"
                                     "[A]\n"
                                     ";Commented=1\n"
                                     "no equals sign here\n"
                                     "=no name\n"
                                     "Key=a\n"
                                     "[B\n"
                                     "Late=b\n");
    EXPECT_EQ(Read(file, "A", "Commented"), "<none>");
    EXPECT_EQ(Read(file, "A", ";Commented"), "<none>");
    EXPECT_EQ(Read(file, "A", "Key"), "a");
    // "[B" lacks its bracket, so the key after it still belongs to A.
    EXPECT_EQ(Read(file, "B", "Late"), "<none>");
    EXPECT_EQ(Read(file, "A", "Late"), "b");
    EXPECT_EQ(Read(file, "", "Stray"), "<none>");
}

TEST(ProfileFileReading, LongValuesAreCutAt2047Characters) {
    const QByteArray value(5000, 'x');
    const TProfileFile file = Parsed("[A]\nKey=" + value + "\n");
    EXPECT_EQ(Read(file, "A", "Key").size(), TProfileFile::MaxValueLength);
}

TEST(ProfileFileReading, CrlfAndLfFilesReadAlike) {
    const TProfileFile crlf = Parsed("[A]\r\nKey=value\r\nQuoted=\" x \"\r\n");
    EXPECT_EQ(Read(crlf, "A", "Key"), "value");
    EXPECT_EQ(Read(crlf, "A", "Quoted"), " x ");
    const TProfileFile noFinalBreak = Parsed("[A]\nKey=value");
    EXPECT_EQ(Read(noFinalBreak, "A", "Key"), "value");
}

TEST(ProfileFileText, Windows1252BytesReadAsTheirCharactersAndWriteBack) {
    TProfileFile file = Parsed("[Records]\nPlayer0=J\xFCrgen \x80\n");
    EXPECT_EQ(Read(file, "Records", "Player0"), QString::fromUtf8("Jürgen €"));
    file.WriteString(u"Records", u"Player1", QString::fromUtf8("Ökonom Ž"));
    file.WriteString(u"Records", u"Player2", QString::fromUtf8("Łukasz \U0001F600!"));
    EXPECT_EQ(file.Serialize(), QByteArray("[Records]\nPlayer0=J\xFCrgen \x80\n"
                                           "Player1=\xD6konom \x8E\n"
                                           "Player2=?ukasz ?!\n"));
}

TEST(ProfileFileText, EveryByteSurvivesUntouched) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    TProfileFile file = Parsed(all + "\n[A]\nKey=1\n");
    file.WriteString(u"A", u"Key", u"2");
    EXPECT_EQ(file.Serialize(), all + "\n[A]\nKey=2\n");
}

namespace {

QByteArray Utf16LittleEndian(const QString& text) {
    QByteArray bytes;
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xff));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

} // namespace

// An editor that saves as UTF-8 or UTF-16 puts a byte-order mark first; read as
// single bytes, the mark would hide the first section header and a save would add
// a second one.
TEST(ProfileFileText, FilesWithAByteOrderMarkAreReadAndWrittenBackInTheirEncoding) {
    const QString name = QStringLiteral("\u0141ukasz \u20ac");
    const QString text = QStringLiteral("[Settings]\r\nMode=1\r\nPlayer0=") + name + "\r\n";
    const std::pair<QByteArray, std::function<QByteArray(const QString&)>> encodings[] = {
        {"\xEF\xBB\xBF", [](const QString& t) { return t.toUtf8(); }},
        {"\xFF\xFE", Utf16LittleEndian}};
    for (const auto& [mark, encode] : encodings) {
        const QByteArray bytes = mark + encode(text);
        TProfileFile file = Parsed(bytes);
        EXPECT_EQ(Read(file, "Settings", "Mode"), "1");
        EXPECT_EQ(Read(file, "Settings", "Player0"), name);
        EXPECT_EQ(file.Serialize(), bytes) << "unchanged, mark and all";

        file.WriteString(u"Settings", u"Mode", u"2");
        file.WriteString(u"Settings", u"Bonus Points", u"0");
        const QByteArray written = file.Serialize();
        EXPECT_TRUE(written.startsWith(mark));
        EXPECT_EQ(written.count(encode(QStringLiteral("[Settings]"))), 1) << "no second section";
        const TProfileFile again = Parsed(written);
        EXPECT_EQ(Read(again, "Settings", "Mode"), "2");
        EXPECT_EQ(Read(again, "Settings", "Bonus Points"), "0");
        EXPECT_EQ(Read(again, "Settings", "Player0"), name);
    }
    // Without a mark the same bytes stay single-byte text.
    EXPECT_EQ(Read(Parsed("[A]\nK=\xC3\xA4\n"), "A", "K"), QStringLiteral("\u00c3\u00a4"));
}

// Bytes after a mark that are no text in its encoding (a broken sequence, half a
// UTF-16 unit) still write back, also around a change.
TEST(ProfileFileText, BrokenTextAfterAByteOrderMarkKeepsEveryByte) {
    TProfileFile utf8 = Parsed("\xEF\xBB\xBF[A]\nK=\xCE\xF7x\n");
    EXPECT_EQ(utf8.Serialize(), "\xEF\xBB\xBF[A]\nK=\xCE\xF7x\n");
    utf8.WriteString(u"A", u"L", Read(utf8, "A", "K"));
    EXPECT_EQ(utf8.Serialize(), "\xEF\xBB\xBF[A]\nK=\xCE\xF7x\nL=\xCE\xF7x\n");

    const QByteArray odd("\xFF\xFE[\0A\0]\0\n\0K\0=\0\x31\0\n\0\x07", 19);
    TProfileFile utf16 = Parsed(odd);
    EXPECT_EQ(Read(utf16, "A", "K"), "1");
    EXPECT_EQ(utf16.Serialize(), odd);
    utf16.WriteString(u"A", u"K", u"2");
    const TProfileFile again = Parsed(utf16.Serialize());
    EXPECT_EQ(Read(again, "A", "K"), "2");
    EXPECT_EQ(again.Serialize(), utf16.Serialize());
    EXPECT_TRUE(utf16.Serialize().endsWith(QByteArray("\n\0\x07", 3)))
        << "the half unit stays last";
}

TEST(ProfileFileWriting, OnlyTheChangedLineChangesAndUnknownLinesStayByteForByte) {
    const QByteArray before = "; written by hand\n"
                              "[Settings]\n"
                              "  mode =  1   ; trailing\n"
                              "Custom Key=keep me\n"
                              "\n"
                              "garbage without equals\n"
                              "[Mine]\n"
                              "X=1\n";
    TProfileFile file = Parsed(before);
    file.WriteString(u"Settings", u"Custom Key", u"keep me");
    EXPECT_EQ(file.Serialize(), before);

    file.WriteString(u"SETTINGS", u"Mode", u"2");
    // The key keeps the spelling it had in the file.
    EXPECT_EQ(file.Serialize(), QByteArray("; written by hand\n"
                                           "[Settings]\n"
                                           "mode=2\n"
                                           "Custom Key=keep me\n"
                                           "\n"
                                           "garbage without equals\n"
                                           "[Mine]\n"
                                           "X=1\n"));
}

TEST(ProfileFileWriting, NewKeysGoToTheEndOfTheirSectionAndNewSectionsToTheEndOfTheFile) {
    TProfileFile file = Parsed("[A]\n"
                               "One=1\n"
                               "; about B\n"
                               "\n"
                               "[B]\n"
                               "Two=2");
    file.WriteString(u"a", u"Three", u"3");
    file.WriteString(u"B", u"Four", u"4");
    file.WriteString(u"C", u"Five", u"5");
    EXPECT_EQ(file.Serialize(), QByteArray("[A]\n"
                                           "One=1\n"
                                           "Three=3\n"
                                           "; about B\n"
                                           "\n"
                                           "[B]\n"
                                           "Two=2\n"
                                           "Four=4\n"
                                           "\n"
                                           "[C]\n"
                                           "Five=5\n"));
}

TEST(ProfileFileWriting, RewrittenFilesKeepTheirLineEnding) {
    TProfileFile crlf = Parsed("[A]\r\nOne=1\r\n");
    crlf.WriteString(u"A", u"One", u"9");
    crlf.WriteString(u"A", u"Two", u"2");
    crlf.WriteString(u"B", u"Three", u"3");
    EXPECT_EQ(crlf.Serialize(), QByteArray("[A]\r\nOne=9\r\nTwo=2\r\n\r\n[B]\r\nThree=3\r\n"));

    TProfileFile fresh;
    fresh.WriteString(u"A", u"One", u"1");
    fresh.WriteString(u"B", u"Two", u"2");
    EXPECT_EQ(fresh.Serialize(), QByteArray("[A]\nOne=1\n\n[B]\nTwo=2\n"));
}

TEST(ProfileFileWriting, ValuesReadBackExactlyAsWritten) {
    TProfileFile file;
    const QStringList values = {QStringLiteral("  leading"),    QStringLiteral("trailing\t"),
                                QStringLiteral("\"quoted\""),   QStringLiteral("\"\""),
                                QStringLiteral("\""),           QStringLiteral("mid \"quote\" ok"),
                                QStringLiteral("a=b;c"),        QStringLiteral("cr\r"),
                                QStringLiteral("\rcr\rin\r\r"), QString()};
    for (int i = 0; i < values.size(); ++i)
        file.WriteString(u"A", QStringLiteral("Key%1").arg(i), values[i]);
    const TProfileFile reread = Parsed(file.Serialize());
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(reread.ReadString(u"A", QStringLiteral("Key%1").arg(i), QStringLiteral("<none>")),
                  values[i])
            << i;
}

TEST(ProfileFileWriting, LineBreaksInAValueCannotInjectLines) {
    TProfileFile file;
    file.WriteString(u"Records", u"Player0", u"Eve\n[Settings]\r\nMode=2");
    const TProfileFile reread = Parsed(file.Serialize());
    EXPECT_EQ(Read(reread, "Records", "Player0"), "Eve [Settings]\r Mode=2");
    EXPECT_EQ(Read(reread, "Settings", "Mode"), "<none>");
}

TEST(ProfileFileWriting, DeleteRemovesEveryCopyOfTheKeyInTheFirstSectionOnly) {
    TProfileFile file =
        Parsed("[R]\nPlayer1=a\nKeep=1\nplayer1=b\n[Other]\nPlayer1=c\n[r]\nPlayer1=d\n");
    file.DeleteKey(u"r", u"PLAYER1");
    EXPECT_EQ(Read(file, "R", "Player1"), "<none>");
    EXPECT_EQ(file.Serialize(), QByteArray("[R]\nKeep=1\n[Other]\nPlayer1=c\n[r]\nPlayer1=d\n"));
    file.DeleteKey(u"Missing", u"Player1");
    file.DeleteKey(u"R", u"Missing");
    EXPECT_EQ(file.Serialize(), QByteArray("[R]\nKeep=1\n[Other]\nPlayer1=c\n[r]\nPlayer1=d\n"));
}

TEST(ProfileFileBadInput, BinaryJunkNeitherCrashesNorYieldsValues) {
    std::mt19937 random(12345);
    for (int round = 0; round < 50; ++round) {
        QByteArray junk(4096, '\0');
        for (char& c : junk)
            c = static_cast<char>(random() % 256);
        TProfileFile file = Parsed(junk);
        (void)file.ReadString(u"Settings", u"Mode", QString());
        file.WriteString(u"Settings", u"Mode", u"1");
        file.DeleteKey(u"Settings", u"Mode");
        file.WriteString(u"Settings", u"Mode", u"2");
        EXPECT_EQ(Read(Parsed(file.Serialize()), "Settings", "Mode"), "2");
    }
}

class ProfileFileOnDisk : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString Path(const char* name = "Settings.ini") const {
        return dir.filePath(QString::fromUtf8(name));
    }
};

TEST_F(ProfileFileOnDisk, MissingFileReadsEmptyAndFlushCreatesIt) {
    TProfileFile file(Path());
    EXPECT_TRUE(file.Load());
    EXPECT_EQ(Read(file, "A", "Key"), "<none>");
    EXPECT_TRUE(file.Flush());
    EXPECT_FALSE(QFileInfo::exists(Path())) << "nothing written, nothing created";
    file.WriteString(u"A", u"Key", u"1");
    ASSERT_TRUE(file.Flush()) << file.ErrorString().toStdString();
    EXPECT_EQ(FileBytes(Path()), "[A]\nKey=1\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Settings.ini")})
        << "no temporary file left behind";
}

TEST_F(ProfileFileOnDisk, FlushIntoAFolderThatIsAFileFailsAndSaysSo) {
    WriteBytes(Path("NotAFolder"), "plain file\n");
    TProfileFile file(dir.filePath(QStringLiteral("NotAFolder/Settings.ini")));
    EXPECT_TRUE(file.Load());
    file.WriteString(u"A", u"Key", u"1");
    EXPECT_FALSE(file.Flush());
    EXPECT_FALSE(file.ErrorString().isEmpty());
    EXPECT_EQ(FileBytes(Path("NotAFolder")), "plain file\n");
}

TEST_F(ProfileFileOnDisk, AnAbandonedReplaceLeavesTheOldFileAndNoTemporary) {
    WriteBytes(Path(), "[A]\r\nKey=old\r\n");
    TProfileFile file(Path());
    ASSERT_TRUE(file.Load());
    file.WriteString(u"A", u"Key", u"new");
    bool asked = false;
    file.SetBeforeReplaceHook([&](const QString& newContents) {
        asked = true;
        // The new text is complete before the old file is touched.
        EXPECT_EQ(FileBytes(newContents), "[A]\r\nKey=new\r\n");
        return false;
    });
    EXPECT_FALSE(file.Flush());
    EXPECT_EQ(FileBytes(Path()), "[A]\r\nKey=old\r\n");
    EXPECT_TRUE(asked);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Settings.ini")});
}

TEST_F(ProfileFileOnDisk, ReplacingKeepsPermissionsAndSymbolicLinks) {
    WriteBytes(Path("real.ini"), "[A]\nKey=1\n");
    ASSERT_EQ(::chmod(QFile::encodeName(Path("real.ini")).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(Path("real.ini"), Path()));
    TProfileFile file(Path());
    ASSERT_TRUE(file.Load());
    file.WriteString(u"A", u"Key", u"2");
    ASSERT_TRUE(file.Flush()) << file.ErrorString().toStdString();
    EXPECT_TRUE(QFileInfo(Path()).isSymLink());
    EXPECT_EQ(FileBytes(Path("real.ini")), "[A]\nKey=2\n");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(Path("real.ini")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

// Read-only is the owner's wish: a rename over the file would succeed, writing it
// would not, so it is not replaced, whoever runs the program.
TEST_F(ProfileFileOnDisk, AReadOnlyFileIsNeitherReplacedNorMadeWritableAndTheFlushFails) {
    WriteBytes(Path(), "[A]\nKey=1\n");
    const QByteArray path = QFile::encodeName(Path());
    ASSERT_EQ(::chmod(path.constData(), 0444), 0);
    struct stat before {};
    ASSERT_EQ(::stat(path.constData(), &before), 0);

    TProfileFile file(Path());
    ASSERT_TRUE(file.Load());
    EXPECT_EQ(Read(file, "A", "Key"), "1");
    file.WriteString(u"A", u"Key", u"2");
    EXPECT_FALSE(file.Flush());
    EXPECT_FALSE(file.ErrorString().isEmpty());

    EXPECT_EQ(FileBytes(Path()), "[A]\nKey=1\n");
    struct stat after {};
    ASSERT_EQ(::stat(path.constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the file was replaced";
    EXPECT_EQ(after.st_mode & 0777, 0444u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Settings.ini")});
}

// A folder closed to us (a shared program folder) with a file we may write: the
// file is rewritten where it is rather than the run's values lost.
TEST_F(ProfileFileOnDisk, AWritableFileInAFolderClosedToUsIsRewrittenInPlace) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser may create files in any folder";
    WriteBytes(Path(), "[A]\r\nKey=1\r\n; kept\r\n");
    const QByteArray folder = QFile::encodeName(dir.path());
    ASSERT_EQ(::chmod(folder.constData(), 0555), 0);
    TProfileFile file(Path());
    ASSERT_TRUE(file.Load());
    file.WriteString(u"A", u"Key", u"2");
    const bool flushed = file.Flush();
    ::chmod(folder.constData(), 0755);
    EXPECT_TRUE(flushed) << file.ErrorString().toStdString();
    EXPECT_EQ(FileBytes(Path()), "[A]\r\nKey=2\r\n; kept\r\n");
}

TEST_F(ProfileFileOnDisk, AFileTooLargeForSettingsReadsEmptyFastAndIsNeverReplaced) {
    QByteArray huge = "[Settings]\nMode=2\n";
    huge.append(QByteArray(50 * 1024 * 1024, 'x'));
    WriteBytes(Path(), huge);
    QElapsedTimer timer;
    timer.start();
    TProfileFile file(Path());
    EXPECT_FALSE(file.Load());
    EXPECT_EQ(Read(file, "Settings", "Mode"), "<none>");
    EXPECT_LT(timer.elapsed(), 500);
    file.WriteString(u"Settings", u"Mode", u"1");
    EXPECT_FALSE(file.Flush());
    EXPECT_EQ(QFileInfo(Path()).size(), huge.size());
}

TEST_F(ProfileFileOnDisk, TheLargestAcceptedFileLoadsAndUpdatesWellUnderASecond) {
    // The worst case for the line index: the largest file, every line a key of one section.
    QByteArray big = "[Settings]\n";
    for (int i = 0; big.size() < TProfileFile::MaxFileSize - 64; ++i)
        big.append("k" + QByteArray::number(i % 1000) + "=v\n");
    big.append("Mode=7\n");
    WriteBytes(Path(), big);
    QElapsedTimer timer;
    timer.start();
    TProfileFile file(Path());
    ASSERT_TRUE(file.Load());
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(Read(file, "Settings", "Mode"), "7");
    for (int i = 0; i < 25; ++i)
        file.WriteString(u"Records", QStringLiteral("Points%1").arg(i), u"0");
    ASSERT_TRUE(file.Flush());
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(FileBytes(Path()).size(), big.size() + 1 + 10 + 10 * 10 + 15 * 11);
}

TEST_F(ProfileFileOnDisk, AFolderOrPipeByThatNameIsNeitherReadNorReplaced) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Settings.ini")));
    TProfileFile folder(Path());
    EXPECT_FALSE(folder.Load());
    folder.WriteString(u"A", u"Key", u"1");
    EXPECT_FALSE(folder.Flush());
    EXPECT_TRUE(QFileInfo(Path()).isDir());

    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe.ini")).constData(), 0600), 0);
    TProfileFile pipe(Path("pipe.ini"));
    EXPECT_FALSE(pipe.Load()) << "reading a pipe would block";
}

// A file the fuzzer found: the last line ends in a lone carriage return.
TEST(ProfileFileWriting, AFileEndingInALoneCarriageReturnWritesBackUnchangedAndAfterAnEdit) {
    const QByteArray bytes("[\x14\r\n[settings]\r\nmode = 0x103\r", 29);
    TProfileFile file;
    file.Parse(bytes);
    EXPECT_EQ(file.Serialize(), bytes);
    file.WriteString(QStringLiteral("Settings"), QStringLiteral("Mode"), QStringLiteral("3"));
    TProfileFile reread;
    reread.Parse(file.Serialize());
    EXPECT_EQ(reread.ReadString(QStringLiteral("Settings"), QStringLiteral("Mode"), QString()), "3")
        << file.Serialize().toStdString();
    file.WriteString(QStringLiteral("Settings"), QStringLiteral("CountBalls"), QStringLiteral("1"));
    reread.Parse(file.Serialize());
    EXPECT_EQ(reread.ReadString(QStringLiteral("Settings"), QStringLiteral("Mode"), QString()), "3")
        << file.Serialize().toStdString();
    EXPECT_EQ(
        reread.ReadString(QStringLiteral("Settings"), QStringLiteral("CountBalls"), QString()), "1")
        << file.Serialize().toStdString();
}

// Another: the value itself ends in a carriage return, and the line in one more.
TEST(ProfileFileWriting, AValueEndingInACarriageReturnKeepsItWhenALineIsAddedAfterIt) {
    const QByteArray bytes("[Bonus Records]\nPoints1=130\nPlayer1=mx\r\r");
    TProfileFile file;
    file.Parse(bytes);
    const QString before =
        file.ReadString(QStringLiteral("Bonus Records"), QStringLiteral("Player1"), {});
    EXPECT_EQ(before, QStringLiteral("mx\r"));
    file.WriteString(QStringLiteral("Bonus Records"), QStringLiteral("Points2"),
                     QStringLiteral("0"));
    TProfileFile reread;
    reread.Parse(file.Serialize());
    EXPECT_EQ(reread.ReadString(QStringLiteral("Bonus Records"), QStringLiteral("Player1"), {}),
              before);
}
