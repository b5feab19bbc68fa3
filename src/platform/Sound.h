#pragma once

namespace fenu {

/// Plays one of the program's wave sounds by name ("GAMEOVER", "HIT", "SUCCESS",
/// "TOUCH") without waiting; a new sound cuts off the one that plays. A sound that
/// cannot be played is skipped silently.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void Play(const char* name) = 0;
    /// Gets every sound ready ahead of its first Play, without waiting for it.
    virtual void Preload() {}
};

} // namespace fenu
