#include "platform/desktop/ConfineSequence.h"
#include "platform/desktop/SurfaceRegion.h"

#include <gtest/gtest.h>

namespace fenu {
namespace {

TEST(WaylandConfinement, RegionHoldsThePointerAndAPointerOutsideIsBroughtInFirst) {
    const QMargins frame(3, 50, 3, 3); // the title bar and borders Qt draws
    const QRect field(20, 20, 585, 460);
    EXPECT_EQ(SurfaceRegion(field, frame, 1.0, QPointF(100.5, 100.5)), field.translated(3, 50));
    // Qt hands on (352.5, 321.5) and (607.996, 484.004) on the surface as window
    // pixels (350, 272) and (605, 434): the pixel the pointer is in is held.
    EXPECT_EQ(SurfaceRegion({350, 272, 1, 1}, frame, 1.0, QPointF(352.5, 321.5)),
              QRect(352, 321, 1, 1));
    EXPECT_EQ(SurfaceRegion({605, 434, 1, 1}, frame, 1.0, QPointF(607.996, 484.004)),
              QRect(607, 484, 1, 1));
    EXPECT_EQ(SurfaceRegion({350, 272, 1, 1}, frame, 1.0, QPointF(400, 300)), QRect(353, 322, 1, 1))
        << "a pointer gone elsewhere is brought to the point";
    EXPECT_EQ(SurfaceRegion({1, 1, 1, 1}, {}, 1.25, std::nullopt), QRect(1, 1, 2, 2))
        << "a window pixel covers surface pixels 1.25 to 2.5";

    // A pointer resting outside the region is brought in first.
    using Request = ConfineSequence::Request;
    const auto next = [](ConfineSequence& sequence, std::optional<QPointF> pointer, bool active) {
        Request request = Request::None;
        for (int frame = 0; frame < 30 && request == Request::None; ++frame)
            request = sequence.Next(pointer, active);
        return request;
    };
    const QRect surfaceField(23, 70, 585, 460);
    ConfineSequence inside(surfaceField), elsewhere(surfaceField), menuBar(surfaceField),
        silent(surfaceField);
    EXPECT_EQ(inside.Next(QPointF(300, 300), false), Request::Confine);
    EXPECT_EQ(elsewhere.Next(std::nullopt, false), Request::Confine);
    EXPECT_EQ(menuBar.Next(QPointF(100.5, 40.5), false), Request::Lock);
    EXPECT_EQ(menuBar.Hint(), QPointF(100.5, 70.5)) << "the nearest point inside";
    EXPECT_EQ(menuBar.Next(QPointF(100.5, 40.5), false), Request::None) << "not yet locked";
    EXPECT_EQ(menuBar.Next(QPointF(100.5, 40.5), true), Request::Unlock);
    EXPECT_EQ(menuBar.Next(QPointF(100.5, 40.5), false), Request::None) << "no warp yet";
    EXPECT_EQ(menuBar.Next(QPointF(100.5, 70.5), false), Request::Confine);
    EXPECT_EQ(next(menuBar, QPointF(300, 10), false), Request::Lock)
        << "it came back over the title bar before the confinement was active";
    EXPECT_EQ(next(menuBar, QPointF(300, 10), true), Request::Unlock);
    // A compositor that neither locks nor warps: confined anyway, as before.
    EXPECT_EQ(silent.Next(QPointF(100, 40), false), Request::Lock);
    EXPECT_EQ(next(silent, QPointF(100, 40), false), Request::Unlock);
    EXPECT_EQ(next(silent, QPointF(100, 40), false), Request::Confine);
    EXPECT_EQ(next(silent, QPointF(100, 40), false), Request::None) << "no lock again";
}

} // namespace
} // namespace fenu
