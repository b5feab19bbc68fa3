#include "platform/QtCursor.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace fenu {
namespace {

// The pointer left the window in one motion, so no motion inside it was seen; the
// window's leave notice fetches it back into the confinement, and only then.
TEST(QtCursorConfinement, LeavingTheWindowBringsThePointerBackInsideTheConfinement) {
    QCursor::setPos(300, 300);
    if (QCursor::pos() != QPoint(300, 300))
        GTEST_SKIP() << "this platform cannot place the pointer";

    QtCursor cursor;
    QWidget window;
    const TRect field{100, 100, 200, 150};
    cursor.Clip(&field);
    EXPECT_EQ(QCursor::pos(), QPoint(199, 149)) << "confining pulls the pointer in";

    QCursor::setPos(600, 40);
    EXPECT_EQ(cursor.Pos(), (TPoint{199, 100})) << "the game reads the confined point";
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&window, &leave);
    EXPECT_EQ(QCursor::pos(), QPoint(199, 100));

    cursor.Clip(nullptr);
    QCursor::setPos(600, 40);
    QApplication::sendEvent(&window, &leave);
    EXPECT_EQ(QCursor::pos(), QPoint(600, 40)) << "a free pointer stays where it went";
}

} // namespace
} // namespace fenu
