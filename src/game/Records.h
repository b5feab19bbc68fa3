#pragma once

#include "game/Configuration.h"

#include <array>
#include <cstdint>

#include <QString>

namespace fenu {

/// One entry of the records table; Points 0 means the entry is empty.
struct TRecord {
    uint32_t Points = 0;
    QString Player;
    friend bool operator==(const TRecord&, const TRecord&) = default;
};

/// Records[t][mode]: t is 0 for games without bonus points, 1 with them; mode 0..2.
using TRecordTable = std::array<std::array<TRecord, PresetCount>, 2>;

/// The table to keep when this copy of the program and the file (another copy's
/// save) may both have changed entries since this copy loaded them: an entry changed
/// on one side only takes that change, emptied included; one changed on both keeps
/// the higher points, the file's on a tie.
TRecordTable MergeRecords(const TRecordTable& loaded, const TRecordTable& mine,
                          const TRecordTable& file);

/// "Einfach", "Mittel", "Schwierig", indexed by the preset difficulty.
const QString& DifficultyName(int mode);
/// The difficulty of a recorded game as a player reads it: a preset's name, or
/// "Benutzerdefiniert".
QString RunDifficultyName(TMode mode);

} // namespace fenu
