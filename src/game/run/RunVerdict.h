#pragma once

#include "game/run/RunFile.h"
#include "game/run/RunPlayback.h"

#include <QString>

namespace fenu {

/// Whether a replay proves the points a run's file claims: played to its game's end
/// with every checksum holding, to the same points.
bool Proves(const TRunEntry& entry, const TRunPlayback& replay);

/// One line on a run played again: its player and difficulty, the points its file
/// claims, those its replay reached, and whether they agree, or why not.
QString VerdictLine(const TRunEntry& entry, const TRunSettings& settings,
                    const TRunPlayback& replay);

} // namespace fenu
