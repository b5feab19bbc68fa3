#pragma once

#include "game/OptionMarks.h"
#include "platform/Sound.h"

#include <algorithm>
#include <string>
#include <vector>

namespace fenu::test {

/// Records the names of the sounds played, in order.
class RecordingSoundPlayer final : public SoundPlayer {
public:
    void Play(const char* name) override { Played.emplace_back(name); }
    int Count(const std::string& name) const {
        return static_cast<int>(std::count(Played.begin(), Played.end(), name));
    }
    void Clear() { Played.clear(); }

    std::vector<std::string> Played;
};

/// The menu's check marks as plain fields.
class FakeOptionMarks final : public TOptionMarks {
public:
    bool BonusPointsChecked() const override { return BonusPoints; }
    void SetBonusPointsChecked(bool checked) override { BonusPoints = checked; }
    bool SoundsChecked() const override { return Sounds; }
    void SetSoundsChecked(bool checked) override { Sounds = checked; }
    void CheckDifficulty(TMode mode) override { Difficulty = mode; }

    bool BonusPoints = false;
    bool Sounds = true;
    TMode Difficulty = 0;
};

} // namespace fenu::test
