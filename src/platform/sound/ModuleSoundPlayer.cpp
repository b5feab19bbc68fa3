#include "platform/sound/ModuleSoundPlayer.h"

#include <utility>

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QTimer>

namespace fenu {

namespace {
using CreateSoundPlayer = SoundPlayer* (*)();
}

TModuleSoundPlayer::TModuleSoundPlayer(QStringList folders) : folders_(std::move(folders)) {}

// The module stays loaded to the end of the program (a QLibrary does not unload
// when it goes away), so the player's own code is still there to destroy it.
TModuleSoundPlayer::~TModuleSoundPlayer() = default;

QStringList TModuleSoundPlayer::DefaultFolders() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    return {programFolder, QDir(programFolder).filePath(QStringLiteral(FENU_SOUND_MODULE_FROM_BIN)),
            QStringLiteral(FENU_SOUND_MODULE_BUILD_DIR)};
}

SoundPlayer* TModuleSoundPlayer::Player() {
    if (tried_)
        return player_.get();
    tried_ = true;
    for (const QString& folder : folders_) {
        QLibrary module(QDir(folder).filePath(QString::fromLatin1(ModuleName)));
        if (!module.load())
            continue;
        if (auto create =
                reinterpret_cast<CreateSoundPlayer>(module.resolve("fenu_create_sound_player"))) {
            player_.reset(create());
            return player_.get();
        }
    }
    return nullptr;
}

void TModuleSoundPlayer::Preload() {
    if (SoundPlayer* player = Player())
        player->Preload();
}

void TModuleSoundPlayer::Play(const char* name) {
    if (tried_) {
        if (player_)
            player_->Play(name);
        return;
    }
    // Loading the module takes a while (it brings a score of multimedia libraries):
    // the frame that asked for the sound, perhaps the very first, is shown first,
    // and the sound follows it.
    const bool posted = !pending_.isNull();
    pending_ = QByteArray(name);
    if (posted)
        return;
    QTimer::singleShot(0, QCoreApplication::instance(), [this, alive = std::weak_ptr(alive_)] {
        if (alive.expired())
            return;
        const QByteArray name = std::exchange(pending_, QByteArray());
        if (SoundPlayer* player = Player())
            player->Play(name.constData());
    });
}

} // namespace fenu
