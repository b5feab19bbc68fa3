#include "platform/sound/QtSoundPlayer.h"

#include <cstring>

#include <QSoundEffect>
#include <QUrl>

namespace fenu {

QtSoundPlayer::QtSoundPlayer() = default;
QtSoundPlayer::~QtSoundPlayer() = default;

size_t QtSoundPlayer::LoadedSounds() const {
    size_t loaded = 0;
    for (const auto& effect : effects_)
        loaded += effect ? 1 : 0;
    return loaded;
}

void QtSoundPlayer::Preload() {
    for (size_t i = 0; i < effects_.size(); ++i)
        Effect(i);
}

QSoundEffect* QtSoundPlayer::Effect(size_t index) {
    auto& effect = effects_[index];
    if (!effect) {
        // setSource loads asynchronously; a play() before the data is there starts
        // as soon as it is.
        effect = std::make_unique<QSoundEffect>();
        effect->setSource(
            QUrl(QStringLiteral("qrc:/sounds/%1.wav").arg(QString::fromLatin1(Names[index]))));
    }
    return effect.get();
}

void QtSoundPlayer::Play(const char* name) {
    if (!name)
        return;
    for (size_t i = 0; i < Names.size(); ++i) {
        if (std::strcmp(Names[i], name) != 0)
            continue;
        QSoundEffect* effect = Effect(i);
        if (playing_)
            playing_->stop();
        effect->play();
        playing_ = effect;
        return;
    }
}

} // namespace fenu
