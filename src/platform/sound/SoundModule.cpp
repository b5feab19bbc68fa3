// The entry point of the sound module (libfenu_sound.so), which the program loads
// once its first frames are on screen: the multimedia libraries the player needs
// are then never loaded, let alone relocated, before the window shows.
#include "platform/sound/QtSoundPlayer.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT fenu::SoundPlayer* fenu_create_sound_player() {
    return new fenu::QtSoundPlayer;
}
