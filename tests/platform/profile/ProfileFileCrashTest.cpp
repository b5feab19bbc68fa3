// A save that dies at any moment must leave either the old or the new file.
#include "platform/profile/ProfileFile.h"

#include <chrono>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using fenu::TProfileFile;

namespace {

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Hand-written lines ahead of the values, large enough that a write takes a while.
QByteArray Padding() {
    QByteArray padding;
    for (int i = 0; i < 20000; ++i)
        padding.append("; comment line " + QByteArray::number(i) + "\n");
    return padding;
}

QByteArray Version(const QByteArray& padding, qint64 value) {
    return padding + "[A]\nValue=" + QByteArray::number(value) + "\n";
}

// Runs `body` in a child process and returns its wait status.
template <class Body> int RunChild(Body body, std::chrono::milliseconds killAfter = {}) {
    const pid_t child = ::fork();
    if (child == 0) {
        body();
        ::_exit(0);
    }
    if (killAfter.count() > 0) {
        std::this_thread::sleep_for(killAfter);
        ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

} // namespace

TEST(ProfileFileCrash, KilledBetweenWritingTheTemporaryAndRenamingItLeavesTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Settings.ini"));
    const QByteArray old = Version(Padding(), 1);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    const int status = RunChild([&] {
        TProfileFile file(path);
        file.Load();
        file.WriteString(u"A", u"Value", u"2");
        file.SetBeforeReplaceHook([](const QString&) {
            ::raise(SIGKILL);
            return true;
        });
        file.Flush();
    });
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
    EXPECT_EQ(FileBytes(path), old);

    // The next save still works beside the stale temporary file.
    TProfileFile file(path);
    ASSERT_TRUE(file.Load());
    file.WriteString(u"A", u"Value", u"3");
    ASSERT_TRUE(file.Flush());
    EXPECT_EQ(FileBytes(path), Version(Padding(), 3));
}

TEST(ProfileFileCrash, SavesKilledAtRandomMomentsLeaveAWholeVersion) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Settings.ini"));
    const QByteArray padding = Padding();
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Version(padding, 0));
    }
    std::mt19937 random(2024);
    qint64 lastSeen = 0;
    int roundsWithProgress = 0;
    for (int round = 0; round < 12; ++round) {
        const auto delay = std::chrono::milliseconds(5 + random() % 40);
        const qint64 base = lastSeen;
        const int status = RunChild(
            [&] {
                for (qint64 value = base + 1;; ++value) {
                    TProfileFile file(path);
                    file.Load();
                    file.WriteString(u"A", u"Value", QString::number(value));
                    file.Flush();
                }
            },
            delay);
        ASSERT_TRUE(WIFSIGNALED(status));

        TProfileFile reread(path);
        ASSERT_TRUE(reread.Load());
        bool isNumber = false;
        const qint64 value = reread.ReadString(u"A", u"Value", QString()).toLongLong(&isNumber);
        ASSERT_TRUE(isNumber);
        ASSERT_GE(value, lastSeen);
        EXPECT_EQ(FileBytes(path), Version(padding, value)) << "round " << round;
        roundsWithProgress += value > lastSeen ? 1 : 0;
        lastSeen = value;
    }
    EXPECT_GT(roundsWithProgress, 0) << "no save ever completed: the test proved nothing";
}
