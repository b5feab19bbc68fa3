#pragma once

#include "game/PlayedGame.h"

#include <cstdint>
#include <vector>

#include <QDateTime>
#include <QString>

namespace fenu {

/// The figures of one kind of game (bonus option and difficulty).
struct TStatisticsSummary {
    int Games = 0;
    double Seconds = 0;
    double Average = 0;
    double Median = 0;
    uint32_t BestPoints = 0;
    QDateTime BestStartedUtc; ///< the first game to reach the best points
    double LastTenAverage = 0;
    QString Failure; ///< why the games could not be read; empty when they were
};

/// The points of every game of one kind, in the order played.
struct TStatisticsCourse {
    std::vector<uint32_t> Points;
    QString Failure; ///< why they could not be read; empty when they were
};

/// Every game played, kept in a file of its own beside Settings.ini. The program
/// reaches it through this interface only: the store and Qt SQL live in a module
/// loaded at run time. Failures come back as a German reason, empty on success.
class TStatistics {
public:
    /// All custom games share one difficulty in the figures, whatever their settings.
    static constexpr TMode CustomKind = CustomMode;

    virtual ~TStatistics() = default;

    /// How long the calls after it wait for another program's lock on the file
    /// before they give up: briefly where the player waits, longer at the end.
    virtual void SetLockWait(int milliseconds) = 0;
    /// Opens the file unless it is open; why it could not be opened or cannot be
    /// written, empty when it can.
    virtual QString Unwritable() = 0;
    virtual QString Add(const TPlayedGame& game) = 0;
    /// Empties the statistics (and nothing else).
    virtual QString Clear() = 0;
    /// The figures and points of one kind of game; races against a run count among
    /// them only withRaces.
    virtual TStatisticsSummary Summary(bool bonus, TMode mode, bool withRaces) = 0;
    virtual TStatisticsCourse Course(bool bonus, TMode mode, bool withRaces) = 0;
    /// Where a file that was no database has been put; empty while none was.
    virtual QString KeptAside() const = 0;
    /// Whether the file was found damaged when last used; it is opened anew and
    /// checked again at the next use, in case it was mended meanwhile.
    virtual bool Damaged() const = 0;
    /// Puts a damaged file aside (aside: its new name, empty when it turned out
    /// sound) and starts a new one; why it could not, empty when it could.
    virtual QString PutDamagedAside(QString& aside) = 0;
};

} // namespace fenu
