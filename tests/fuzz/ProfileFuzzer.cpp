// libFuzzer target: any bytes as Settings.ini. Loading must never crash, hang or
// allocate without bound, every loaded value must lie in its range, and a save
// followed by a load must give back exactly what was loaded.
#include "game/GameState.h"
#include "game/OptionMarks.h"
#include "platform/profile/ProfileFile.h"
#include "ui/SettingsStore.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

class TMarks final : public fenu::TOptionMarks {
public:
    bool BonusPointsChecked() const override { return bonus; }
    void SetBonusPointsChecked(bool checked) override { bonus = checked; }
    bool SoundsChecked() const override { return sounds; }
    void SetSoundsChecked(bool checked) override { sounds = checked; }
    void CheckDifficulty(fenu::TMode mode) override { difficulty = mode; }

    bool bonus = false;
    bool sounds = false;
    int difficulty = -1;
};

void RequireAt(bool condition, int line) {
    if (!condition) {
        std::fprintf(stderr, "requirement failed at line %d\n", line);
        std::abort();
    }
}
#define Require(c) RequireAt((c), __LINE__)

struct TLoaded {
    TMarks marks;
    fenu::TGameState game;

    explicit TLoaded(const fenu::TProfileFile& file) {
        game.Presets = fenu::MakePresets();
        game.Options = &marks;
        fenu::ReadSettings(file, game);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fenu::TProfileFile file;
    file.Parse(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    // An unchanged document writes back the very bytes it was read from.
    Require(file.Serialize() ==
            QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));

    const TLoaded first(file);
    const fenu::TConfiguration& config = first.game.CurrentConfig;
    Require(config.BallRadii.size() >= 1 && config.BallRadii.size() <= 20);
    for (const int32_t radius : config.BallRadii)
        Require(radius >= 1 && radius <= 100 && radius == config.BallRadii[0]);
    Require(config.PlayerRadius >= 1 && config.PlayerRadius <= 100);
    Require(config.MaxStartSpeed >= 1 && config.MaxStartSpeed <= 30);
    Require(first.marks.difficulty == first.game.Mode);
    for (const auto& table : first.game.Records)
        for (const auto& record : table)
            Require(record.Player.size() <= fenu::TProfileFile::MaxValueLength);

    fenu::WriteSettings(file, first.game);
    fenu::TProfileFile reread;
    reread.Parse(file.Serialize());
    const TLoaded second(reread);
    Require(second.game.Mode == first.game.Mode);
    Require(second.game.CurrentConfig == config);
    Require(second.marks.bonus == first.marks.bonus && second.marks.sounds == first.marks.sounds);
    for (size_t t = 0; t < 2; ++t) {
        for (size_t n = 0; n < 3; ++n) {
            const fenu::TRecord& before = first.game.Records[t][n];
            const fenu::TRecord& after = second.game.Records[t][n];
            Require(after.Points == before.Points);
            // A name without points is dropped by the save.
            Require(after.Player == (before.Points != 0 ? before.Player : QString()));
        }
    }
    return 0;
}
