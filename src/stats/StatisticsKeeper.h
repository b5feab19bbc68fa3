#pragma once

#include "stats/StatisticsModules.h"

#include <functional>
#include <memory>

namespace fenu {

/// The main window's statistics: Statistik.sqlite beside Settings.ini (so by the
/// same rules: beside a build's program, in the user's folder for an installed
/// one), its store opened after the first frames or at first use, and the one
/// report of a failure a run of the program gives.
class TStatisticsKeeper {
public:
    using TReport = std::function<void(const QString&)>;

    static constexpr const char* FileName = "Statistik.sqlite";

    explicit TStatisticsKeeper(const QString& settingsFile,
                               QStringList moduleFolders = TStatisticsModules::DefaultFolders());
    ~TStatisticsKeeper();
    TStatisticsKeeper(const TStatisticsKeeper&) = delete;
    TStatisticsKeeper& operator=(const TStatisticsKeeper&) = delete;

    const QString& File() const { return file_; }

    /// Loads the store's module and opens the file, once.
    void Open();
    /// Writes the game; a failure goes to report, the first in the run only.
    void Keep(const TPlayedGame& game, const TReport& report);
    /// The dialog, on the current game's tab and difficulty; a missing module goes to
    /// report.
    void ShowDialog(QWidget* parent, const TRecordTable& records, bool bonus, TMode mode,
                    const TReport& report);

private:
    QString file_;
    TStatisticsModules modules_;
    std::unique_ptr<TStatistics> store_;
    bool opened_ = false;
    bool failureReported_ = false;
};

} // namespace fenu
