#pragma once

#include "game/run/RunPlayback.h"

#include <QString>

namespace fenu {

class TCanvas;

/// What a race is run against: a run's course (its settings and generator's state)
/// and the way its player's ball went.
struct TRaceCourse {
    TRunSettings Settings;
    TGhostPath Ghost;
    QString Rival;
    uint32_t RivalPoints = 0; ///< as the run's replay reached them
};

/// Draws the run's ball as it stood in the given frame of the race: a pale ring,
/// never filled, so that it is taken neither for the player's ball (filled, with its
/// blinking rim) nor for an alien (filled). From the frame its game ended on it
/// stays there, crossed out.
class TGhost {
public:
    static constexpr TColor RingColor = 0xB4B4B4;
    static constexpr int RingWidth = 2;

    static void Draw(TCanvas& canvas, const TGhostPath& path, size_t frame);
};

} // namespace fenu
