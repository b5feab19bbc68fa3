#include "platform/raster/QtCanvas.h"

#include "platform/window/QtPresentationDevice.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace fenu {
namespace {

uint32_t Rgb(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

/// A real 625 x 500 surface of the Qt device with its device context out.
class QtCanvasTest : public ::testing::Test {
protected:
    QtCanvasTest() {
        std::unique_ptr<PresentationDevice> device;
        EXPECT_EQ(system.CreateDevice(PresentationSystem::TEntry::Version7, device), 0);
        device_ = std::move(device);
        std::unique_ptr<PresentationSurface> created;
        EXPECT_EQ(device_->CreateOffscreenSurface(625, 500, false, created), 0);
        surface = std::move(created);
        surface->Fill(0);
        EXPECT_EQ(surface->GetDC(canvas), 0);
    }
    ~QtCanvasTest() override { surface->ReleaseDC(); }

    const QImage& Pixels() {
        surface->ReleaseDC();
        EXPECT_EQ(surface->GetDC(canvas), 0);
        return *surface->Image();
    }

    QtPresentationSystem system;
    std::unique_ptr<PresentationDevice> device_;
    std::unique_ptr<PresentationSurface> surface;
    TCanvas* canvas = nullptr;
};

TEST_F(QtCanvasTest, AFilledEllipseHasTheBrushColourInsideAndNothingOutsideItsBox) {
    canvas->SetBrushColor(0xFF0000);
    canvas->SetBrushStyle(TBrushStyle::bsSolid);
    canvas->SetPenStyle(TPenStyle::psClear);
    canvas->Ellipse(100, 100, 140, 140);
    const QImage& image = Pixels();
    EXPECT_EQ(Rgb(image, 120, 120), 0xFF0000u);
    EXPECT_EQ(Rgb(image, 102, 120), 0xFF0000u) << "the disc reaches near its box's left edge";
    EXPECT_EQ(Rgb(image, 101, 101), 0u) << "the box's corner is outside the disc";
    EXPECT_EQ(Rgb(image, 140, 120), 0u) << "the right edge of the box is exclusive";
    EXPECT_EQ(Rgb(image, 120, 140), 0u) << "the bottom edge of the box is exclusive";
}

TEST_F(QtCanvasTest, AnOutlinedEllipseHasThePenColourOnItsRimAndTheBrushInside) {
    canvas->SetBrushColor(0x0000FF);
    canvas->SetPenColor(0xFFFFFF);
    canvas->SetPenWidth(2);
    canvas->SetPenStyle(TPenStyle::psSolid);
    canvas->Ellipse(200, 200, 260, 260);
    const QImage& image = Pixels();
    EXPECT_EQ(Rgb(image, 230, 230), 0x0000FFu);
    EXPECT_EQ(Rgb(image, 200, 230), 0xFFFFFFu) << "leftmost column of the rim";
    EXPECT_EQ(Rgb(image, 230, 259), 0xFFFFFFu) << "bottom row of the rim";
    EXPECT_EQ(Rgb(image, 205, 205) & 0x00FF00, 0u) << "outside the rim near the corner";
}

TEST_F(QtCanvasTest, AThinLineCoversItsStartButNotItsEndPixel) {
    canvas->SetPenColor(0x00FF00);
    canvas->SetPenWidth(1);
    canvas->Line(10, 20, 30, 20);
    canvas->Line(50, 10, 50, 30);
    const QImage& image = Pixels();
    EXPECT_EQ(Rgb(image, 10, 20), 0x00FF00u);
    EXPECT_EQ(Rgb(image, 29, 20), 0x00FF00u);
    EXPECT_EQ(Rgb(image, 30, 20), 0u);
    EXPECT_EQ(Rgb(image, 50, 10), 0x00FF00u);
    EXPECT_EQ(Rgb(image, 50, 30), 0u);
    EXPECT_EQ(Rgb(image, 20, 21), 0u) << "one pixel thick";
}

TEST_F(QtCanvasTest, AClearPenDrawsNoLine) {
    canvas->SetPenStyle(TPenStyle::psClear);
    canvas->Line(10, 20, 30, 20);
    EXPECT_EQ(Rgb(Pixels(), 15, 20), 0u);
}

TEST_F(QtCanvasTest, TextOnASolidBrushGetsTheBrushAsBackgroundAndOnAClearBrushNone) {
    canvas->SetFontSize(20);
    canvas->SetFontColor(0xFFFFFF);
    canvas->SetBrushColor(0x808080);
    canvas->SetBrushStyle(TBrushStyle::bsSolid);
    const int width = canvas->TextWidth(QStringLiteral("x"));
    const int height = canvas->TextHeight(QStringLiteral("x"));
    canvas->TextOut(10, 10, QStringLiteral("x"));
    canvas->SetBrushStyle(TBrushStyle::bsClear);
    canvas->TextOut(110, 10, QStringLiteral("x"));
    const QImage& image = Pixels();
    // The top-left corner of the cell lies above the x's glyph.
    EXPECT_EQ(Rgb(image, 11, 11), 0x808080u);
    EXPECT_EQ(Rgb(image, 10 + width - 1, 10 + height - 1), 0x808080u);
    EXPECT_EQ(Rgb(image, 10 + width, 10), 0u) << "the background covers only the text cell";
    EXPECT_EQ(Rgb(image, 111, 11), 0u);
    int whiteInSolid = 0, whiteInClear = 0;
    for (int y = 10; y < 10 + height; ++y)
        for (int x = 0; x < width; ++x) {
            whiteInSolid += Rgb(image, 10 + x, y) == 0xFFFFFFu;
            whiteInClear += Rgb(image, 110 + x, y) == 0xFFFFFFu;
        }
    EXPECT_GT(whiteInSolid, 5) << "the glyph is drawn in the font colour";
    // The same glyph either way; only its antialiased rim blends differently.
    EXPECT_NEAR(whiteInSolid, whiteInClear, 3);
}

TEST_F(QtCanvasTest, FontSizesArePointsAt96DotsPerInch) {
    EXPECT_EQ(QtCanvas::PointsToPixels(8), 11);
    EXPECT_EQ(QtCanvas::PointsToPixels(60), 80);
    canvas->SetFontSize(8);
    const int small = canvas->TextHeight(QStringLiteral("Hg"));
    EXPECT_GE(small, 11);
    EXPECT_LE(small, 15);
    canvas->SetFontSize(60);
    canvas->SetFontBold(true);
    const int title = canvas->TextHeight(QStringLiteral("f e N U"));
    EXPECT_GE(title, 80);
    EXPECT_LE(title, 100);
    const int wide = canvas->TextWidth(QStringLiteral("f e N U"));
    canvas->SetFontBold(false);
    EXPECT_LT(canvas->TextWidth(QStringLiteral("f e N U")), wide) << "bold is wider";
}

TEST_F(QtCanvasTest, LargeTextDrawnFromItsPictureHasThePixelsOfTheTextItself) {
    const QString title = QStringLiteral("f e N U");
    canvas->SetFontSize(60);
    canvas->SetFontBold(true);
    canvas->SetFontColor(0xFFFFFF);
    canvas->SetBrushStyle(TBrushStyle::bsClear);
    canvas->TextOut(100, 20, title);
    canvas->SetFontColor(0xFF0000);
    canvas->TextOut(100, 300, title); // another colour, another picture
    canvas->SetFontColor(0xFFFFFF);
    canvas->TextOut(100, 150, title); // drawn again from the cache
    const QImage& image = Pixels();

    QImage direct(625, 500, QImage::Format_RGB32);
    direct.fill(0xFF000000);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(QtCanvas::PointsToPixels(60));
    font.setBold(true);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    {
        QPainter painter(&direct);
        painter.setFont(font);
        painter.setPen(QColor(255, 255, 255));
        painter.drawText(QPoint(100, 150 + QFontMetrics(font).ascent()), title);
    }
    int lit = 0, differing = 0;
    for (int y = 140; y < 260; ++y)
        for (int x = 90; x < 500; ++x) {
            const int ours = qRed(image.pixel(x, y)), theirs = qRed(direct.pixel(x, y));
            lit += ours > 128;
            differing += std::abs(ours - theirs) > 8;
        }
    EXPECT_GT(lit, 1000);
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(Rgb(image, 101, 301) & 0x00FFFF, 0u) << "the red copy stays red";
}

TEST_F(QtCanvasTest, SettingsStayInForceAcrossDeviceContexts) {
    canvas->SetBrushColor(0x00FFFF);
    canvas->SetPenStyle(TPenStyle::psClear);
    surface->ReleaseDC();
    ASSERT_EQ(surface->GetDC(canvas), 0);
    canvas->Ellipse(0, 0, 20, 20);
    EXPECT_EQ(Rgb(Pixels(), 10, 10), 0x00FFFFu);
}

TEST_F(QtCanvasTest, FillAndCopiesWaitForTheDeviceContext) {
    EXPECT_EQ(surface->Fill(0x123456), PlatformResult::DeviceContextOut);
    surface->ReleaseDC();
    EXPECT_EQ(surface->Fill(0x123456), PlatformResult::Ok);
    EXPECT_EQ(Rgb(*surface->Image(), 0, 0), 0x123456u);
    TCanvas* again = nullptr;
    ASSERT_EQ(surface->GetDC(again), 0);
    TCanvas* twice = nullptr;
    EXPECT_NE(surface->GetDC(twice), 0) << "one device context at a time";
    EXPECT_EQ(twice, nullptr);
}

} // namespace
} // namespace fenu
