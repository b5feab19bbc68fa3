#include "display/DXDraw.h"
#include "platform/FrameClock.h"
#include "platform/QtDrawAreaWidget.h"
#include "platform/QtPresentationDevice.h"

#include <vector>

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace fenu {
namespace {

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
}

TEST_F(QtPresentationTest, ALargerWindowShowsTheBackBufferCentred) {
    draw.AutoSize = false;
    draw.SetSurfaceSize(524, 399);
    form.show();
    ASSERT_TRUE(draw.Initialized());
    draw.Surface()->Fill(0xFF0000);
    draw.Flip();
    const QImage& shown = area->Presented();
    EXPECT_EQ(shown.pixel(49, 49) & 0xFFFFFF, QtDrawAreaWidget::BackgroundColor & 0xFFFFFF);
    EXPECT_EQ(shown.pixel(50, 50) & 0xFFFFFF, 0xFF0000u) << "moved by 50 for 101 pixels";
    EXPECT_EQ(shown.pixel(573, 448) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(shown.pixel(574, 449) & 0xFFFFFF, QtDrawAreaWidget::BackgroundColor & 0xFFFFFF);
}

TEST_F(QtPresentationTest, APaintRequestShowsTheBackBufferAgain) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    ASSERT_TRUE(draw.Initialized());
    draw.Surface()->Fill(0x00FF00);
    area->repaint(); // as when uncovered; the frame appears without a Flip
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
