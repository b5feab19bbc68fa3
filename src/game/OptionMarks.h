#pragma once

#include "game/Configuration.h"

namespace fenu {

/// The two options and the difficulty radio group are the check marks of the main
/// window's menu items; the game and the settings store reach them through this.
class TOptionMarks {
public:
    virtual ~TOptionMarks() = default;
    virtual bool BonusPointsChecked() const = 0;
    virtual void SetBonusPointsChecked(bool checked) = 0;
    virtual bool SoundsChecked() const = 0;
    virtual void SetSoundsChecked(bool checked) = 0;
    /// Checks the radio item of the difficulty: 0..2 the presets, anything else custom.
    virtual void CheckDifficulty(TMode mode) = 0;
};

} // namespace fenu
