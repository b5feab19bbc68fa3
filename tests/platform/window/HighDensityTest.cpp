#include "platform/raster/QtCanvas.h"
#include "platform/window/FrameLog.h"
#include "platform/window/QtDrawAreaWidget.h"
#include "platform/window/QtPresentationDevice.h"

#include <fstream>
#include <string>
#include <vector>

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace fenu {
namespace {

class TSettableRatio final : public PixelRatioSource {
public:
    double DevicePixelRatio() const override { return Ratio; }
    double Ratio = 2.0;
};

uint32_t Rgb(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFu;
}

TEST(HighDensitySurface, KeepsFieldCoordinatesWhileDrawingEveryDevicePixel) {
    TSettableRatio ratio;
    QtOffscreenSurface surface(625, 500, &ratio);
    const TSurfaceDescription description = surface.Description();
    EXPECT_EQ(description.Width, 625);
    EXPECT_EQ(description.Height, 500);
    const QImage& pixels = *surface.Image();
    ASSERT_EQ(pixels.size(), QSize(1250, 1000));

    ASSERT_EQ(surface.Fill(0x040404), PlatformResult::Ok);
    EXPECT_EQ(Rgb(pixels, 1249, 999), 0x040404u) << "the fill reaches the last device pixel";

    TCanvas* canvas = nullptr;
    ASSERT_EQ(surface.GetDC(canvas), PlatformResult::Ok);
    canvas->SetPenStyle(TPenStyle::psClear);
    canvas->SetBrushColor(0xFF0000);
    canvas->Ellipse(600, 475, 620, 495); // a ball near the bottom-right corner
    surface.ReleaseDC();
    EXPECT_EQ(Rgb(pixels, 1220, 970), 0xFF0000u) << "centre (610, 485) in field pixels";
    EXPECT_EQ(Rgb(pixels, 610, 485), 0x040404u) << "not at the field coordinates themselves";
    // Full resolution: the disc's edge has device pixels between field pixels, the
    // edge of a 40-device-pixel circle, not a doubled 20-pixel one.
    int redInRow = 0;
    for (int x = 1190; x < 1250; ++x)
        redInRow += Rgb(pixels, x, 970) == 0xFF0000u;
    EXPECT_GE(redInRow, 36);
    EXPECT_LE(redInRow, 40);
}

TEST(HighDensitySurface, AChangedRatioKeepsTheLastFrameUntilTheNextFill) {
    TSettableRatio ratio;
    ratio.Ratio = 1.0;
    QtOffscreenSurface surface(100, 80, &ratio);
    ASSERT_EQ(surface.Fill(0x00FF00), PlatformResult::Ok);

    ratio.Ratio = 2.0; // the window moved to a denser screen
    EXPECT_EQ(surface.IsLost(), PlatformResult::Ok) << "a lost surface is restored black";
    EXPECT_EQ(Rgb(*surface.Image(), 50, 40), 0x00FF00u);
    TCanvas* canvas = nullptr;
    ASSERT_EQ(surface.GetDC(canvas), PlatformResult::Ok);
    EXPECT_EQ(surface.Fill(0), PlatformResult::DeviceContextOut);
    surface.ReleaseDC();
    ASSERT_EQ(surface.Fill(0x0000FF), PlatformResult::Ok);
    EXPECT_EQ(surface.Image()->size(), QSize(200, 160));
    EXPECT_EQ(Rgb(*surface.Image(), 199, 159), 0x0000FFu);
    EXPECT_EQ(surface.Description().Width, 100);
}

TEST(HighDensitySurface, LargeTextPictureIsMadeAtTheImageDensity) {
    // The title is drawn from a cached picture; at ratio 2 that picture must not be
    // a ratio-1 picture blown up. Compare with the same text drawn straight at ratio 2.
    QImage cached(400, 200, QImage::Format_RGB32);
    cached.setDevicePixelRatio(2.0);
    cached.fill(Qt::black);
    QtCanvas canvas;
    canvas.SetFontSize(60);
    canvas.SetFontBold(true);
    canvas.SetFontColor(0xFFFFFF);
    canvas.SetBrushStyle(TBrushStyle::bsClear);
    ASSERT_TRUE(canvas.Begin(cached));
    canvas.TextOut(10, 10, QStringLiteral("f e N U"));
    canvas.End();

    QImage direct(400, 200, QImage::Format_RGB32);
    direct.setDevicePixelRatio(2.0);
    direct.fill(Qt::black);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(QtCanvas::PointsToPixels(60));
    font.setBold(true);
    font.setHintingPreference(QFont::PreferNoHinting);
    {
        QPainter painter(&direct);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QPoint(10, 10 + QFontMetrics(font).ascent()), QStringLiteral("f e N U"));
    }
    int differing = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 400; ++x)
            differing += std::abs(qGray(cached.pixel(x, y)) - qGray(direct.pixel(x, y))) > 48;
    EXPECT_LT(differing, 40) << "pixels unlike the directly drawn text";
}

TEST(HighDensityWindow, ADenseBackBufferLandsInTheWindowAtItsFieldPosition) {
    // Tests run at ratio 1: a ratio-2 frame is scaled into the window, at the place
    // its field coordinates say.
    QWidget form;
    auto* area = new QtDrawAreaWidget(&form);
    area->setGeometry(0, 0, 100, 80);
    QImage frame(200, 160, QImage::Format_RGB32);
    frame.setDevicePixelRatio(2.0);
    frame.fill(0x0000FF);
    area->Present(frame, QRect(0, 0, 100, 80));
    const QImage shown = area->Presented();
    ASSERT_EQ(shown.size(), QSize(100, 80));
    EXPECT_EQ(Rgb(shown, 0, 0), 0x0000FFu);
    EXPECT_EQ(Rgb(shown, 99, 79), 0x0000FFu);
}

std::vector<std::string> Lines(const QString& path) {
    std::ifstream file(path.toStdString());
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

TEST(FrameLog, RecordsOnlyPacedFramesAndMarksTheFirstOneSeen) {
    QTemporaryDir folder;
    const QString frames = folder.filePath(QStringLiteral("frames"));
    const QString startup = folder.filePath(QStringLiteral("startup"));
    {
        FrameLog log(frames.toStdString(), startup.toStdString());
        log.Presented(true); // a paint request before any frame: no frame, no start-up
        EXPECT_EQ(log.Frames(), 0u);
        EXPECT_FALSE(QFileInfo::exists(startup));
        log.BoundaryReached(false);
        log.Presented(false); // the first frame, unpaced, the window not on screen yet
        EXPECT_FALSE(QFileInfo::exists(startup));
        log.Presented(true); // its paint request once exposed
        EXPECT_TRUE(QFileInfo::exists(startup));
        log.BoundaryReached();
        log.BoundaryReached(); // a boundary whose copy failed
        log.Presented(true);
        EXPECT_EQ(log.Frames(), 1u);
    }
    const std::vector<std::string> lines = Lines(frames);
    ASSERT_EQ(lines.size(), 1u);
    for (const std::string& line : lines) {
        long long woke = 0, presented = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%lld %lld", &woke, &presented), 2) << line;
        EXPECT_LE(woke, presented);
    }
    ASSERT_EQ(Lines(startup).size(), 1u);
    EXPECT_GT(std::stoll(Lines(startup)[0]), 1'600'000'000'000'000'000LL) << "realtime ns";
}

TEST(FrameLog, WithoutFilesRecordsNothing) {
    FrameLog log;
    EXPECT_FALSE(log.Recording());
    log.BoundaryReached();
    log.Presented(true);
    EXPECT_EQ(log.Frames(), 0u);
}

} // namespace
} // namespace fenu
