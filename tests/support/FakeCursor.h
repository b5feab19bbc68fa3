#pragma once

#include "platform/Cursor.h"

#include <optional>
#include <vector>

namespace fenu::test {

/// A cursor the test moves; it honours confinement exactly as the real one
/// reports it, and records every confinement it was given.
class FakeCursor final : public CursorService {
public:
    TPoint Pos() override { return clip ? ClampToClip(position, *clip) : position; }
    void Clip(const TRect* rect) override {
        clip = rect ? std::optional<TRect>(*rect) : std::nullopt;
        history.push_back(clip);
    }

    TPoint position{0, 0};
    std::optional<TRect> clip;
    std::vector<std::optional<TRect>> history;
};

} // namespace fenu::test
