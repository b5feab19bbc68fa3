// A frame waits for its boundary before it is drawn, and takes the input that came
// during that wait: with the wait in the frame's Flip, that input went to the frame
// after, a frame later on the screen.
#include "ManualClock.h"
#include "display/DXTimer.h"
#include "platform/app/QtIdleSlot.h"

#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QWidget>
#include <qpa/qwindowsysteminterface.h>

#include <gtest/gtest.h>

namespace fenu {
namespace {

// The application's idle processing as the program has it, in the real event loop.
struct IdleApplication final : Application {
    QtIdleSlot slot;
    void SetIdleHandler(IdleHandler* handler) override { slot.Set(handler); }
    IdleHandler* CurrentIdleHandler() const override { return slot.Handler(); }
    bool Active() const override { return true; }
    void AddActivationListener(ActivationListener*) override {}
    void RemoveActivationListener(ActivationListener*) override {}
};

// A press arrives from the window system during every wait, queued as real input is.
struct PressDuringWait final : FramePacer, QWidget {
    int waits = 0;
    int presses = 0;
    void AwaitFrame() override {
        ++waits;
        const QPointF at(5, 5);
        QWindowSystemInterface::handleMouseEvent(windowHandle(), at, mapToGlobal(at),
                                                 Qt::LeftButton, Qt::LeftButton,
                                                 QEvent::MouseButtonPress);
        QWindowSystemInterface::handleMouseEvent(windowHandle(), at, mapToGlobal(at), {},
                                                 Qt::LeftButton, QEvent::MouseButtonRelease);
    }
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

TEST(FramePacing, EveryFrameTakesTheInputThatCameDuringItsWait) {
    IdleApplication app;
    test::ManualClock clock{0};
    PressDuringWait field;
    field.resize(50, 50);
    field.show();
    TDXTimer timer(app, clock);
    timer.SetInterval(0);
    timer.SetPacer(&field);
    std::vector<int> unseen; // per frame: the presses of its waits not yet delivered
    timer.OnTimer = [&](TCustomDXTimer&, int32_t) {
        unseen.push_back(field.waits - field.presses);
    };
    timer.Loaded();
    QElapsedTimer elapsed;
    elapsed.start();
    while (unseen.size() < 20 && elapsed.elapsed() < 2000)
        QCoreApplication::processEvents();
    ASSERT_EQ(unseen.size(), 20u);
    EXPECT_EQ(unseen, std::vector<int>(20, 0));
    EXPECT_EQ(field.waits, 20) << "one wait a frame";
}

} // namespace
} // namespace fenu
