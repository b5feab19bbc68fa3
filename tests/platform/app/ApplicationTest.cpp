#include "platform/app/QtApplication.h"
#include "platform/app/QtIdleSlot.h"
#include "platform/app/QtTranslations.h"

#include <stdexcept>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace fenu {
namespace {

/// Runs the event loop until done() or a second has passed.
template <class Condition> bool ProcessEventsUntil(Condition done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

struct CountingIdle final : IdleHandler {
    int Calls = 0;
    int DoneAfter = 1000000;
    void Idle(bool& done) override {
        ++Calls;
        done = Calls >= DoneAfter;
    }
};

TEST(QtIdleSlot, CallsItsHandlerAgainAndAgainWhileItIsNotDone) {
    QtIdleSlot slot;
    CountingIdle idle;
    slot.Set(&idle);
    EXPECT_TRUE(ProcessEventsUntil([&] { return idle.Calls >= 20; }));
    slot.Set(nullptr);
    EXPECT_FALSE(slot.Running());
    const int calls = idle.Calls;
    QCoreApplication::processEvents();
    EXPECT_EQ(idle.Calls, calls) << "an empty slot calls nothing";
}

TEST(QtIdleSlot, StopsWhenTheHandlerSaysDoneAndResumesWhenSetAgain) {
    QtIdleSlot slot;
    CountingIdle idle;
    idle.DoneAfter = 3;
    slot.Set(&idle);
    EXPECT_TRUE(ProcessEventsUntil([&] { return !slot.Running(); }));
    EXPECT_EQ(idle.Calls, 3);
    idle.DoneAfter = 5;
    slot.Set(&idle);
    EXPECT_TRUE(ProcessEventsUntil([&] { return idle.Calls == 5 && !slot.Running(); }));
}

TEST(QtIdleSlot, ANewHandlerReplacesTheOld) {
    QtIdleSlot slot;
    CountingIdle first, second;
    slot.Set(&first);
    slot.Set(&second);
    EXPECT_TRUE(ProcessEventsUntil([&] { return second.Calls >= 3; }));
    EXPECT_EQ(first.Calls, 0);
    slot.Set(nullptr);
}

struct ActivationLog final : ActivationListener {
    std::vector<bool> Changes;
    void ApplicationActivated() override { Changes.push_back(true); }
    void ApplicationDeactivated() override { Changes.push_back(false); }
};

TEST(ActivationNotices, ActiveFromTheStartAndOnlyRealChangesAreAnnounced) {
    ActivationNotices notices;
    ActivationLog log;
    notices.Add(&log);
    EXPECT_TRUE(notices.Active());
    notices.StateReported(true); // the window system's first "active": no change
    notices.StateReported(false);
    notices.StateReported(false);
    notices.StateReported(true);
    EXPECT_EQ(log.Changes, (std::vector<bool>{false, true}));
    notices.Remove(&log);
    notices.StateReported(false);
    EXPECT_EQ(log.Changes.size(), 2u);
    EXPECT_FALSE(notices.Active());
}

TEST(ActivationNotices, AListenerMayLeaveWhileBeingTold) {
    ActivationNotices notices;
    struct Leaver final : ActivationListener {
        ActivationNotices* Notices = nullptr;
        int Told = 0;
        void ApplicationActivated() override {}
        void ApplicationDeactivated() override {
            ++Told;
            Notices->Remove(this);
        }
    } a, b;
    a.Notices = b.Notices = &notices;
    notices.Add(&a);
    notices.Add(&b);
    notices.StateReported(false);
    EXPECT_EQ(a.Told, 1);
    EXPECT_EQ(b.Told, 1);
}

TEST(ExceptionReporting, AnEscapingExceptionIsReportedWithItsMessageAndStopsThere) {
    std::vector<QString> reported;
    auto report = [&](const QString& message) { reported.push_back(message); };
    EXPECT_FALSE(CallReportingExceptions(
        [] { throw Exception(QStringLiteral("Surface cannot be made")); }, report));
    EXPECT_FALSE(CallReportingExceptions([] { throw std::runtime_error("plain"); }, report));
    EXPECT_FALSE(CallReportingExceptions([] { throw 42; }, report));
    int ran = 0;
    EXPECT_TRUE(CallReportingExceptions([&] { ++ran; }, report));
    EXPECT_EQ(ran, 1);
    ASSERT_EQ(reported.size(), 3u);
    EXPECT_EQ(reported[0], QStringLiteral("Surface cannot be made"));
    EXPECT_EQ(reported[1], QStringLiteral("plain"));
    EXPECT_EQ(ErrorBoxText(reported[0]), QStringLiteral("Surface cannot be made."));
}

// The file dialogs and standard buttons that Qt makes speak the game's German.
TEST(QtTranslations, QtsOwnDialogsAndButtonsSpeakGerman) {
    QTranslator translator;
    ASSERT_TRUE(InstallQtTranslations(translator));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Abbrechen");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Suchen in:");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"), "Datei&name:");
}

} // namespace
} // namespace fenu
