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
};

/// Every game played, kept in a file of its own beside Settings.ini. The program
/// reaches it through this interface only: the store and Qt SQL live in a module
/// loaded at run time. Failures come back as a German reason, empty on success.
class TStatistics {
public:
    /// All custom games share one difficulty in the figures, whatever their settings.
    static constexpr TMode CustomKind = CustomMode;

    virtual ~TStatistics() = default;

    /// Opens the file unless it is open; why it could not be opened or cannot be
    /// written, empty when it can.
    virtual QString Unwritable() = 0;
    virtual QString Add(const TPlayedGame& game) = 0;
    /// Empties the statistics (and nothing else).
    virtual QString Clear() = 0;
    virtual TStatisticsSummary Summary(bool bonus, TMode mode) = 0;
    /// The points of every game of that kind, in the order played.
    virtual std::vector<uint32_t> Course(bool bonus, TMode mode) = 0;
};

} // namespace fenu
