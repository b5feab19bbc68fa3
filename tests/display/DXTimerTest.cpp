#include "display/DXTimer.h"

#include "platform/Exception.h"
#include "platform/app/QtIdleSlot.h"
#include "support/FakeApplication.h"
#include "support/ManualClock.h"

#include <limits>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <qpa/qwindowsysteminterface.h>

#include <gtest/gtest.h>

namespace fenu {
namespace {

/// The main form's timer: ActiveOnly, disabled, Interval 1, loaded; the test
/// enables it as the game does.
class DXTimerTest : public ::testing::Test {
protected:
    DXTimerTest() {
        timer.SetActiveOnly(true);
        timer.SetEnabled(false);
        timer.SetInterval(1);
        timer.OnTimer = [this](TCustomDXTimer&, int32_t lagCount) { ticks.push_back(lagCount); };
        timer.OnActivate = [this](TCustomDXTimer&) { events.push_back("activate"); };
        timer.OnDeactivate = [this](TCustomDXTimer&) { events.push_back("deactivate"); };
        timer.Loaded();
    }

    test::ManualClock clock{5000};
    test::FakeApplication app;
    TDXTimer timer{app, clock};
    std::vector<int32_t> ticks;
    std::vector<const char*> events;
};

TEST_F(DXTimerTest, DisabledInTheFormDescriptionItDoesNotStartWhenLoaded) {
    EXPECT_FALSE(timer.Initialized());
    EXPECT_EQ(app.CurrentIdleHandler(), nullptr);
    clock.Advance(10);
    app.RunIdle();
    EXPECT_TRUE(ticks.empty());
}

TEST(DXTimerDefaults, EnabledWithInterval1000ItStartsWhenLoaded) {
    test::ManualClock clock;
    test::FakeApplication app;
    TDXTimer timer(app, clock);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_TRUE(timer.ActiveOnly());
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_EQ(app.CurrentIdleHandler(), nullptr) << "enabled only acts once loaded";
    timer.Loaded();
    EXPECT_TRUE(timer.Initialized());
    EXPECT_NE(app.CurrentIdleHandler(), nullptr);
}

TEST_F(DXTimerTest, IntervalOneTicksOnceAMillisecondHasPassedWithTheElapsedTimeAsLag) {
    timer.SetEnabled(true);
    EXPECT_FALSE(app.RunIdle()) << "the idle slot keeps the loop busy";
    EXPECT_TRUE(ticks.empty()) << "less than a millisecond since the start";
    clock.Advance(1);
    app.RunIdle();
    clock.Advance(17);
    app.RunIdle();
    app.RunIdle();
    EXPECT_EQ(ticks, (std::vector<int32_t>{1, 17}));
}

TEST_F(DXTimerTest, IntervalZeroTicksOnEveryIdleCallWithALagOfAtLeastOne) {
    timer.SetInterval(0);
    timer.SetEnabled(true);
    app.RunIdle();
    clock.Advance(3);
    app.RunIdle();
    EXPECT_EQ(ticks, (std::vector<int32_t>{1, 3}));
}

TEST_F(DXTimerTest, LagCountIsTheWholeNumberOfIntervals) {
    timer.SetInterval(20);
    timer.SetEnabled(true);
    clock.Advance(19);
    app.RunIdle();
    EXPECT_TRUE(ticks.empty());
    clock.Advance(26); // 45 ms since the start
    app.RunIdle();
    EXPECT_EQ(ticks, (std::vector<int32_t>{2}));
}

TEST_F(DXTimerTest, ANewIntervalDoesNotRestartTheLastTick) {
    timer.SetEnabled(true);
    clock.Advance(30);
    timer.SetInterval(20);
    app.RunIdle();
    EXPECT_EQ(ticks, (std::vector<int32_t>{1}));
}

TEST_F(DXTimerTest, AWrapOfTheClockGivesTheTrueElapsedTime) {
    clock.Set(std::numeric_limits<uint32_t>::max() - 4);
    timer.SetEnabled(true);
    clock.Advance(12); // wraps past zero
    app.RunIdle();
    EXPECT_EQ(ticks, (std::vector<int32_t>{12}));
}

TEST_F(DXTimerTest, DisablingInsideOnTimerLetsTheHandlerFinishAndStopsTheTicks) {
    int calls = 0;
    timer.OnTimer = [&](TCustomDXTimer& sender, int32_t) {
        ++calls;
        sender.SetEnabled(false);
        ticks.push_back(-1); // the rest of the handler still runs
    };
    timer.SetEnabled(true);
    clock.Advance(5);
    app.RunIdle();
    clock.Advance(5);
    app.RunIdle();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(ticks.size(), 1u);
    EXPECT_FALSE(timer.Initialized());
    EXPECT_EQ(app.CurrentIdleHandler(), nullptr);
}

TEST_F(DXTimerTest, EnablingTwiceDoesNotRestartTheLastTick) {
    timer.SetEnabled(true);
    clock.Advance(7);
    timer.SetEnabled(true);
    app.RunIdle();
    EXPECT_EQ(ticks, (std::vector<int32_t>{7}));
}

TEST_F(DXTimerTest, DeactivationSilencesTheTimerAndReactivationCountsLagFromThen) {
    timer.SetEnabled(true);
    clock.Advance(2);
    app.RunIdle();
    app.Deactivate();
    EXPECT_EQ(app.CurrentIdleHandler(), nullptr);
    EXPECT_TRUE(timer.Initialized()) << "silent, not stopped";
    clock.Advance(5000);
    app.RunIdle();
    app.Activate();
    clock.Advance(3);
    app.RunIdle();
    EXPECT_EQ(ticks, (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(events, (std::vector<const char*>{"deactivate", "activate"}));
}

TEST_F(DXTimerTest, ActivationEventsComeAlsoWhileStopped) {
    app.Deactivate();
    app.Activate();
    EXPECT_EQ(events, (std::vector<const char*>{"deactivate", "activate"}));
    EXPECT_EQ(app.CurrentIdleHandler(), nullptr) << "a stopped timer takes no idle slot";
}

TEST_F(DXTimerTest, EnabledWhileInactiveStaysSilentUntilActivation) {
    app.Deactivate();
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Initialized());
    EXPECT_EQ(app.CurrentIdleHandler(), nullptr);
    clock.Advance(10);
    app.Activate();
    clock.Advance(4);
    app.RunIdle();
    EXPECT_EQ(ticks, (std::vector<int32_t>{4}));
}

TEST_F(DXTimerTest, WithoutActiveOnlyDeactivationDoesNotStopTheTicks) {
    timer.SetActiveOnly(false);
    timer.SetEnabled(true);
    app.Deactivate();
    clock.Advance(6);
    app.RunIdle();
    EXPECT_EQ(ticks, (std::vector<int32_t>{6}));
}

TEST_F(DXTimerTest, AnExceptionFromOnTimerLeavesTheHookInstalled) {
    int calls = 0;
    timer.OnTimer = [&](TCustomDXTimer&, int32_t) {
        if (++calls == 1)
            throw Exception(QStringLiteral("boom"));
    };
    timer.SetEnabled(true);
    clock.Advance(1);
    EXPECT_THROW(app.RunIdle(), Exception);
    clock.Advance(1);
    app.RunIdle();
    EXPECT_EQ(calls, 2);
}

TEST(DXTimerLifetime, DestroyingARunningTimerEmptiesTheIdleSlotAndStopsListening) {
    test::ManualClock clock;
    test::FakeApplication app;
    {
        TDXTimer timer(app, clock);
        timer.Loaded();
        EXPECT_NE(app.CurrentIdleHandler(), nullptr);
    }
    EXPECT_EQ(app.CurrentIdleHandler(), nullptr);
    app.Deactivate(); // must not reach the destroyed timer
    app.Activate();
}

// The real idle slot and event loop; a press comes from the window system during every
// wait for a frame's boundary, queued as real input is: the frame must have it. With
// the wait in the frame's Flip, it went to the frame after, a frame later on screen.
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

TEST(DXTimerPacing, EveryFrameTakesTheInputThatCameDuringItsWait) {
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
}

} // namespace
} // namespace fenu
