#pragma once

#include "stats/Statistics.h"
#include "stats/sqlite/StatisticsFile.h"

#include <initializer_list>

#include <QString>
#include <QVariant>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;

namespace fenu {

/// The statistics in an SQLite file, through Qt SQL (QSQLITE): one row per game in
/// the table "games", the schema's version in PRAGMA user_version. The file is
/// opened on first use, in WAL mode and with a busy timeout, so that two copies of
/// the game write to it in turn without losing a row; each game is one
/// transaction, taken with the write lock from its start.
///
/// A file of a newer schema is read but never written; a read-only one (or one in
/// a read-only folder) is read as it is, with nothing written beside it, until it
/// is writable again (one of the schema before races as one without races). A
/// damaged file is opened anew and checked again at each use, and written again
/// once it is mended; on request it is put aside (Statistik.sqlite.beschädigt, -2,
/// ...) for a new one. A file that is not a database is never deleted or
/// overwritten: it is renamed aside (Statistik.sqlite.keine-Datenbank, -2, ...)
/// and a new one is started. A file that cannot be opened is tried again at the
/// next call. A read stops at its first failing query.
class TStatisticsStore final : public TStatistics {
public:
    static constexpr int SchemaVersion = 2;
    static constexpr int DefaultBusyTimeoutMs = 2000;

    explicit TStatisticsStore(QString file, int busyTimeoutMs = DefaultBusyTimeoutMs);
    ~TStatisticsStore() override;
    TStatisticsStore(const TStatisticsStore&) = delete;
    TStatisticsStore& operator=(const TStatisticsStore&) = delete;

    void SetLockWait(int milliseconds) override;
    QString Unwritable() override;
    QString Add(const TPlayedGame& game) override;
    QString Clear() override;
    TStatisticsSummary Summary(bool bonus, TMode mode, bool withRaces) override;
    TStatisticsCourse Course(bool bonus, TMode mode, bool withRaces) override;
    QString KeptAside() const override { return keptAside_; }
    bool Damaged() const override { return damaged_; }
    QString PutDamagedAside(QString& aside) override;

private:
    /// Opens the file unless it is open; false (with failure_) when that fails.
    bool Open();
    QString OpenFile();
    /// Makes a new file whole beside its place and renames it there, unless another
    /// copy's is there first; false when neither file is there.
    bool CreateFile();
    /// Brings a file of an older schema (found) up to this one, or makes a new one.
    QString UpgradeSchema(int found);
    /// Why the file cannot be read whole: damaged (checked once a run), or the
    /// check failed; empty when it is sound.
    QString Damage();
    /// The reason of a failed statement; damage found marks the file for a new look.
    QString FailureOf(const QSqlError& error);
    /// That of a query, empty where it ran out of rows without an error.
    QString FailureOf(const QSqlQuery& query);
    /// Runs one write in a transaction of its own.
    QString Write(const char* statement, std::initializer_list<QVariant> values);
    /// Runs a query with its values bound in order; an inactive query on failure.
    QSqlQuery Run(const char* statement, std::initializer_list<QVariant> values);
    QSqlDatabase Database() const;

    TStatisticsFile file_;
    QString connection_;
    int busyTimeoutMs_;
    bool open_ = false;
    bool readOnly_ = false;   ///< opened for reading only
    bool noDatabase_ = false; ///< found by the last opening
    bool notOpened_ = false;  ///< the last opening found no file it could open
    bool checked_ = false;
    bool damaged_ = false; ///< found damaged: opened anew and checked at the next use
    QString failure_;
    QString unwritable_; ///< why the open file is not written
    QString damage_;
    QString keptAside_;
};

} // namespace fenu
