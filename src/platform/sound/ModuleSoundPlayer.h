#pragma once

#include "platform/Sound.h"

#include <memory>

#include <QByteArray>
#include <QStringList>

namespace fenu {

/// The sound player that lives in the sound module (libfenu_sound.so), loaded on
/// Preload or, from the event loop, after the first Play, whichever comes first. Linking the
/// multimedia libraries into the program would load them all before the first frame; as a module
/// they load once the window shows. A module that is missing or will not load leaves the game
/// silent, as a machine without a sound device does.
class TModuleSoundPlayer final : public SoundPlayer {
public:
    /// The module's base name; the file is lib<name>.so.
    static constexpr const char* ModuleName = "fenu_sound";

    /// Looks for the module in these folders, in order.
    explicit TModuleSoundPlayer(QStringList folders = DefaultFolders());
    ~TModuleSoundPlayer() override;
    TModuleSoundPlayer(const TModuleSoundPlayer&) = delete;
    TModuleSoundPlayer& operator=(const TModuleSoundPlayer&) = delete;

    void Preload() override;
    void Play(const char* name) override;

    /// Whether the module is loaded and made its player.
    bool Loaded() const { return player_ != nullptr; }

    /// Beside the program (a build tree), the installed module folder relative to
    /// the program, and the build tree the program was built in (for a program
    /// copied elsewhere, as the bench scripts do).
    static QStringList DefaultFolders();

private:
    SoundPlayer* Player();

    QStringList folders_;
    bool tried_ = false;
    std::unique_ptr<SoundPlayer> player_;
    /// The sound asked for before the module was loaded, played once it is.
    QByteArray pending_;
    /// Tells the posted load whether the player is still there.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>();
};

} // namespace fenu
