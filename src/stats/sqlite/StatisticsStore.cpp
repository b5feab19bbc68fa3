#include "stats/sqlite/StatisticsStore.h"

#include "stats/sqlite/SqliteFailure.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

namespace fenu {

namespace {

const QString TimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");

// The columns a later version may add to but never take away, so that it can be
// read here.
const char* const Schema[] = {
    "CREATE TABLE IF NOT EXISTS games ("
    " id INTEGER PRIMARY KEY,"
    " started TEXT NOT NULL,"              // UTC, yyyy-mm-dd hh:mm:ss.sss
    " mode INTEGER NOT NULL,"              // 0 Einfach, 1 Mittel, 2 Schwierig, 3 custom
    " balls INTEGER, ball_radius INTEGER," // a custom game's settings, else NULL
    " player_radius INTEGER, max_speed INTEGER,"
    " bonus INTEGER NOT NULL,"
    " time_points INTEGER NOT NULL,"
    " bonus_points INTEGER NOT NULL,"
    " seconds REAL NOT NULL,"
    " ending TEXT NOT NULL CHECK (ending IN ('berührt', 'gefangen', 'abgebrochen')),"
    " race INTEGER NOT NULL DEFAULT 0)", // 1: played against a run's ghost
    "CREATE INDEX IF NOT EXISTS games_by_kind ON games (bonus, mode, started, id)",
};

// What a file of schema 1 lacks: its games were all played on their own courses.
const char* const FromVersion1[] = {
    "ALTER TABLE games ADD COLUMN race INTEGER NOT NULL DEFAULT 0",
};

QString EndingName(TGameEnd end) {
    switch (end) {
    case TGameEnd::Touched:
        return QStringLiteral("berührt");
    case TGameEnd::Caught:
        return QStringLiteral("gefangen");
    case TGameEnd::Aborted:
        break;
    }
    return QStringLiteral("abgebrochen");
}

// Named after the store's address, unique among the stores there are: a count
// would start anew in each copy of this code (the module's and a test's).
QString ConnectionName(const void* store) {
    return QStringLiteral("fenu-statistics-%1").arg(reinterpret_cast<quintptr>(store));
}

int StoredMode(TMode mode) {
    return std::min<int>(mode, TStatistics::CustomKind);
}

} // namespace

TStatisticsStore::TStatisticsStore(QString file, int busyTimeoutMs)
    : file_(std::move(file)), connection_(ConnectionName(this)), busyTimeoutMs_(busyTimeoutMs) {
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
}

TStatisticsStore::~TStatisticsStore() {
    Database().close();
    QSqlDatabase::removeDatabase(connection_);
}

QSqlDatabase TStatisticsStore::Database() const {
    return QSqlDatabase::database(connection_, false);
}

void TStatisticsStore::SetLockWait(int milliseconds) {
    busyTimeoutMs_ = milliseconds;
    if (open_)
        QSqlQuery(Database()).exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(milliseconds));
}

QString TStatisticsStore::FailureOf(const QSqlError& error) {
    if (SqliteCode(error) == static_cast<int>(TSqliteCode::Corrupt))
        damaged_ = true;
    return SqliteFailureReason(error);
}

// A query that ran out of rows without an error has none.
QString TStatisticsStore::FailureOf(const QSqlQuery& query) {
    return query.lastError().type() == QSqlError::NoError ? QString()
                                                          : FailureOf(query.lastError());
}

QString TStatisticsStore::Unwritable() {
    if (!Open())
        return failure_;
    return damage_.isEmpty() ? unwritable_ : damage_;
}

// Once a run, at the first figures, and at each use of a file found damaged: a
// damaged page may lie where only some kinds of game reach, and those would read
// as no games at all. The check reads the whole file (about 10 ms for 10,000
// games), too long for a sound file's game's end.
QString TStatisticsStore::Damage() {
    if (checked_)
        return damage_;
    QSqlQuery check = Run("PRAGMA quick_check(1)", {});
    if (!check.next())
        return FailureOf(check);
    checked_ = true;
    damaged_ = check.value(0).toString() != QLatin1String("ok");
    if (damaged_)
        damage_ = QStringLiteral("Die Datei ist beschädigt.");
    return damage_;
}

bool TStatisticsStore::Open() {
    // A file made writable since it was opened for reading is opened anew, and so is
    // a damaged one, which may have been mended (a copy put back): SQLite would go
    // on with the damaged pages it has read.
    const bool damaged = std::exchange(damaged_, false);
    if (open_ && (damaged || (readOnly_ && file_.ReadOnlyReason().isEmpty()))) {
        Database().close();
        open_ = false;
    }
    if (open_)
        return true;
    if (damaged) {
        checked_ = false;
        damage_.clear();
    }
    // Another copy starting at the same time may put the file aside or make it
    // anew between the looks of this one: each opening sees where the last left it.
    // A file that is no database, and then a missing one, take an opening each.
    for (int opening = 0; opening < 4; ++opening) {
        failure_ = OpenFile();
        if (failure_.isEmpty())
            break;
        Database().close();
        if (noDatabase_) {
            QString aside;
            const QString notMoved =
                file_.PutAside(TStatisticsFile::AsideSuffix, &TStatisticsFile::IsNoDatabase, aside);
            if (!aside.isEmpty())
                keptAside_ = aside;
            if (!notMoved.isEmpty()) {
                failure_ = QStringLiteral("Die Datei ist keine Datenbank und kann nicht als %1 "
                                          "beiseitegelegt werden.")
                               .arg(notMoved);
                break;
            }
        } else if (!notOpened_ || (!QFileInfo::exists(file_.Path()) && !CreateFile())) {
            break;
        }
    }
    if (!failure_.isEmpty())
        Database().close();
    open_ = failure_.isEmpty();
    if (open_ && damaged)
        Damage();
    return open_;
}

QString TStatisticsStore::OpenFile() {
    noDatabase_ = false;
    notOpened_ = false;
    QSqlDatabase database = Database();
    if (!database.isValid())
        return QStringLiteral("Der SQLite-Treiber von Qt (QSQLITE) fehlt.");
    unwritable_ = file_.ReadOnlyReason();
    readOnly_ = !unwritable_.isEmpty();
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs_);
    if (readOnly_) {
        database.setDatabaseName(file_.ReadOnlyUri());
        options += QStringLiteral(";QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI");
    } else {
        // The user's configuration folder may not be there before the first save.
        QDir().mkpath(QFileInfo(file_.Path()).absolutePath());
        file_.MendJournals();
        database.setDatabaseName(file_.ReadWriteUri());
        options += QStringLiteral(";QSQLITE_OPEN_URI");
    }
    database.setConnectOptions(options);
    // Not while another copy renames: SQLite, not finding the file to write, would
    // open the one renamed into its place for reading only.
    std::unique_ptr<QLockFile> lock = readOnly_ ? nullptr : file_.Lock();
    if (!database.open()) {
        notOpened_ = true;
        return SqliteFailureReason(database.lastError());
    }
    lock.reset();
    QSqlQuery version = Run("PRAGMA user_version", {});
    noDatabase_ = SqliteCode(version.lastError()) == static_cast<int>(TSqliteCode::NotADatabase);
    if (!version.next())
        return SqliteFailureReason(version.lastError());
    const int found = version.value(0).toInt();
    version.finish();
    if (found > SchemaVersion && !readOnly_)
        unwritable_ = QStringLiteral("Die Datei stammt von einer neueren Version von feNU.");
    // A file of the version before races that cannot be upgraded is read as it is:
    // a view in the connection's own temporary schema, which SQLite searches first,
    // gives its games the column, none of them a race.
    if (!unwritable_.isEmpty() && found == 1)
        return FailureOf(Run("CREATE TEMP VIEW games AS SELECT *, 0 AS race FROM main.games", {}));
    if (!unwritable_.isEmpty())
        return {};
    // Another copy switching the file to WAL at the same time makes the switch fail
    // at once; the next opening switches it.
    Run("PRAGMA journal_mode = WAL", {});
    // In WAL mode a commit that is not synced survives a crash of the program, only
    // not one of the machine; a sync per game would delay the record prompt.
    Run("PRAGMA synchronous = NORMAL", {});
    return found < SchemaVersion ? UpgradeSchema(found) : QString();
}

// The file is never made by opening it: a copy that opened it while it was still
// empty, as another switched it to WAL, would take the new journal for a stale one
// and delete it, with the games in it. A file that appears whole cannot be met
// empty.
bool TStatisticsStore::CreateFile() {
    QTemporaryFile draft(file_.Path() + QStringLiteral(".neu-XXXXXX"));
    if (!draft.open())
        return false;
    draft.close();
    QSqlDatabase database = Database();
    database.setDatabaseName(draft.fileName());
    database.setConnectOptions({});
    bool made = database.open();
    if (made) {
        Run("PRAGMA journal_mode = WAL", {});
        made = UpgradeSchema(0).isEmpty();
    }
    database.close();
    if (!made)
        return false;
    const std::unique_ptr<QLockFile> lock = file_.Lock();
    // A rename never replaces a file that is there: another copy's new one is kept.
    return QFile::rename(draft.fileName(), file_.Path()) || QFileInfo::exists(file_.Path());
}

QString TStatisticsStore::UpgradeSchema(int found) {
    QSqlQuery query(Database());
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return SqliteFailureReason(query.lastError());
    // Another copy may have upgraded the file between the reading of its version and
    // the lock: a column added twice would fail.
    if (query.exec(QStringLiteral("PRAGMA user_version")) && query.next())
        found = query.value(0).toInt();
    query.finish();
    if (found >= SchemaVersion) {
        query.exec(QStringLiteral("COMMIT"));
        return {};
    }
    std::vector<const char*> statements;
    if (found == 1)
        statements.assign(std::begin(FromVersion1), std::end(FromVersion1));
    else if (found < 1)
        statements.assign(std::begin(Schema), std::end(Schema));
    for (const char* statement : statements) {
        if (!query.exec(QString::fromUtf8(statement))) {
            const QString reason = SqliteFailureReason(query.lastError());
            query.exec(QStringLiteral("ROLLBACK"));
            return reason;
        }
    }
    if (!query.exec(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion)) ||
        !query.exec(QStringLiteral("COMMIT"))) {
        const QString reason = SqliteFailureReason(query.lastError());
        query.exec(QStringLiteral("ROLLBACK"));
        return reason;
    }
    return {};
}

QSqlQuery TStatisticsStore::Run(const char* statement, std::initializer_list<QVariant> values) {
    QSqlQuery query(Database());
    query.setForwardOnly(true);
    if (!query.prepare(QString::fromUtf8(statement)))
        return query;
    for (const QVariant& value : values)
        query.addBindValue(value);
    query.exec();
    return query;
}

QString TStatisticsStore::Write(const char* statement, std::initializer_list<QVariant> values) {
    if (const QString reason = Unwritable(); !reason.isEmpty())
        return reason;
    // Taken with the write lock at once: a transaction that read first could not
    // wait for another copy's write to end, only fail.
    QSqlQuery transaction(Database());
    if (!transaction.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return FailureOf(transaction.lastError());
    QSqlQuery write = Run(statement, values);
    QSqlError error = write.lastError();
    write.finish();
    if (error.type() == QSqlError::NoError && !transaction.exec(QStringLiteral("COMMIT")))
        error = transaction.lastError();
    if (error.type() == QSqlError::NoError)
        return {};
    transaction.exec(QStringLiteral("ROLLBACK"));
    return FailureOf(error);
}

QString TStatisticsStore::Add(const TPlayedGame& game) {
    const bool custom = game.Mode >= CustomMode;
    const auto setting = [custom](int32_t value) { return custom ? QVariant(value) : QVariant(); };
    const int32_t ballRadius = game.Config.BallRadii.empty() ? 0 : game.Config.BallRadii.front();
    return Write("INSERT INTO games (started, mode, balls, ball_radius, player_radius, "
                 "max_speed, bonus, time_points, bonus_points, seconds, ending, race) "
                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                 {game.StartedUtc.toUTC().toString(TimeFormat), StoredMode(game.Mode),
                  setting(static_cast<int32_t>(game.Config.BallRadii.size())), setting(ballRadius),
                  setting(game.Config.PlayerRadius), setting(game.Config.MaxStartSpeed),
                  game.Bonus ? 1 : 0, game.TimePoints, game.BonusPoints, game.Milliseconds / 1000.0,
                  EndingName(game.End), game.Race ? 1 : 0});
}

// Closed first: the last connection's close takes the journal into the file, so
// that it goes aside whole and the new file meets no journal of the old one.
QString TStatisticsStore::PutDamagedAside(QString& aside) {
    Database().close();
    open_ = false;
    damaged_ = true; // looked at anew, whatever comes of it
    if (QFileInfo::exists(file_.Path() + QStringLiteral("-wal")))
        return QStringLiteral("Die Datei ist noch in einer anderen Kopie von feNU geöffnet.");
    if (const QString notMoved =
            file_.PutAside(TStatisticsFile::DamagedSuffix, &TStatisticsFile::IsDamaged, aside);
        !notMoved.isEmpty())
        return QStringLiteral("Die Datei kann nicht als %1 beiseitegelegt werden.").arg(notMoved);
    return Unwritable();
}

QString TStatisticsStore::Clear() {
    return Write("DELETE FROM games", {});
}

// Each query after a failed one would wait out a lock once more: a read stops there.
TStatisticsSummary TStatisticsStore::Summary(bool bonus, TMode mode, bool withRaces) {
    TStatisticsSummary summary;
    const auto failed = [&summary](const QString& failure) {
        summary = {};
        summary.Failure = failure;
        return summary;
    };
    if (!Open())
        return failed(failure_);
    if (const QString damage = Damage(); !damage.isEmpty())
        return failed(damage);
    const QVariant b = bonus ? 1 : 0;
    const QVariant m = StoredMode(mode);
    const QVariant r = withRaces ? 1 : 0; // race <= r
    QSqlQuery totals =
        Run("SELECT COUNT(*), TOTAL(seconds), AVG(time_points + bonus_points) FROM games "
            "WHERE bonus = ? AND mode = ? AND race <= ?",
            {b, m, r});
    if (!totals.next())
        return failed(FailureOf(totals));
    summary.Games = totals.value(0).toInt();
    if (summary.Games == 0)
        return summary;
    summary.Seconds = totals.value(1).toDouble();
    summary.Average = totals.value(2).toDouble();

    // The middle game, or the mean of the two middle games.
    QSqlQuery median = Run("SELECT AVG(points) FROM (SELECT time_points + bonus_points AS points "
                           "FROM games WHERE bonus = ? AND mode = ? AND race <= ? "
                           "ORDER BY points LIMIT ? OFFSET ?)",
                           {b, m, r, 2 - summary.Games % 2, (summary.Games - 1) / 2});
    if (!median.next())
        return failed(FailureOf(median));
    summary.Median = median.value(0).toDouble();

    QSqlQuery best =
        Run("SELECT time_points + bonus_points AS points, started FROM games "
            "WHERE bonus = ? AND mode = ? AND race <= ? ORDER BY points DESC, started, id LIMIT 1",
            {b, m, r});
    if (!best.next())
        return failed(FailureOf(best));
    summary.BestPoints = best.value(0).toUInt();
    summary.BestStartedUtc = QDateTime::fromString(best.value(1).toString(), TimeFormat);
    summary.BestStartedUtc.setTimeSpec(Qt::UTC);

    QSqlQuery lastTen = Run("SELECT AVG(points) FROM (SELECT time_points + bonus_points AS points "
                            "FROM games WHERE bonus = ? AND mode = ? AND race <= ? "
                            "ORDER BY started DESC, id DESC LIMIT 10)",
                            {b, m, r});
    if (!lastTen.next())
        return failed(FailureOf(lastTen));
    summary.LastTenAverage = lastTen.value(0).toDouble();
    return summary;
}

TStatisticsCourse TStatisticsStore::Course(bool bonus, TMode mode, bool withRaces) {
    TStatisticsCourse course;
    if (!Open()) {
        course.Failure = failure_;
        return course;
    }
    if (course.Failure = Damage(); !course.Failure.isEmpty())
        return course;
    QSqlQuery query = Run("SELECT time_points + bonus_points FROM games "
                          "WHERE bonus = ? AND mode = ? AND race <= ? ORDER BY started, id",
                          {bonus ? 1 : 0, StoredMode(mode), withRaces ? 1 : 0});
    while (query.next())
        course.Points.push_back(query.value(0).toUInt());
    course.Failure = FailureOf(query);
    if (!course.Failure.isEmpty())
        course.Points.clear();
    return course;
}

} // namespace fenu
