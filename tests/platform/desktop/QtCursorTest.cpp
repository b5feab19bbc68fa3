#include "platform/desktop/QtCursor.h"

#include "platform/desktop/PointerHold.h"

#include <optional>

#include <QApplication>
#include <QApplicationStateChangeEvent>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace fenu {
namespace {

// What the window system would hold. Like a refused X grab, which still leaves its
// confining window mapped, a refusal leaves what only a release undoes.
struct FakeHold final : PointerHold {
    bool Hold(QWindow& on, const QRect& area) override {
        return window = &on, held = area, !refuse;
    }
    void Release() override { held.reset(); }
    QWindow* window = nullptr;
    std::optional<QRect> held;
    bool refuse = false;
};

TEST(QtCursorConfinement, EveryReleaseLeavesNothingHeldWhateverCameInBetween) {
    auto* hold = new FakeHold;
    QtCursor cursor{std::unique_ptr<PointerHold>(hold)};
    QWidget window;
    window.show();
    cursor.SetArea(&window);
    const QPoint o = window.mapToGlobal(QPoint(0, 0));
    const TRect field{o.x() + 5, o.y() + 5, o.x() + 50, o.y() + 50};
    const auto heldAfterMenu = [&](const TRect* clipWhileOpen) {
        QMenu menu;
        menu.popup(o);
        EXPECT_FALSE(hold->held) << "an open menu has the pointer";
        cursor.Clip(clipWhileOpen);
        menu.close();
        QApplication::processEvents();
        return hold->held.has_value();
    };
    cursor.Clip(&field);
    EXPECT_EQ(hold->held, QRect(5, 5, 45, 45));
    const TPoint read = cursor.Pos(); // the game reads a confined point wherever the pointer is
    EXPECT_TRUE(read.X >= field.Left && read.X < field.Right && read.Y >= field.Top &&
                read.Y < field.Bottom);
    // While held, the pointer's own events tell where it is; a new hold asks the
    // window system again (it may have moved the pointer) until the next event.
    QCursor::setPos(o + QPoint(30, 40));
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 30), QPointF(o + QPoint(20, 30)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &move);
    EXPECT_EQ(cursor.Pos(), (TPoint{o.x() + 20, o.y() + 30}));
    cursor.Clip(nullptr);
    cursor.Clip(&field);
    EXPECT_EQ(cursor.Pos(), (TPoint{o.x() + 30, o.y() + 40}));
    EXPECT_TRUE(heldAfterMenu(&field)) << "the game still asks";
    EXPECT_FALSE(heldAfterMenu(nullptr)) << "the game stopped behind the menu";
    cursor.Clip(&field);
    QApplicationStateChangeEvent inactive(Qt::ApplicationInactive), active(Qt::ApplicationActive);
    QCoreApplication::sendEvent(qApp, &inactive);
    EXPECT_FALSE(hold->held) << "another program is active";
    QCoreApplication::sendEvent(qApp, &active);
    EXPECT_TRUE(hold->held);
    // The field moves with its window, then the game draws in another one.
    const TRect moved{field.Left + 10, field.Top + 20, field.Right + 10, field.Bottom + 20};
    cursor.Clip(&moved);
    EXPECT_EQ(hold->held, QRect(15, 25, 45, 45));
    QWidget other;
    other.show();
    cursor.SetArea(&other);
    const QPoint otherOrigin = other.mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(hold->window, other.windowHandle());
    EXPECT_EQ(hold->held, QRect(moved.Left - otherOrigin.x(), moved.Top - otherOrigin.y(), 45, 45));
    cursor.SetArea(&window);
    hold->refuse = true;
    const TRect point{o.x() + 9, o.y() + 9, o.x() + 9, o.y() + 9};
    cursor.Clip(&point);
    EXPECT_EQ(cursor.Pos(), (TPoint{o.x() + 9, o.y() + 9})) << "held on one point";
    cursor.Clip(nullptr);
    EXPECT_FALSE(hold->held) << "a refused hold is undone as well";
}

} // namespace
} // namespace fenu
