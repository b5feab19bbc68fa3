#include "platform/QtCursor.h"

#include <QCursor>

#include <gtest/gtest.h>

namespace fenu {
namespace {

// Where the window system holds no pointer (here: none at all), the game still
// reads the confined point, and the real position once the confinement is gone.
TEST(QtCursorConfinement, TheGameReadsTheConfinedPointWhereverThePointerIs) {
    QCursor::setPos(600, 40);
    if (QCursor::pos() != QPoint(600, 40))
        GTEST_SKIP() << "this platform cannot place the pointer";

    QtCursor cursor;
    const TRect field{100, 100, 200, 150};
    cursor.Clip(&field);
    EXPECT_EQ(cursor.Pos(), (TPoint{199, 100}));
    const TRect point{120, 130, 120, 130};
    cursor.Clip(&point);
    EXPECT_EQ(cursor.Pos(), (TPoint{120, 130})) << "held on one point";

    cursor.Clip(nullptr);
    EXPECT_EQ(cursor.Pos(), (TPoint{600, 40}));
}

} // namespace
} // namespace fenu
