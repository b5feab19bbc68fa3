#pragma once

#include "game/run/RunRecording.h"

#include <cstddef>
#include <cstdint>

namespace fenu {

// A game's points are the whole seconds of its clock, while its balls move one step a
// frame, whenever the frame comes: a clock that ran ahead of the frames would score
// time nobody played. So the game's clock may lead the frames it has played (one
// frame clock interval each) by at most RunClockLead, which covers what a busy machine
// starts late or drops (a dropped frame takes two intervals or more: 60 of them);
// a longer stall (the machine or the process stopped) is taken out of the game's time
// as a pause or an inactive spell is, and none of those is in a frame's time at all.
// A file's times are bound the same way and may never go back: whatever times a file
// chooses, its points exceed what its frames played by at most one.

/// The frame clock's rate; every frame of a game is one step of its balls.
constexpr uint32_t RunFramesPerSecond = 60;
constexpr uint32_t RunClockLead = 1000;

/// The latest time (milliseconds since the game's start) the frame-th frame of a game
/// (1 the first) may run at.
uint32_t LatestFrameTime(size_t frame);

/// Whether run's frame times are those a game can have played: never back, and none of
/// its game's frames (the fade's do not count) later than LatestFrameTime.
bool FrameTimesPlayable(const TRunRecording& run);

} // namespace fenu
