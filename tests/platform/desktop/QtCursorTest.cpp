#include "platform/desktop/QtCursor.h"

#include "platform/desktop/PointerHold.h"

#include <optional>

#include <QApplication>
#include <QApplicationStateChangeEvent>
#include <QMenu>
#include <QWidget>

#include <gtest/gtest.h>

namespace fenu {
namespace {

// What the window system would hold. Like a refused X grab, which still leaves its
// confining window mapped, a refusal leaves what only a release undoes.
struct FakeHold final : PointerHold {
    bool Hold(QWindow&, const QRect& area) override { return held = area, !refuse; }
    void Release() override { held.reset(); }
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
    EXPECT_TRUE(heldAfterMenu(&field)) << "the game still asks";
    EXPECT_FALSE(heldAfterMenu(nullptr)) << "the game stopped behind the menu";
    cursor.Clip(&field);
    QApplicationStateChangeEvent inactive(Qt::ApplicationInactive), active(Qt::ApplicationActive);
    QCoreApplication::sendEvent(qApp, &inactive);
    EXPECT_FALSE(hold->held) << "another program is active";
    QCoreApplication::sendEvent(qApp, &active);
    EXPECT_TRUE(hold->held);
    hold->refuse = true;
    const TRect point{o.x() + 9, o.y() + 9, o.x() + 9, o.y() + 9};
    cursor.Clip(&point);
    EXPECT_EQ(cursor.Pos(), (TPoint{o.x() + 9, o.y() + 9})) << "held on one point";
    cursor.Clip(nullptr);
    EXPECT_FALSE(hold->held) << "a refused hold is undone as well";
}

} // namespace
} // namespace fenu
