#include "platform/sound/ModuleSoundPlayer.h"
#include "platform/sound/QtSoundPlayer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using fenu::QtSoundPlayer;

namespace {

struct TWave {
    uint16_t Format = 0;
    uint16_t Channels = 0;
    uint32_t Rate = 0;
    uint16_t Bits = 0;
    QByteArray Samples;
};

// Walks the RIFF chunks; a malformed file leaves Format 0.
TWave ParseWave(const QByteArray& bytes) {
    TWave wave;
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return wave;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const auto size = qFromLittleEndian<uint32_t>(bytes.constData() + at + 4);
        const qsizetype body = at + 8;
        if (body + size > bytes.size())
            return TWave{};
        if (id == "fmt " && size >= 16) {
            wave.Format = qFromLittleEndian<uint16_t>(bytes.constData() + body);
            wave.Channels = qFromLittleEndian<uint16_t>(bytes.constData() + body + 2);
            wave.Rate = qFromLittleEndian<uint32_t>(bytes.constData() + body + 4);
            wave.Bits = qFromLittleEndian<uint16_t>(bytes.constData() + body + 14);
        } else if (id == "data") {
            wave.Samples = bytes.mid(body, size);
        }
        at = body + size + (size & 1);
    }
    return wave;
}

void SpinEvents(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace

TEST(SoundResources, FourShortEightBitMonoWavesWithTheirRatesAndLengths) {
    struct TExpected {
        const char* Name;
        uint32_t Rate;
        double Seconds;
    };
    const TExpected expected[] = {{"GAMEOVER", 22050, 1.13},
                                  {"HIT", 22255, 0.18},
                                  {"SUCCESS", 11025, 6.0},
                                  {"TOUCH", 22255, 0.05}};
    for (const TExpected& sound : expected) {
        SCOPED_TRACE(sound.Name);
        QFile file(QStringLiteral(":/sounds/%1.wav").arg(QString::fromLatin1(sound.Name)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "missing from the program's resources";
        const TWave wave = ParseWave(file.readAll());
        EXPECT_EQ(wave.Format, 1) << "PCM";
        EXPECT_EQ(wave.Channels, 1);
        EXPECT_EQ(wave.Bits, 8);
        EXPECT_EQ(wave.Rate, sound.Rate);
        ASSERT_GT(wave.Samples.size(), 0);
        EXPECT_NEAR(double(wave.Samples.size()) / sound.Rate, sound.Seconds, 0.001);

        // Unsigned 8-bit silence is 128: starting and ending there means no click.
        const auto first = static_cast<unsigned char>(wave.Samples.front());
        const auto last = static_cast<unsigned char>(wave.Samples.back());
        EXPECT_NEAR(first, 128, 2);
        EXPECT_NEAR(last, 128, 2);
        int loudest = 0;
        for (const char s : wave.Samples)
            loudest = std::max(loudest, std::abs(static_cast<unsigned char>(s) - 128));
        EXPECT_GT(loudest, 30) << "audible";
    }
}

TEST(SoundResources, EverySoundThePlayerNamesIsAResource) {
    for (const char* name : QtSoundPlayer::Names) {
        const QString path = QStringLiteral(":/sounds/%1.wav").arg(QString::fromLatin1(name));
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
    }
}

TEST(QtSoundPlayerTest, PlayingWithoutASoundDeviceIsSilentAndReturnsAtOnce) {
    QtSoundPlayer player;
    QElapsedTimer timer;
    timer.start();
    player.Play("HIT");
    player.Play("TOUCH"); // cuts off HIT
    player.Play("NOSUCHSOUND");
    player.Play(nullptr);
    player.Play("hit"); // names are exact
    EXPECT_LT(timer.elapsed(), 500);
    SpinEvents(200);
    player.Preload();
    for (const char* name : QtSoundPlayer::Names)
        player.Play(name);
    player.Play("GAMEOVER");
    SpinEvents(200);
}

TEST(QtSoundPlayerTest, SoundsLoadOnlyWhenPlayedOrPreloaded) {
    // The first frame must not wait for sound data or the audio device.
    QtSoundPlayer player;
    EXPECT_EQ(player.LoadedSounds(), 0u);
    player.Play("NOSUCHSOUND");
    EXPECT_EQ(player.LoadedSounds(), 0u);
    player.Play("HIT");
    player.Play("HIT");
    EXPECT_EQ(player.LoadedSounds(), 1u);
    player.Preload();
    EXPECT_EQ(player.LoadedSounds(), QtSoundPlayer::Names.size());
}

TEST(ModuleSoundPlayerTest, LoadsTheBuiltModuleOnPreloadAndPlaysThroughIt) {
    fenu::TModuleSoundPlayer sounds;
    EXPECT_FALSE(sounds.Loaded()) << "nothing is loaded before it is needed";
    sounds.Preload();
    ASSERT_TRUE(sounds.Loaded()) << "libfenu_sound.so beside the program or in the build tree";
    sounds.Play("HIT");
    sounds.Play("NOSUCHSOUND");
    SpinEvents(100);
}

TEST(ModuleSoundPlayerTest, AMissingOrBrokenModuleLeavesTheGameSilent) {
    QTemporaryDir empty, broken;
    ASSERT_TRUE(empty.isValid() && broken.isValid());
    QFile junk(broken.filePath(QStringLiteral("libfenu_sound.so")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a shared library");
    junk.close();
    fenu::TModuleSoundPlayer sounds({empty.path(), broken.path()});
    sounds.Play("HIT");
    sounds.Preload();
    sounds.Play("GAMEOVER");
    EXPECT_FALSE(sounds.Loaded());
}
