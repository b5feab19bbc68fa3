// The SQLite store: games written and read back as figures, two copies writing to
// one file, a lock held past the timeout, a file that is no database, a newer schema,
// a read-only file, a damaged file and a lock as the program's keeper meets them.
#include "stats/sqlite/StatisticsStore.h"

#include "stats/StatisticsKeeper.h"
#include "stats/sqlite/SqliteFailure.h"

#include <cstdio>
#include <future>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace fenu {
namespace {

TPlayedGame Game(uint32_t points, TMode mode = 1, int minute = 0,
                 TGameEnd end = TGameEnd::Touched) {
    TPlayedGame game;
    game.StartedUtc = QDateTime(QDate(2026, 12, 8), QTime(10, minute), Qt::UTC);
    game.Mode = mode;
    game.TimePoints = points;
    game.Milliseconds = points * 1000 + 500;
    game.End = end;
    return game;
}

class StatisticsStore : public ::testing::Test {
protected:
    /// One value of a statement run on a connection of the test's own.
    QVariant Raw(const QString& statement) {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "raw");
        database.setDatabaseName(file);
        QVariant value;
        if (database.open()) {
            QSqlQuery query(database);
            if (query.exec(statement) && query.next())
                value = query.value(0);
        }
        database = {};
        QSqlDatabase::removeDatabase("raw");
        return value;
    }

    /// Permissions do not hold the superuser back: as root, the checks run in a
    /// child process that has become nobody, the owner of the folder and file.
    template <class Checks> void AsUnprivileged(Checks checks) {
        const passwd* nobody = ::getpwnam("nobody");
        if (::geteuid() != 0 || nobody == nullptr)
            return checks();
        for (const QString& name : {folder.path(), file})
            ASSERT_EQ(::chown(QFile::encodeName(name), nobody->pw_uid, nobody->pw_gid), 0);
        if (const pid_t child = ::fork(); child == 0) {
            const bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(nobody->pw_gid) == 0 &&
                                 ::setuid(nobody->pw_uid) == 0;
            if (dropped)
                checks();
            std::fflush(stdout);
            ::_exit(dropped && !::testing::Test::HasFailure() ? 0 : 1);
        } else {
            int status = -1;
            ::waitpid(child, &status, 0);
            EXPECT_EQ(status, 0) << "the checks as nobody failed";
        }
    }

    QTemporaryDir folder;
    QString file = folder.filePath(QStringLiteral("Statistik.sqlite"));
    QString settings = folder.filePath(QStringLiteral("Settings.ini"));
    QStringList reports;
    std::function<void(const QString&)> report = [this](const QString& text) { reports << text; };
};

TEST_F(StatisticsStore, AFileFromBeforeRacesIsReadAsItIsWhileReadOnlyAndCountsRacesOnlyWhenAsked) {
    // The file as the version before races left it.
    Raw("CREATE TABLE games (id INTEGER PRIMARY KEY, started TEXT NOT NULL, mode INTEGER NOT "
        "NULL, balls INTEGER, ball_radius INTEGER, player_radius INTEGER, max_speed INTEGER, "
        "bonus INTEGER NOT NULL, time_points INTEGER NOT NULL, bonus_points INTEGER NOT NULL, "
        "seconds REAL NOT NULL, ending TEXT NOT NULL)");
    Raw("INSERT INTO games (started, mode, bonus, time_points, bonus_points, seconds, ending) "
        "VALUES ('2026-12-08 09:00:00.000', 1, 0, 12, 0, 12.5, 'berührt')");
    Raw("PRAGMA user_version = 1");
    // Read-only: read as it is, nothing beside it; written once writable.
    AsUnprivileged([this] {
        ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner));
        TStatisticsStore store(file);
        EXPECT_EQ(store.Add(Game(4)), "Die Datei ist schreibgeschützt.");
        EXPECT_EQ(store.Course(false, 1, true).Points, std::vector<uint32_t>{12});
        EXPECT_EQ(QDir(folder.path()).entryList({"Statistik.sqlite-*"}), QStringList());
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        EXPECT_EQ(store.Add(Game(4)), QString());
    });
    TStatisticsStore store(file);
    TPlayedGame race = Game(40, 1, 30);
    race.Race = true;
    ASSERT_EQ(store.Add(race) + store.Add(Game(20, 1, 31)), QString());
    EXPECT_EQ(store.Summary(false, 1, false).Games, 3);
    EXPECT_EQ(store.Summary(false, 1, false).BestPoints, 20u) << "a race is no best game";
    EXPECT_EQ(store.Summary(false, 1, true).BestPoints, 40u);
    EXPECT_EQ(store.Course(false, 1, true).Points, (std::vector<uint32_t>{12, 4, 40, 20}));
    EXPECT_EQ(Raw("PRAGMA user_version").toInt(), TStatisticsStore::SchemaVersion);
    EXPECT_EQ(TStatisticsStore(file).Unwritable(), QString()) << "upgraded once only";
}

TEST_F(StatisticsStore, KeepsEveryGameInTurnWithAnotherCopyAndFindsItsFigures) {
    TStatisticsStore store(file);
    // Written out of order: the course follows the start times.
    for (const auto& [points, minute] : {std::pair{30u, 3}, {10u, 1}, {20u, 2}, {5u, 4}})
        ASSERT_EQ(store.Add(Game(points, 1, minute)), QString());
    TPlayedGame custom = Game(7, 3, 5, TGameEnd::Caught);
    custom.Config = {{20, 20}, 15, 5};
    TPlayedGame bonus = Game(8, 1, 6, TGameEnd::Aborted);
    bonus.Bonus = true;
    bonus.BonusPoints = 40;
    ASSERT_EQ(store.Add(custom) + store.Add(bonus), QString());

    const TStatisticsSummary mittel = store.Summary(false, 1, false);
    EXPECT_EQ(mittel.Games, 4);
    EXPECT_DOUBLE_EQ(mittel.Seconds, 67.0);
    EXPECT_DOUBLE_EQ(mittel.Average, 16.25);
    EXPECT_DOUBLE_EQ(mittel.Median, 15.0);
    EXPECT_EQ(mittel.BestPoints, 30u);
    EXPECT_EQ(mittel.BestStartedUtc, Game(0, 1, 3).StartedUtc);
    EXPECT_DOUBLE_EQ(mittel.LastTenAverage, 16.25);
    EXPECT_EQ(store.Course(false, 1, false).Points, (std::vector<uint32_t>{10, 20, 30, 5}));
    EXPECT_EQ(store.Course(true, 1, false).Points, std::vector<uint32_t>{48})
        << "time and bonus points";
    EXPECT_EQ(store.Summary(false, 3, false).Median, 7.0);
    EXPECT_EQ(store.Summary(false, 0, false).Games, 0);

    EXPECT_EQ(Raw("SELECT balls || ' ' || ball_radius || ' ' || player_radius || ' ' || max_speed "
                  "|| ' ' || ending FROM games WHERE mode = 3"),
              QStringLiteral("2 20 15 5 gefangen"));
    EXPECT_EQ(Raw("SELECT COUNT(*) FROM games WHERE balls IS NULL AND ending = 'berührt'"), 4);
    EXPECT_EQ(Raw("PRAGMA journal_mode"), "wal");
    EXPECT_EQ(Raw("PRAGMA user_version"), TStatisticsStore::SchemaVersion);

    ASSERT_EQ(store.Clear(), QString());
    EXPECT_EQ(store.Summary(false, 1, false).Games + store.Summary(true, 1, false).Games, 0);

    // A second copy writes in turn; a lock held past its timeout fails one write only.
    TStatisticsStore second(file, 100);
    for (uint32_t i = 0; i < 20; ++i) {
        ASSERT_EQ(store.Add(Game(i)), QString());
        ASSERT_EQ(second.Add(Game(100 + i)), QString());
    }
    EXPECT_EQ(store.Summary(false, 1, false).Games, 40);

    // Another copy renaming a file into place holds the lock file: an opening waits.
    QLockFile renaming(file + ".lock");
    ASSERT_TRUE(renaming.lock());
    QElapsedTimer clock;
    clock.start();
    auto renamed = std::async(std::launch::async, [&renaming] {
        QThread::msleep(100);
        renaming.unlock();
    });
    EXPECT_EQ(TStatisticsStore(file).Unwritable(), QString());
    EXPECT_GE(clock.elapsed(), 90) << "opened during the rename";

    // Another program holds the write lock until 100 ms into the program's end.
    std::promise<bool> held;
    std::promise<void> ending;
    auto holder = std::async(std::launch::async, [&] {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "other");
        other.setDatabaseName(file);
        QSqlQuery lock(other);
        held.set_value(other.open() && lock.exec("BEGIN IMMEDIATE"));
        ending.get_future().wait();
        QThread::msleep(100);
        lock.exec("COMMIT");
    });
    EXPECT_TRUE(held.get_future().get());
    const QString locked = QStringLiteral("Die Datei ist von einem anderen Programm gesperrt.");
    EXPECT_EQ(second.Add(Game(1)), locked);
    // The program's keeper gives up within a frame's time and writes the game later.
    TStatisticsKeeper keeper(settings);
    keeper.Open(report);
    clock.start();
    keeper.Keep(Game(2), report);
    EXPECT_LT(clock.elapsed(), 40) << "5 ms measured; 16 a frame's; a loaded machine";
    EXPECT_TRUE(reports.value(0).endsWith("beim Beenden noch einmal.\n\n" + locked));
    ending.set_value();
    keeper.KeepPending(report);
    holder.wait();
    EXPECT_EQ(reports.size(), 1) << "the program's end waits out a lock";
    EXPECT_EQ(second.Add(Game(1)), QString());
    EXPECT_EQ(second.Summary(false, 1, false).Games, 42);
}

TEST_F(StatisticsStore, FilesItCannotWriteAreKeptAsideOrLeftAsTheyAreAndReportedOncePerRun) {
    const auto writeJunk = [this] {
        QFile junk(file);
        return junk.open(QIODevice::WriteOnly) && junk.write(QByteArray(4096, 'x')) == 4096;
    };
    // No database: kept aside under its own name, a new one started, said once.
    for (const QString& aside : {file + ".keine-Datenbank", file + ".keine-Datenbank-2"}) {
        ASSERT_TRUE(writeJunk());
        TStatisticsKeeper keeper(settings);
        keeper.Open(report);
        keeper.Keep(Game(3), report);
        QFile kept(aside);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), QByteArray(4096, 'x'));
        EXPECT_EQ(Raw("SELECT COUNT(*) FROM games"), 1);
    }
    ASSERT_EQ(reports.size(), 2);
    EXPECT_TRUE(reports.takeLast().contains(" als Statistik.sqlite.keine-Datenbank-2 aufbewahrt"));
    reports.clear();
    // Two copies starting at once, forty times (their steps meet only now and then):
    // one puts it aside, neither the other's new file.
    for (int round = 3; round < 43; ++round) {
        ASSERT_TRUE(writeJunk());
        std::thread second([this] { EXPECT_EQ(TStatisticsStore(file).Add(Game(4)), QString()); });
        EXPECT_EQ(TStatisticsStore(file).Add(Game(5)), QString());
        second.join();
        const QString aside = file + ".keine-Datenbank-%1";
        ASSERT_EQ(Raw("SELECT COUNT(*) FROM games"), 2) << "round " << round;
        ASSERT_TRUE(TStatisticsFile(aside.arg(round)).IsNoDatabase()) << "round " << round;
        ASSERT_FALSE(QFile::exists(aside.arg(round + 1))) << "round " << round;
    }
    // A newer schema: shown, never written.
    ASSERT_EQ(TStatisticsStore(file).Add(Game(12)), QString());
    Raw(QStringLiteral("PRAGMA user_version = %1").arg(TStatisticsStore::SchemaVersion + 1));
    {
        TStatisticsStore store(file);
        const QString newer =
            QStringLiteral("Die Datei stammt von einer neueren Version von feNU.");
        EXPECT_EQ(store.Unwritable(), newer);
        EXPECT_EQ(store.Add(Game(20)), newer);
        EXPECT_EQ(store.Clear(), newer);
        EXPECT_EQ(store.Summary(false, 1, false).BestPoints, 12u);
    }
    EXPECT_EQ(Raw("SELECT COUNT(*) FROM games"), 3);
    Raw(QStringLiteral("PRAGMA user_version = %1").arg(TStatisticsStore::SchemaVersion));

    // Damaged: the tables' pages after the first (header and schema) are garbage. The
    // program's keeper (the store from its module) leaves it and says so once per run.
    {
        TStatisticsStore store(file);
        for (int i = 0; i < 200; ++i)
            ASSERT_EQ(store.Add(Game(1)), QString());
    }
    QFile damaged(file);
    ASSERT_TRUE(damaged.open(QIODevice::ReadWrite));
    const QByteArray sound = damaged.readAll();
    damaged.seek(4096);
    damaged.write(QByteArray(static_cast<int>(damaged.size()) - 4096, '\x5a'));
    damaged.seek(0);
    const QByteArray before = damaged.readAll();
    TStatisticsKeeper keeper(settings);
    keeper.Keep(Game(2), report);
    keeper.Keep(Game(3), report);
    keeper.KeepPending(report);
    EXPECT_TRUE(reports.value(0).startsWith("Die Statistik kann nicht gespeichert werden: die "
                                            "Datei ist beschädigt.\n\nUnter Spiel > Statistik..."));
    EXPECT_EQ(reports.value(1), "2 Spiele fehlen in der Statistik: sie können nicht gespeichert "
                                "werden.\n\nDie Datei ist beschädigt.");
    damaged.seek(0);
    EXPECT_EQ(damaged.readAll(), before);
    // Mended (a copy put back) while the program runs: the games that waited are written.
    damaged.seek(0);
    damaged.write(sound);
    damaged.flush();
    keeper.Keep(Game(4), report);
    EXPECT_EQ(Raw("SELECT COUNT(*) FROM games").toInt(), 206) << "3, 200, and 3 that waited";
    TStatisticsKeeper withoutModule(settings, {folder.path()});
    withoutModule.Keep(Game(2), report);
    EXPECT_TRUE(reports.value(2).endsWith(".\n\nDas Modul libfenu_statistics.so fehlt im Ordner " +
                                          folder.path() + "."));
    // SQLite's own words only on a last line, where no reason is known.
    EXPECT_TRUE(SqliteFailureReason(QSqlError({}, "x", QSqlError::UnknownError, "4242"))
                    .endsWith("einen unerwarteten Fehler.\n\nMeldung von SQLite: x"));
}

} // namespace
} // namespace fenu
