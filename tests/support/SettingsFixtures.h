#pragma once

// What the tests that save and load Settings.ini share: a file in a scratch folder of
// its own, and a game state as the main window has it before the first load.
#include "game/GameState.h"
#include "game/OptionMarks.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace fenu::test {

class SettingsFileTest : public ::testing::Test {
protected:
    QString Path() const { return dir.filePath(QStringLiteral("Settings.ini")); }

    void WriteFile(const QByteArray& bytes) const {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QByteArray FileBytes() const {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir dir;
};

/// The presets, the first of them chosen, and the options held by marks.
inline TGameState PresetGameState(TOptionMarks& marks) {
    TGameState game;
    game.Presets = MakePresets();
    game.CurrentConfig = game.Presets[0];
    game.Options = &marks;
    return game;
}

} // namespace fenu::test
