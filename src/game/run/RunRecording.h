#pragma once

#include "game/Configuration.h"
#include "platform/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include <QString>

namespace fenu {

class TGameState;

/// What a game starts from: with the same settings and the generator in the same
/// state, the same balls appear.
struct TRunSettings {
    TMode Mode = 0;
    bool Bonus = false;
    TConfiguration Config;
    int32_t FieldWidth = 0;
    int32_t FieldHeight = 0;
    uint32_t Seed = 0; ///< the generator's state before the balls were made
    friend bool operator==(const TRunSettings&, const TRunSettings&) = default;
};

/// One frame of a game or of its fade: the time it ran at (milliseconds since the
/// game's start) and the cursor it read, relative to the field.
struct TRunFrame {
    uint32_t Elapsed = 0;
    TPoint Cursor;
    friend bool operator==(const TRunFrame&, const TRunFrame&) = default;
};

/// A bullet fired before frame Frame, from the player's ball centred at Player.
struct TRunShot {
    uint32_t Frame = 0;
    TPoint Player;
    friend bool operator==(const TRunShot&, const TRunShot&) = default;
};

/// Everything a game needs to be played again, frame for frame.
struct TRunRecording {
    /// Five minutes at 60 frames a second: a typical game never grows the lists.
    static constexpr size_t TypicalFrames = 5 * 60 * 60;
    static constexpr size_t TypicalShots = 2048;

    TRunSettings Settings;
    std::vector<TRunFrame> Frames; ///< the game's frames, then the fade's
    uint32_t GameFrames = 0;       ///< frames up to the one that ended the game
    std::vector<TRunShot> Shots;
    /// StateChecksum after each game frame that began a new second of the game, and
    /// after the one that ended it.
    std::vector<uint32_t> Checksums;
    /// The kind of processor it was recorded on (RunMachine there), empty where the
    /// file is older than that: the rules' extended precision differs between kinds.
    QString Machine;

    void Reserve();
    /// Empties the lists and keeps their capacity and the machine.
    void Clear(const TRunSettings& settings);
    friend bool operator==(const TRunRecording&, const TRunRecording&) = default;
};

/// A checksum of what decides the rest of a game: every ball's and bullet's
/// position and velocity to the last bit, and the bonus points.
uint32_t StateChecksum(const TGameState& game);

/// The kind of processor this program runs on, as a run records it ("x86_64", "arm64").
QString RunMachine();

} // namespace fenu
