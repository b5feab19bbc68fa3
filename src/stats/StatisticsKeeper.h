#pragma once

#include "stats/StatisticsModules.h"

#include <deque>
#include <functional>
#include <memory>

namespace fenu {

/// The main window's statistics: Statistik.sqlite beside Settings.ini (so by the
/// same rules: beside a build's program, in the user's folder for an installed
/// one), its store opened after the first frames or at first use, and what the
/// player is told: the first failure of a run, a file put aside, games lost.
///
/// Nothing the player waits for waits long on another program's lock: a game's
/// end gives up within a few milliseconds and keeps the game to write after the
/// next game, when the dialog opens, and at the program's end, which waits longer.
class TStatisticsKeeper {
public:
    using TReport = std::function<void(const QString&)>;

    static constexpr const char* FileName = "Statistik.sqlite";
    /// Within a frame's budget, with the write itself.
    static constexpr int GameEndLockWaitMs = 5;
    /// Once per choice in the dialog: it reads with one query at a time and stops
    /// at the first that fails.
    static constexpr int DialogLockWaitMs = 100;
    static constexpr int ProgramEndLockWaitMs = 2000;

    explicit TStatisticsKeeper(const QString& settingsFile,
                               QStringList moduleFolders = TStatisticsModules::DefaultFolders());
    ~TStatisticsKeeper();
    TStatisticsKeeper(const TStatisticsKeeper&) = delete;
    TStatisticsKeeper& operator=(const TStatisticsKeeper&) = delete;

    const QString& File() const { return file_; }
    /// The games not yet written.
    size_t Pending() const { return pending_.size(); }

    /// Loads the store's module and opens the file; a file that was no database,
    /// and has been put aside for a new one, goes to report.
    void Open(const TReport& report);
    /// Writes the game, and those before it that could not be written; a failure
    /// goes to report, the first in the run only.
    void Keep(const TPlayedGame& game, const TReport& report);
    /// Writes the games not yet written, waiting longer for a lock; games that are
    /// lost even so go to report.
    void KeepPending(const TReport& report);
    /// The dialog, on the current game's tab and difficulty; a missing module goes to
    /// report.
    void ShowDialog(QWidget* parent, const TRecordTable& records, bool bonus, TMode mode,
                    const TReport& report);

private:
    /// The store, loaded once, waiting that long for a lock; null without its module.
    TStatistics* Store(int lockWaitMs);
    /// The pending games in the order played, up to the first that fails; its reason.
    QString WritePending();
    void ReportKeptAside(const TReport& report);

    QString file_;
    TStatisticsModules modules_;
    std::unique_ptr<TStatistics> store_;
    std::deque<TPlayedGame> pending_;
    QString reportedAside_;
    bool loaded_ = false;
    bool failureReported_ = false;
};

} // namespace fenu
