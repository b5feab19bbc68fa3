#pragma once

#include "platform/Sound.h"

#include <array>
#include <memory>

class QSoundEffect;

namespace fenu {

/// Plays the program's four wave sounds ("GAMEOVER", "HIT", "SUCCESS", "TOUCH") from
/// its resources (qrc:/sounds/<NAME>.wav), one QSoundEffect each. Nothing is loaded when the player
/// is made, so it never delays the first frame: call Preload once the window shows, or let the
/// first Play of a sound load it. Without a sound device, or for an unknown name, Play stays
/// silent.
class QtSoundPlayer final : public SoundPlayer {
public:
    static constexpr std::array<const char*, 4> Names = {"GAMEOVER", "HIT", "SUCCESS", "TOUCH"};

    QtSoundPlayer();
    ~QtSoundPlayer() override;

    /// Starts loading every sound in the background.
    void Preload() override;

    /// Stops the sound that plays and starts the named one; returns at once.
    void Play(const char* name) override;

    /// How many of the sounds have been loaded (or are loading).
    size_t LoadedSounds() const;

private:
    QSoundEffect* Effect(size_t index);

    std::array<std::unique_ptr<QSoundEffect>, Names.size()> effects_;
    QSoundEffect* playing_ = nullptr;
};

} // namespace fenu
