#include "display/DXDraw.h"
#include "platform/window/FrameClock.h"
#include "platform/window/QtDrawAreaWidget.h"
#include "platform/window/QtPresentationDevice.h"

#include <vector>

#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace fenu {
namespace {

/// What the window system has of the form now: the pixels the last paints left
/// behind, without painting anything again.
QImage OnScreen(QWidget& form) {
    return form.screen()->grabWindow(form.winId()).toImage();
}

uint32_t Rgb(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFu;
}

constexpr uint32_t Background = QtDrawAreaWidget::BackgroundColor & 0xFFFFFFu;

/// The real thing: a form with the drawing area's widget, the Qt device, the 60 Hz
/// frame clock.
class QtPresentationTest : public ::testing::Test {
protected:
    QtPresentationTest() {
        form.resize(625, 500);
        area->setGeometry(0, 0, 625, 500);
        draw.Loaded();
    }

    QtPresentationSystem system;
    QWidget form;
    QtDrawAreaWidget* area = new QtDrawAreaWidget(&form);
    TDXDraw draw{*area, system};
};

TEST_F(QtPresentationTest, ShowingTheFormInitializesAndFlipPutsTheFrameInTheWindow) {
    EXPECT_FALSE(draw.Initialized());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    ASSERT_TRUE(draw.Initialized());
    TDirectDrawSurface& back = *draw.Surface();
    EXPECT_EQ(back.Width(), 625);
    EXPECT_EQ(back.Height(), 500);
    back.Fill(0x040404);
    back.Canvas().SetBrushColor(0xFFFF00);
    back.Canvas().SetPenStyle(TPenStyle::psClear);
    back.Canvas().Ellipse(300, 200, 340, 240);
    back.ReleaseCanvas();
    draw.Flip();
    const QImage& shown = area->Presented();
    EXPECT_EQ(shown.pixel(0, 0) & 0xFFFFFF, 0x040404u);
    EXPECT_EQ(shown.pixel(320, 220) & 0xFFFFFF, 0xFFFF00u);
    EXPECT_EQ(shown.pixel(624, 499) & 0xFFFFFF, 0x040404u);
    EXPECT_EQ(Rgb(OnScreen(form), 320, 220), 0xFFFF00u) << "the flip itself painted it";
}

TEST_F(QtPresentationTest, EachFlipPaintsItsFrameAndNothingIsPaintedFromTheBackBufferBetween) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    ASSERT_TRUE(draw.Initialized());
    TDirectDrawSurface& back = *draw.Surface();
    back.Fill(0xFF0000);
    draw.Flip();
    EXPECT_EQ(Rgb(OnScreen(form), 0, 0), 0xFF0000u);
    EXPECT_EQ(Rgb(OnScreen(form), 624, 499), 0xFF0000u);
    back.Fill(0x0000FF); // the next frame, drawn but not flipped yet
    QCoreApplication::processEvents();
    EXPECT_EQ(Rgb(OnScreen(form), 300, 250), 0xFF0000u);
    draw.Flip();
    EXPECT_EQ(Rgb(OnScreen(form), 300, 250), 0x0000FFu);
}

TEST_F(QtPresentationTest, ALargerWindowShowsTheBackBufferCentred) {
    draw.AutoSize = false;
    draw.SetSurfaceSize(524, 399);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    ASSERT_TRUE(draw.Initialized());
    draw.Surface()->Fill(0xFF0000);
    draw.Flip();
    const QImage& shown = area->Presented();
    EXPECT_EQ(shown.pixel(49, 49) & 0xFFFFFF, QtDrawAreaWidget::BackgroundColor & 0xFFFFFF);
    EXPECT_EQ(shown.pixel(50, 50) & 0xFFFFFF, 0xFF0000u) << "moved by 50 for 101 pixels";
    EXPECT_EQ(shown.pixel(573, 448) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(shown.pixel(574, 449) & 0xFFFFFF, QtDrawAreaWidget::BackgroundColor & 0xFFFFFF);
    // On screen, after the flip and after the window system's own repaint alike.
    for (int pass = 0; pass < 2; ++pass) {
        const QImage screen = OnScreen(form);
        EXPECT_EQ(Rgb(screen, 49, 50), Background) << pass;
        EXPECT_EQ(Rgb(screen, 50, 49), Background) << pass;
        EXPECT_EQ(Rgb(screen, 50, 50), 0xFF0000u) << pass;
        EXPECT_EQ(Rgb(screen, 573, 448), 0xFF0000u) << pass;
        EXPECT_EQ(Rgb(screen, 574, 448), Background) << pass;
        EXPECT_EQ(Rgb(screen, 573, 449), Background) << pass;
        EXPECT_EQ(Rgb(screen, 624, 499), Background) << pass;
        area->repaint();
    }
}

TEST_F(QtPresentationTest, APaintRequestShowsTheBackBufferAgain) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    ASSERT_TRUE(draw.Initialized());
    draw.Surface()->Fill(0x00FF00);
    area->repaint(); // as when uncovered; the frame appears without a Flip
    EXPECT_EQ(Rgb(OnScreen(form), 10, 10), 0x00FF00u);
    EXPECT_EQ(Rgb(OnScreen(form), 624, 499), 0x00FF00u);
    area->repaint(QRect(600, 480, 25, 20)); // a corner uncovered
    EXPECT_EQ(Rgb(OnScreen(form), 610, 490), 0x00FF00u);
    EXPECT_EQ(area->Presented().pixel(10, 10) & 0xFFFFFF, 0x00FF00u);
}

TEST_F(QtPresentationTest, MousePressesArriveWithButtonAndClientPosition) {
    std::vector<TMouseButton> buttons;
    std::vector<TPoint> points;
    draw.OnMouseDown = [&](TMouseButton button, int x, int y) {
        buttons.push_back(button);
        points.push_back(TPoint{x, y});
    };
    form.show();
    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, QPoint(12, 34));
    QTest::mousePress(area, Qt::RightButton, Qt::NoModifier, QPoint(600, 450));
    QTest::mousePress(area, Qt::MiddleButton, Qt::NoModifier, QPoint(1, 1));
    EXPECT_EQ(buttons, (std::vector<TMouseButton>{TMouseButton::mbLeft, TMouseButton::mbRight,
                                                  TMouseButton::mbMiddle}));
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0], (TPoint{12, 34}));
    EXPECT_EQ(points[1], (TPoint{600, 450}));
    EXPECT_EQ(area->cursor().shape(), Qt::CrossCursor);
}

TEST_F(QtPresentationTest, DeletingTheFormWithTheAreaFinalizesTheControl) {
    auto* ownForm = new QWidget;
    auto* ownArea = new QtDrawAreaWidget(ownForm);
    ownArea->resize(100, 100);
    TDXDraw ownDraw(*ownArea, system);
    ownDraw.Loaded();
    ownForm->show();
    ASSERT_TRUE(ownDraw.Initialized());
    delete ownForm;
    EXPECT_FALSE(ownDraw.Initialized());
    EXPECT_EQ(ownDraw.Surface(), nullptr);
    ownDraw.Flip(); // nothing left to present into
    EXPECT_EQ(ownDraw.ClientWidth(), 0);
}

/// A control that answers paint requests by presenting whatever frame it holds now
/// (or nothing).
class TPresentingListener final : public DrawAreaWindowListener {
public:
    explicit TPresentingListener(QtDrawAreaWidget& window) : window_(window) {}
    void FormShown() override {}
    void WindowDestroying() noexcept override {}
    void PaintRequested() override {
        ++Requests;
        if (Frame != nullptr)
            window_.Present(*Frame, Frame->rect());
    }
    void Resized(int, int) override {}
    void MouseDown(TMouseButton, int, int) override {}

    const QImage* Frame = nullptr;
    int Requests = 0;

private:
    QtDrawAreaWidget& window_;
};

QImage Filled(int width, int height, QRgb colour, double ratio = 1.0) {
    QImage image(width, height, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(colour);
    return image;
}

class QtDrawAreaWindowTest : public ::testing::Test {
protected:
    QtDrawAreaWindowTest() {
        form.resize(100, 80);
        area->setGeometry(0, 0, 100, 80);
        area->SetListener(&listener);
    }
    ~QtDrawAreaWindowTest() override { area->SetListener(nullptr); }

    QWidget form;
    QtDrawAreaWidget* area = new QtDrawAreaWidget(&form);
    TPresentingListener listener{*area};
};

TEST_F(QtDrawAreaWindowTest, APaintRequestShowsWhatIsPresentedThenNotWhatWasDrawnSince) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QImage frame = Filled(100, 80, 0xFFFF0000);
    area->Present(frame, QRect(0, 0, 100, 80));
    EXPECT_EQ(Rgb(OnScreen(form), 50, 40), 0xFF0000u);
    frame.fill(0xFF0000FF); // drawn into after presenting: not for the screen
    const int requests = listener.Requests;
    area->repaint(); // and the listener presents nothing now
    EXPECT_EQ(listener.Requests, requests + 1);
    EXPECT_NE(Rgb(OnScreen(form), 50, 40), 0x0000FFu);
    const QImage now = Filled(100, 80, 0xFF00FF00);
    listener.Frame = &now;
    area->repaint();
    EXPECT_EQ(listener.Requests, requests + 2);
    EXPECT_EQ(Rgb(OnScreen(form), 50, 40), 0x00FF00u);
    EXPECT_EQ(Rgb(area->Presented(), 99, 79), 0x00FF00u);
    listener.Frame = nullptr;
}

TEST_F(QtDrawAreaWindowTest, AFramePresentedWhileHiddenIsShownWhenTheWindowAppears) {
    // The listener has nothing to present on request here: the window must have kept
    // the frame that could not be painted when it came.
    const QImage frame = Filled(100, 80, 0xFF0000FF);
    area->Present(frame, QRect(0, 0, 100, 80));
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    area->repaint();
    EXPECT_GE(listener.Requests, 1);
    EXPECT_EQ(Rgb(OnScreen(form), 0, 0), 0x0000FFu);
    EXPECT_EQ(Rgb(OnScreen(form), 99, 79), 0x0000FFu);
}

TEST_F(QtDrawAreaWindowTest, ADenseFrameIsScaledIntoTheWindowAndKeptForRepaints) {
    // Tests run at ratio 1: a ratio-2 frame cannot be painted as it is.
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QImage frame = Filled(200, 160, 0xFF000000, 2.0);
    for (int y = 0; y < 160; ++y)
        for (int x = 100; x < 200; ++x)
            frame.setPixel(x, y, 0xFFFFFF00); // the right half yellow
    area->Present(frame, QRect(0, 0, 100, 80));
    EXPECT_EQ(Rgb(OnScreen(form), 10, 40), 0u);
    EXPECT_EQ(Rgb(OnScreen(form), 90, 40), 0xFFFF00u);
    area->repaint(); // the listener presents nothing this time
    EXPECT_EQ(Rgb(OnScreen(form), 10, 40), 0u);
    EXPECT_EQ(Rgb(OnScreen(form), 90, 40), 0xFFFF00u);
}

TEST(FrameClock, BoundariesLieAtFixedSixtiethsOfASecondFromTheStart) {
    constexpr int64_t second = FrameClock::NanosecondsPerSecond;
    EXPECT_EQ(FrameClock::NextBoundary(1000, 1000), 1000 + 16'666'667);
    EXPECT_EQ(FrameClock::NextBoundary(0, 16'666'666), 16'666'667);
    EXPECT_EQ(FrameClock::NextBoundary(0, 16'666'667), 33'333'334) << "on a boundary: the next";
    EXPECT_EQ(FrameClock::NextBoundary(0, 33'333'334), 50'000'000);
    // After an hour the boundary is still exact, not drifted by rounding.
    EXPECT_EQ(FrameClock::NextBoundary(0, 3600 * second - 1), 3600 * second);
    EXPECT_EQ(FrameClock::NextBoundary(0, 3600 * second), 3600 * second + 16'666'667);
    EXPECT_EQ(FrameClock::NextBoundary(500, 100), 500) << "before the start: the start";
}

TEST(FrameClock, WaitingSleepsToTheNextBoundary) {
    FrameClock clock;
    clock.WaitForNextFrame();
    const int64_t first = FrameClock::Now();
    for (int i = 0; i < 5; ++i)
        clock.WaitForNextFrame();
    const double elapsedMs = static_cast<double>(FrameClock::Now() - first) / 1e6;
    EXPECT_GT(elapsedMs, 5 * 16.6 - 2.0);
    EXPECT_LT(elapsedMs, 5 * 16.7 + 8.0);
}

} // namespace
} // namespace fenu
