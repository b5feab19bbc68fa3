#include "FakeCursor.h"
#include "FakeGameView.h"
#include "FakeServices.h"
#include "ManualClock.h"
#include "WireGame.h"
#include "display/DXDraw.h"
#include "platform/desktop/X11WindowFill.h"
#include "platform/window/QtDrawAreaWidget.h"
#include "platform/window/QtPresentationDevice.h"
#include "platform/window/SharedMapping.h"
#include "sprites/DXSpriteEngine.h"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sys/mman.h>
#include <vector>
#include <wayland-client.h>

#include <QDir>
#include <QGuiApplication>
#include <QHashFunctions>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <qpa/qplatformnativeinterface.h>

#include <gtest/gtest.h>

namespace fenu {
namespace {

/// The real drawing area, presentation and sprite engine component, made before the
/// view that uses them.
struct TWindowParts {
    X11WindowFill fill{X11WindowFill::ApplicationConnection()};
    QtPresentationSystem system;
    QWidget form;
    QtDrawAreaWidget* area = new QtDrawAreaWidget(&form);
    TDXDraw draw{*area, system};
    TDXSpriteEngine sprites;
};

/// The main window as the game sees it, drawing through the real parts.
class TWindowedView final : public TWindowParts, public test::FakeGameView {
public:
    explicit TWindowedView(bool changesOnly) : FakeGameView(sprites.Engine()) {
        // Below a strip where the menu bar would be, so the area lies off the
        // window's origin as in the game.
        form.resize(625, 520);
        area->setGeometry(0, 20, 625, 500);
        draw.ChangesOnly = changesOnly;
        area->SetWindowFill(&fill);
        TDXDrawOptions options = draw.Options();
        options.Exclude(TDXDrawOption::doWaitVBlank);
        draw.SetOptions(options);
        draw.Loaded();
        sprites.SetDXDraw(&draw);
    }
    void Fill(uint32_t raw) override { draw.Surface()->Fill(raw); }
    TCanvas* Canvas() override { return &draw.Surface()->Canvas(); }
    void ReleaseCanvas() override { draw.Surface()->ReleaseCanvas(); }
    void Flip() override { draw.Flip(); }
    TPoint ClientOrigin() override { return draw.ClientOrigin(); }
    void DrawAll() override { sprites.DrawAll(); }
    void MoveAll(int32_t steps) override { sprites.MoveAll(steps); }
};

/// What the window system shows of form now. On Wayland only the compositor has it: once a
/// round trip has brought the frame's commit to weston, its screenshooter reads the output at
/// the next repaint, which redraws only what was damaged (the window fills it: in_weston.sh).
QImage Shown(QWidget& form) {
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return form.screen()->grabWindow(form.winId()).toImage();
    wl_display_roundtrip(static_cast<wl_display*>(
        QGuiApplication::platformNativeInterface()->nativeResourceForIntegration("wl_display")));
    const QTemporaryDir folder;
    EXPECT_EQ(std::system(qPrintable("cd " + folder.path() + " && weston-screenshooter")), 0);
    const QFileInfoList shots = QDir(folder.path()).entryInfoList({QStringLiteral("*.png")});
    return shots.size() == 1 ? QImage(shots[0].filePath()) : QImage();
}

/// A hash of the colours the window system has of form now (no alpha, no padding).
size_t Hash(QWidget& form) {
    const QImage picture = Shown(form).convertToFormat(QImage::Format_RGB888);
    EXPECT_FALSE(picture.isNull());
    size_t hash = 0;
    for (int y = 0; y < picture.height(); ++y)
        hash = qHashBits(picture.constScanLine(y), static_cast<size_t>(picture.width()) * 3, hash);
    return hash;
}

struct TShownFrames {
    std::vector<size_t> Pictures; ///< hashes of what the window system has
    std::vector<qint64> Repainted;
};

/// A scripted session: the title screen with a ball across its text, then down to one ball, a game
/// with bullets, a pause with the window repainted, the end's fade, the title again, a smaller
/// window a pixel lower.
TShownFrames PlaySession(bool changesOnly) {
    TWindowedView view(changesOnly);
    test::FakeCursor cursor;
    test::ManualClock clock(1000);
    test::RecordingSoundPlayer sounds;
    test::FakeOptionMarks options;
    options.BonusPoints = true;
    TGame game(view, cursor);
    test::WireGame(game, view.sprites.Engine(), clock, sounds, options, 4711);
    view.form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&view.form));
    TShownFrames shown;
    const auto frames = [&](int count) {
        for (int i = 0; i < count; ++i) {
            const TPoint origin = view.ClientOrigin();
            cursor.position = {origin.X + 312 + static_cast<int>(150 * std::cos(i / 15.0)),
                               origin.Y + 250 + static_cast<int>(120 * std::sin(i / 15.0))};
            clock.Advance(16);
            if (i % 9 == 4)
                game.DXDrawMouseDown(TMouseButton::mbLeft, 10, 10);
            game.DXTimerTimer(1);
            shown.Pictures.push_back(Hash(view.form));
            shown.Repainted.push_back(view.area->RepaintedPixels());
        }
    };
    game.StartAttractMode();
    frames(10);
    game.DXDrawMouseDown(TMouseButton::mbRight, 0, 0);
    game.DXDrawMouseDown(TMouseButton::mbLeft, 312, 250); // a ball on the title's text
    frames(10);
    for (int i = 0; i < TGame::MaxDemoBalls; ++i)
        game.DXDrawMouseDown(TMouseButton::mbRight, 0, 0);
    frames(10);
    game.Neu1Click();
    frames(60);
    game.Pause1Click();
    view.area->repaint();
    game.Pause1Click();
    frames(10);
    game.GameOverStep = 1;
    frames(TGame::FadeLength + 5);
    game.StartAttractMode();
    frames(10);
    view.area->setGeometry(1, 20, 600, 480); // between two pixels at 150 %, across
    frames(5);
    view.area->setGeometry(0, 21, 600, 480); // and down
    frames(5);
    return shown;
}

TEST(RegionPresentation, ShowsEveryFrameAsAWholePresentationDoesRepaintingOnlyWhatChanged) {
    PlaySession(true); // text drawn for the first time in a process differs slightly
    const TShownFrames whole = PlaySession(false);
    const TShownFrames changes = PlaySession(true);
    ASSERT_EQ(whole.Pictures.size(), changes.Pictures.size());
    const qint64 field = whole.Repainted[21]; // in the window system's pixels
    qint64 wholePixels = 0;
    qint64 changedPixels = 0;
    for (size_t i = 0; i < whole.Pictures.size(); ++i) {
        ASSERT_EQ(whole.Pictures[i], changes.Pictures[i]) << "frame " << i;
        // Two pictures that never change would be equal as well.
        EXPECT_TRUE(i == 0 || whole.Pictures[i] != whole.Pictures[i - 1]) << "frame " << i;
        wholePixels += whole.Repainted[i];
        changedPixels += changes.Repainted[i];
    }
    // One demo ball left on the title screen: only where it was and is goes.
    for (size_t i = 21; i < 30; ++i) {
        EXPECT_EQ(whole.Repainted[i], field);
        EXPECT_GT(changes.Repainted[i], 0);
        EXPECT_LT(changes.Repainted[i], field / 20) << "frame " << i;
    }
    // The fade goes whole, the other frames in part; an X server fills the fade's
    // colour itself and is handed only the title and the balls on it.
    if (X11WindowFill::ApplicationConnection() != nullptr &&
        !qgetenv("X_SERVER_OPTIONS").contains("MIT-SHM"))
        EXPECT_LT(changes.Repainted[110], field / 4);
    else
        EXPECT_EQ(changes.Repainted[110], field);
    EXPECT_LT(changedPixels * 2, wholePixels);
}

TEST(RegionPresentation, ATextStandsThroughAFillUntilThePictureGoesOnWithoutIt) {
    TWindowedView view(true);
    view.form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view.form));
    TDirectDrawSurface& back = *view.draw.Surface();
    const QRect area(0, 0, 200, 60);
    back.Fill(0);
    const QImage black = back.Image()->copy(area);
    const auto showTitle = [&] {
        back.Canvas().SetFontColor(0xFFFFFF);
        back.Canvas().SetFontSize(20);
        back.Canvas().TextOut(10, 10, QStringLiteral("feNU"));
        back.ReleaseCanvas();
        view.draw.Flip();
    };
    showTitle();
    const QImage titled = back.Image()->copy(area);
    ASSERT_NE(titled, black);
    back.Fill(0);
    EXPECT_EQ(back.Image()->copy(area), titled) << "left standing";
    // Shown, filled again or drawn over first without it, the picture loses it.
    const std::function<void()> goingOnWithout[] = {
        [&] { view.draw.Flip(); }, [&] { back.Fill(0); },
        [&] { back.Canvas().Ellipse(300, 300, 320, 320); }};
    for (const auto& goOn : goingOnWithout) {
        showTitle();
        back.Fill(0);
        goOn();
        EXPECT_EQ(back.Image()->copy(area), black);
    }
    // Two discs crossing it clear into it (the box of both holds text between them):
    // every picture is still the one a whole fill and drawing give.
    const auto crossed = [&](int x, bool whole) {
        back.FillsOnlyDrawn = !whole;
        back.Fill(0);
        back.Canvas().SetFontSize(30);
        back.Canvas().TextOut(10, 10, QStringLiteral("f e N U"));
        back.Canvas().TextOut(40, 26, QStringLiteral("f e N U")); // meets the first: no standing
        back.Canvas().Ellipse(x, 12, x + 16, 28);
        back.Canvas().Ellipse(x + 50, 30, x + 66, 46);
        back.ReleaseCanvas();
        view.draw.Flip();
        return back.Image()->copy();
    };
    back.ReleaseCanvas();
    crossed(0, true);
    for (int x = 12; x < 132; x += 12) {
        const QImage kept = crossed(x, false);
        EXPECT_EQ(kept, crossed(x, true)) << "discs at " << x;
    }
}

// Whether the X server reads the backing store's image itself decides how frames go.
TEST(SharedMapping, TellsSharedMemoryFromPrivate) {
    const size_t size = 1 << 20; // beyond malloc's threshold: a mapping of its own
    const std::unique_ptr<char[]> heap(new char[size]);
    EXPECT_FALSE(InSharedMapping(heap.get()));
    void* shared = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(shared, MAP_FAILED);
    EXPECT_TRUE(InSharedMapping(static_cast<char*>(shared) + size - 1));
    munmap(shared, size);
    EXPECT_FALSE(InSharedMapping(shared)) << "nothing mapped there any more";
}

} // namespace
} // namespace fenu
