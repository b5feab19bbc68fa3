#pragma once

#include "stats/Statistics.h"

#include <initializer_list>

#include <QString>
#include <QVariant>

class QSqlDatabase;
class QSqlQuery;

namespace fenu {

/// The statistics in an SQLite file, through Qt SQL (QSQLITE): one row per game in
/// the table "games", the schema's version in PRAGMA user_version. The file is
/// opened on first use, in WAL mode and with a busy timeout, so that two copies of
/// the game write to it in turn without losing a row; each game is one
/// transaction, taken with the write lock from its start.
///
/// A file of a newer schema is read but never written. A file that is not a
/// database is never deleted or overwritten: it is renamed aside
/// (Statistik.sqlite.keine-Datenbank, -2, ...) and a new one is started. A file
/// that cannot be opened is tried again at the next game.
class TStatisticsStore final : public TStatistics {
public:
    static constexpr int SchemaVersion = 1;
    static constexpr int DefaultBusyTimeoutMs = 2000;
    static constexpr const char* AsideSuffix = ".keine-Datenbank";

    explicit TStatisticsStore(QString file, int busyTimeoutMs = DefaultBusyTimeoutMs);
    ~TStatisticsStore() override;
    TStatisticsStore(const TStatisticsStore&) = delete;
    TStatisticsStore& operator=(const TStatisticsStore&) = delete;

    QString Unwritable() override;
    QString Add(const TPlayedGame& game) override;
    QString Clear() override;
    TStatisticsSummary Summary(bool bonus, TMode mode) override;
    std::vector<uint32_t> Course(bool bonus, TMode mode) override;

    /// Where a file that was no database has been put; empty while none was.
    const QString& KeptAside() const { return keptAside_; }

private:
    /// Opens the file unless it is open; false (with failure_) when that fails.
    bool Open();
    QString OpenFile();
    QString CreateSchema();
    QString PutAside();
    /// Runs one write in a transaction of its own.
    QString Write(const char* statement, std::initializer_list<QVariant> values);
    /// Runs a query with its values bound in order; an inactive query on failure.
    QSqlQuery Run(const char* statement, std::initializer_list<QVariant> values);
    QSqlDatabase Database() const;

    QString file_;
    QString connection_;
    int busyTimeoutMs_;
    bool open_ = false;
    bool newer_ = false;
    bool noDatabase_ = false; ///< found by the last opening
    QString failure_;
    QString keptAside_;
};

} // namespace fenu
