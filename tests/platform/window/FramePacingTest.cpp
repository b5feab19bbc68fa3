// A frame waits for its boundary before it is drawn and takes the input that came
// during that wait: with the wait in the frame's Flip, that input went to the frame
// after, a frame later on the screen.
#include "ManualClock.h"
#include "display/DXTimer.h"
#include "platform/app/QtIdleSlot.h"

#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <qpa/qwindowsysteminterface.h>

#include <gtest/gtest.h>

namespace fenu {
namespace {

// The program's idle processing in the real event loop; a press arrives from the
// window system during every wait, queued as real input is.
struct PressDuringWait final : Application, FramePacer, QWidget {
    QtIdleSlot slot;
    int waits = 0;
    int presses = 0;
    void SetIdleHandler(IdleHandler* handler) override { slot.Set(handler); }
    IdleHandler* CurrentIdleHandler() const override { return slot.Handler(); }
    bool Active() const override { return true; }
    void AddActivationListener(ActivationListener*) override {}
    void RemoveActivationListener(ActivationListener*) override {}
    void AwaitFrame() override {
        ++waits;
        QWindowSystemInterface::handleMouseEvent(windowHandle(), QPointF(5, 5), QPointF(5, 5),
                                                 Qt::LeftButton, Qt::LeftButton,
                                                 QEvent::MouseButtonPress);
    }
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

TEST(FramePacing, EveryFrameTakesTheInputThatCameDuringItsWait) {
    PressDuringWait field;
    field.show();
    test::ManualClock clock{0};
    TDXTimer timer(field, clock);
    timer.SetInterval(0);
    timer.SetPacer(&field);
    std::vector<int> unseen; // per frame: the presses of the waits not yet delivered
    timer.OnTimer = [&](TCustomDXTimer&, int32_t) {
        unseen.push_back(field.waits - field.presses);
    };
    timer.Loaded();
    QElapsedTimer elapsed;
    elapsed.start();
    while (unseen.size() < 20 && elapsed.elapsed() < 2000)
        QCoreApplication::processEvents();
    EXPECT_EQ(unseen, std::vector<int>(20, 0));
    EXPECT_EQ(field.waits, 20) << "one wait a frame";
}

} // namespace
} // namespace fenu
