#include "display/DXDraw.h"

#include "display/DXDrawDriver.h"
#include "display/DXErrors.h"
#include "support/FakePresentationDevice.h"

#include <string>
#include <utility>
#include <vector>

#include <QImage>

#include <gtest/gtest.h>

namespace fenu {
namespace {

using enum TDrawAreaNotice;
using enum TDXDrawOption;
using Notices = std::vector<TDrawAreaNotice>;

/// Collects the notices one registration receives.
struct NoticeLog {
    Notices Received;
    static void Handler(void* context, TCustomDXDraw&, TDrawAreaNotice notice) {
        static_cast<NoticeLog*>(context)->Received.push_back(notice);
    }
};

class DXDrawTest : public ::testing::Test {
protected:
    DXDrawTest() { draw.Loaded(); }

    /// Shows the form and expects the area to come up.
    void ShowAndInitialize() {
        window.ShowForm();
        ASSERT_TRUE(draw.Initialized());
    }

    /// Initialization must fail with exactly this exception and message, and leave
    /// nothing behind.
    template <class Error> void ExpectInitializeFails(const QString& message) {
        try {
            draw.Initialize();
            ADD_FAILURE() << "no exception";
        } catch (const Error& error) {
            EXPECT_EQ(error.Message(), message);
        }
        EXPECT_FALSE(draw.Initialized());
        EXPECT_FALSE(draw.Started());
        EXPECT_FALSE(draw.Updating());
        EXPECT_EQ(draw.Surface(), nullptr);
        EXPECT_EQ(draw.DDraw(), nullptr);
        EXPECT_TRUE(system.State.LiveSurfaces.empty()) << "everything made is released";
        draw.Flip(); // does nothing
        EXPECT_TRUE(system.State.PrimaryCopies.empty());
    }

    test::FakePresentationSystem system;
    test::FakeDrawAreaWindow window;
    // Declared before the control so that they outlive it and its last notices.
    NoticeLog log, leaving, staying;
    std::vector<int> order;
    TDXDraw draw{window, system};
};

// ------------------------------------------------------------ initialization

TEST_F(DXDrawTest, TheFirstShowingOfTheFormMakesA625By500BackBuffer) {
    EXPECT_EQ(draw.Surface(), nullptr);
    ShowAndInitialize();
    ASSERT_NE(draw.Surface(), nullptr);
    EXPECT_EQ(draw.Surface()->Width(), 625);
    EXPECT_EQ(draw.Surface()->Height(), 500);
    EXPECT_EQ(draw.SurfaceWidth(), 625);
    EXPECT_EQ(draw.SurfaceHeight(), 500);
    EXPECT_EQ(system.State.EntryUsed, PresentationSystem::TEntry::Version7);
    ASSERT_NE(draw.Clipper(), nullptr);
    EXPECT_EQ(draw.Clipper()->Platform()->Window(), &window);
    const QImage* pixels = draw.Surface()->Image();
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(pixels->pixel(312, 250) & 0xFFFFFF, 0u) << "a new back buffer is black";
}

TEST_F(DXDrawTest, TheFormShownASecondTimeDoesNotInitializeAgain) {
    ShowAndInitialize();
    draw.Finalize();
    window.ShowForm();
    EXPECT_FALSE(draw.Initialized());
    EXPECT_EQ(system.State.DevicesCreated, 1);
}

TEST_F(DXDrawTest, AutomaticInitializationIsTriedOnceEvenWhenItFails) {
    system.State.PrimaryFails = true;
    EXPECT_THROW(window.ShowForm(), EDXDrawError);
    system.State.PrimaryFails = false;
    window.ShowForm();
    EXPECT_FALSE(draw.Initialized());
    draw.Initialize(); // an explicit initialization still works
    EXPECT_TRUE(draw.Initialized());
}

TEST_F(DXDrawTest, WithoutAutoInitializeShowingTheFormDoesNothing) {
    draw.AutoInitialize = false;
    window.ShowForm();
    EXPECT_FALSE(draw.Initialized());
}

TEST_F(DXDrawTest, AZeroSizedControlGetsAOneByOneBackBuffer) {
    window.Width = 0;
    window.Height = 0;
    draw.Initialize();
    EXPECT_EQ(draw.Surface()->Width(), 1);
    EXPECT_EQ(draw.Surface()->Height(), 1);
    EXPECT_EQ(draw.SurfaceWidth(), 1);
}

TEST_F(DXDrawTest, WithoutAutoSizeTheStoredSurfaceSizeIsUsed) {
    draw.AutoSize = false;
    draw.SetSurfaceSize(320, 200);
    draw.Initialize();
    EXPECT_EQ(draw.Surface()->Width(), 320);
    EXPECT_EQ(draw.Surface()->Height(), 200);
}

TEST_F(DXDrawTest, TheClassicEntryPointIsUsedWithoutDirectX7Mode) {
    draw.SetOptions(TDXDrawOptions{doWaitVBlank, doCenter});
    draw.Initialize();
    EXPECT_EQ(system.State.EntryUsed, PresentationSystem::TEntry::Classic);
}

// ------------------------------------------------------------ failures

TEST_F(DXDrawTest, AControlWithoutAFormCannotBeInitialized) {
    window.InForm = false;
    ExpectInitializeFails<EDXDrawError>(QStringLiteral("Form not found"));
}

TEST_F(DXDrawTest, AMissingLibraryIsReportedByName) {
    system.State.Loaded = false;
    ExpectInitializeFails<Exception>(QStringLiteral("FakeDraw.dll not loaded"));
}

TEST_F(DXDrawTest, ADeviceThatCannotBeCreatedRaisesEDirectDrawError) {
    system.State.CreateDeviceFails = true;
    ExpectInitializeFails<EDirectDrawError>(QStringLiteral("DirectDraw cannot be initialized"));
}

TEST_F(DXDrawTest, MissingDeviceInterfacesNameTheNeededVersion) {
    system.State.MissingInterfaces = {PresentationDevice::TInterface::Version4};
    ExpectInitializeFails<EDirectDrawError>(QStringLiteral("Necessary since DirectX 7"));

    draw.SetOptions(TDXDrawOptions{doWaitVBlank, doCenter});
    ExpectInitializeFails<EDirectDrawError>(QStringLiteral("Necessary since DirectX 6"));

    system.State.MissingInterfaces = {PresentationDevice::TInterface::Base};
    draw.SetOptions(DefaultDXDrawOptions);
    ExpectInitializeFails<EDirectDrawError>(QStringLiteral("Necessary since DirectX 7"));
}

TEST_F(DXDrawTest, APrimarySurfaceThatCannotBeMadeRaisesEDXDrawError) {
    system.State.PrimaryFails = true;
    ExpectInitializeFails<EDXDrawError>(QStringLiteral("Primary Surface cannot be made"));
}

TEST_F(DXDrawTest, AClipperThatCannotBeMadeRaisesEDirectDrawClipperError) {
    system.State.ClipperFails = true;
    ExpectInitializeFails<EDirectDrawClipperError>(QStringLiteral("Clipper cannot be made"));
}

TEST_F(DXDrawTest, ABackBufferFailsOnlyWhenSystemMemoryFailsToo) {
    system.State.VideoMemoryFails = true;
    draw.Initialize();
    EXPECT_TRUE(system.State.LastOffscreenAskedSystemMemory) << "retried in system memory";
    EXPECT_TRUE(draw.EffectiveOptions().Contains(doSystemMemory));

    system.State.SystemMemoryFails = true;
    ExpectInitializeFails<EDXDrawError>(QStringLiteral("Surface cannot be made"));
}

TEST_F(DXDrawTest, ABackBufferInVideoMemoryLeavesSystemMemoryOutOfTheEffectiveOptions) {
    draw.Initialize();
    EXPECT_FALSE(system.State.LastOffscreenAskedSystemMemory);
    EXPECT_EQ(draw.EffectiveOptions(), (TDXDrawOptions{doWaitVBlank, doCenter}));
}

TEST_F(DXDrawTest, APaletteFailureIsIgnored) {
    system.State.PaletteFails = true;
    draw.Initialize();
    EXPECT_TRUE(draw.Initialized());
    EXPECT_EQ(draw.Palette(), nullptr);
}

TEST_F(DXDrawTest, AFailedInitializationTellsRegisteredComponentsTheSurfaceIsGone) {
    draw.AddNotifyHandler(&NoticeLog::Handler, &log);
    log.Received.clear();
    system.State.SystemMemoryFails = system.State.VideoMemoryFails = true;
    EXPECT_THROW(draw.Initialize(), EDXDrawError);
    EXPECT_EQ(log.Received, (Notices{anInitializing, anSurfaceReleased, anFinalized}));
}

TEST_F(DXDrawTest, ErrorClassesFollowTheirTree) {
    EXPECT_TRUE((std::is_base_of_v<EDirectXError, EDirectDrawError>));
    EXPECT_TRUE((std::is_base_of_v<EDirectDrawError, EDirectDrawSurfaceError>));
    EXPECT_TRUE((std::is_base_of_v<EDirectDrawError, EDirectDrawClipperError>));
    EXPECT_TRUE((std::is_base_of_v<EDirectDrawError, EDirectDrawPaletteError>));
    EXPECT_FALSE((std::is_base_of_v<EDirectXError, EDXDrawError>));
    EXPECT_TRUE((std::is_base_of_v<Exception, EDXDrawError>));
}

// ------------------------------------------------------------ notices

TEST_F(DXDrawTest, InitializationSendsItsNoticesAndEventsInOrder) {
    std::vector<std::string> order;
    struct Recorder {
        std::vector<std::string>* Order;
        static void Handler(void* context, TCustomDXDraw&, TDrawAreaNotice notice) {
            static const char* const names[] = {
                "anDestroying", "anInitializing",    "anInitialized", "anSurfaceReady",
                "anFinalized",  "anSurfaceReleased", "anRestored",    "anSizeChanged"};
            static_cast<Recorder*>(context)->Order->push_back(names[static_cast<int>(notice)]);
        }
    } recorder{&order};
    draw.AddNotifyHandler(&Recorder::Handler, &recorder);
    order.clear();
    draw.OnInitializing = [&](TCustomDXDraw&) { order.push_back("OnInitializing"); };
    draw.OnInitialize = [&](TCustomDXDraw&) { order.push_back("OnInitialize"); };
    draw.OnInitializeSurface = [&](TCustomDXDraw&) { order.push_back("OnInitializeSurface"); };
    draw.OnRestoreSurface = [&](TCustomDXDraw&) { order.push_back("OnRestoreSurface"); };
    draw.OnFinalizeSurface = [&](TCustomDXDraw&) { order.push_back("OnFinalizeSurface"); };
    draw.OnFinalize = [&](TCustomDXDraw&) { order.push_back("OnFinalize"); };

    draw.Initialize();
    draw.Finalize();
    EXPECT_EQ(order, (std::vector<std::string>{"OnInitializing", "anInitializing", "anSizeChanged",
                                               "anInitialized", "OnInitialize", "anSurfaceReady",
                                               "OnInitializeSurface", "anRestored",
                                               "OnRestoreSurface", "OnFinalizeSurface",
                                               "anSurfaceReleased", "OnFinalize", "anFinalized"}));
    draw.RemoveNotifyHandler(&Recorder::Handler, &recorder);
}

TEST_F(DXDrawTest, RegisteringOnAnInitializedControlDeliversTheInitialNotices) {
    ShowAndInitialize();
    draw.AddNotifyHandler(&NoticeLog::Handler, &log);
    EXPECT_EQ(log.Received, (Notices{anSizeChanged, anInitialized, anSurfaceReady, anRestored}));
}

TEST_F(DXDrawTest, RegisteringOnAControlNotInitializedDeliversOnlySizeChanged) {
    draw.AddNotifyHandler(&NoticeLog::Handler, &log);
    EXPECT_EQ(log.Received, (Notices{anSizeChanged}));
}

TEST_F(DXDrawTest, ReRegisteringAPairRemovesItFirstAndKeepsOneRegistration) {
    ShowAndInitialize();
    draw.AddNotifyHandler(&NoticeLog::Handler, &log);
    log.Received.clear();
    draw.AddNotifyHandler(&NoticeLog::Handler, &log);
    EXPECT_EQ(log.Received, (Notices{anSurfaceReleased, anFinalized, anSizeChanged, anInitialized,
                                     anSurfaceReady, anRestored}));
    log.Received.clear();
    draw.Finalize();
    EXPECT_EQ(log.Received, (Notices{anSurfaceReleased, anFinalized})) << "told once, not twice";
}

TEST_F(DXDrawTest, UnregisteringSendsReleaseAndFinalizeOnlyToThatHandler) {
    ShowAndInitialize();
    draw.AddNotifyHandler(&NoticeLog::Handler, &staying);
    draw.AddNotifyHandler(&NoticeLog::Handler, &leaving);
    leaving.Received.clear();
    staying.Received.clear();
    draw.RemoveNotifyHandler(&NoticeLog::Handler, &leaving);
    EXPECT_EQ(leaving.Received, (Notices{anSurfaceReleased, anFinalized}));
    EXPECT_TRUE(staying.Received.empty());
    draw.RemoveNotifyHandler(&NoticeLog::Handler, &leaving); // not registered: nothing
    EXPECT_EQ(leaving.Received.size(), 2u);
}

TEST_F(DXDrawTest, NoticesGoToTheMostRecentlyRegisteredHandlerFirst) {
    struct Tagged {
        std::vector<int>* Order;
        int Tag;
        static void Handler(void* context, TCustomDXDraw&, TDrawAreaNotice notice) {
            auto* self = static_cast<Tagged*>(context);
            if (notice == anFinalized)
                self->Order->push_back(self->Tag);
        }
    } first{&order, 1}, second{&order, 2}, third{&order, 3};
    draw.AddNotifyHandler(&Tagged::Handler, &first);
    draw.AddNotifyHandler(&Tagged::Handler, &second);
    draw.AddNotifyHandler(&Tagged::Handler, &third);
    draw.Initialize();
    draw.Finalize();
    EXPECT_EQ(order, (std::vector<int>{3, 2, 1}));
    for (Tagged* tagged : {&first, &second, &third})
        draw.RemoveNotifyHandler(&Tagged::Handler, tagged);
}

TEST_F(DXDrawTest, DestroyingTheWindowFinalizesFirstAndDestroyingTheControlSaysDestroying) {
    {
        test::FakeDrawAreaWindow ownWindow;
        auto area = std::make_unique<TDXDraw>(ownWindow, system);
        area->Loaded();
        ownWindow.ShowForm();
        area->AddNotifyHandler(&NoticeLog::Handler, &log);
        log.Received.clear();
        ownWindow.Destroy();
        EXPECT_EQ(log.Received, (Notices{anSurfaceReleased, anFinalized}));
        EXPECT_FALSE(area->Initialized());
        EXPECT_EQ(area->Surface(), nullptr);
        area.reset();
    }
    EXPECT_EQ(log.Received, (Notices{anSurfaceReleased, anFinalized, anDestroying}));
}

TEST_F(DXDrawTest, AHandlerMayUnregisterItselfWhileANoticeIsSent) {
    struct Leaver {
        int Destroying = 0;
        static void Handler(void* context, TCustomDXDraw& sender, TDrawAreaNotice notice) {
            if (notice != anDestroying)
                return;
            auto* self = static_cast<Leaver*>(context);
            ++self->Destroying;
            sender.RemoveNotifyHandler(&Handler, context);
        }
    } a, b, c;
    {
        test::FakeDrawAreaWindow ownWindow;
        TDXDraw area(ownWindow, system);
        area.AddNotifyHandler(&Leaver::Handler, &a);
        area.AddNotifyHandler(&Leaver::Handler, &b);
        area.AddNotifyHandler(&Leaver::Handler, &c);
    }
    EXPECT_EQ(a.Destroying + b.Destroying + c.Destroying, 3);
}

TEST_F(DXDrawTest, AFinalizeEventThatRaisesStillReleasesEverythingAndTellsTheHandlers) {
    ShowAndInitialize();
    draw.AddNotifyHandler(&NoticeLog::Handler, &log);
    log.Received.clear();
    draw.OnFinalizeSurface = [](TCustomDXDraw&) { throw Exception(QStringLiteral("handler")); };
    EXPECT_THROW(draw.Finalize(), Exception);
    EXPECT_EQ(log.Received, (Notices{anSurfaceReleased, anFinalized}));
    EXPECT_FALSE(draw.Started());
    EXPECT_FALSE(draw.Updating());
    EXPECT_TRUE(system.State.LiveSurfaces.empty());
}

// ------------------------------------------------------------ fill, canvas, flip

TEST_F(DXDrawTest, FillWritesTheRawPixelValue) {
    ShowAndInitialize();
    EXPECT_TRUE(draw.Surface()->Fill(0x040404));
    EXPECT_EQ(draw.Surface()->Image()->pixel(0, 0) & 0xFFFFFF, 0x040404u);
    EXPECT_EQ(draw.Surface()->Image()->pixel(624, 499) & 0xFFFFFF, 0x040404u);
    EXPECT_TRUE(draw.Surface()->Fill(0));
    EXPECT_EQ(draw.Surface()->Image()->pixel(300, 300) & 0xFFFFFF, 0u);
}

TEST_F(DXDrawTest, WhileTheCanvasIsOutFillsAndFlipsDoNotHappen) {
    ShowAndInitialize();
    TDirectDrawSurface& back = *draw.Surface();
    back.Fill(0x112233);
    back.Canvas().SetPenStyle(TPenStyle::psClear);
    back.Canvas().Ellipse(0, 0, 4, 4); // takes the device context
    EXPECT_TRUE(back.Canvas().HasDeviceContext());
    EXPECT_FALSE(back.Fill(0x445566));
    EXPECT_EQ(back.Image()->pixel(300, 300) & 0xFFFFFF, 0x112233u);
    draw.Flip();
    EXPECT_TRUE(system.State.PrimaryCopies.empty());

    back.ReleaseCanvas();
    EXPECT_FALSE(back.Canvas().HasDeviceContext());
    EXPECT_TRUE(back.Fill(0x445566));
    draw.Flip();
    EXPECT_EQ(system.State.PrimaryCopies.size(), 1u);
}

TEST_F(DXDrawTest, CanvasSettingsSurviveReleasingTheDeviceContext) {
    ShowAndInitialize();
    TDirectDrawSurface& back = *draw.Surface();
    back.Fill(0);
    TCanvas& canvas = back.Canvas();
    canvas.SetBrushColor(0x00FF00);
    canvas.SetPenStyle(TPenStyle::psClear);
    canvas.Ellipse(0, 0, 40, 40);
    back.ReleaseCanvas();
    canvas.Ellipse(100, 100, 140, 140); // a fresh device context, same brush
    back.ReleaseCanvas();
    EXPECT_EQ(back.Image()->pixel(120, 120) & 0xFFFFFF, 0x00FF00u);
}

TEST_F(DXDrawTest, DrawingWithoutADeviceContextRaisesTheCanvasError) {
    ShowAndInitialize();
    system.State.GetDCFails = true;
    try {
        draw.Surface()->Canvas().Line(0, 0, 10, 10);
        ADD_FAILURE() << "no exception";
    } catch (const EInvalidOperation& error) {
        EXPECT_EQ(error.Message(), QStringLiteral("Leinwand/Bild erlaubt kein Zeichnen"));
    }
}

TEST_F(DXDrawTest, FlipWaitsForTheVerticalBlankAndCopiesOntoTheControl) {
    ShowAndInitialize();
    draw.Flip();
    EXPECT_EQ(system.State.VerticalBlankWaits, 1);
    ASSERT_EQ(system.State.PrimaryCopies.size(), 1u);
    EXPECT_EQ(system.State.PrimaryCopies[0], (TRect{100, 50, 725, 550}));
}

TEST_F(DXDrawTest, FlipCentresASmallerBackBufferTruncatingTheHalfDifference) {
    draw.AutoSize = false;
    draw.SetSurfaceSize(524, 399); // 101 pixels narrower and lower than the control
    draw.Initialize();
    draw.Flip();
    ASSERT_EQ(system.State.PrimaryCopies.size(), 1u);
    EXPECT_EQ(system.State.PrimaryCopies[0], (TRect{150, 100, 674, 499}));
}

TEST(DXDrawFlipTarget, ALargerSurfaceMovesLeftAndUpAndStretchCoversTheControl) {
    const TPoint origin{10, 20};
    EXPECT_EQ(TDXDrawDriverBlt::FlipTarget(origin, 100, 100, 201, 103, TDXDrawOptions{doCenter}),
              (TRect{-40, 19, 161, 122}));
    EXPECT_EQ(
        TDXDrawDriverBlt::FlipTarget(origin, 100, 80, 30, 30, TDXDrawOptions{doStretch, doCenter}),
        (TRect{10, 20, 110, 100}));
    EXPECT_EQ(TDXDrawDriverBlt::FlipTarget(origin, 100, 80, 30, 30, TDXDrawOptions{}),
              (TRect{10, 20, 40, 50}));
}

TEST_F(DXDrawTest, OptionsCanSwitchStretchWhileInitialized) {
    draw.AutoSize = false;
    draw.SetSurfaceSize(100, 100);
    draw.Initialize();
    draw.SetOptions(TDXDrawOptions{doStretch, doDirectX7Mode});
    EXPECT_EQ(draw.EffectiveOptions(), TDXDrawOptions{doStretch});
    draw.Flip();
    EXPECT_EQ(system.State.VerticalBlankWaits, 0);
    ASSERT_EQ(system.State.PrimaryCopies.size(), 1u);
    EXPECT_EQ(system.State.PrimaryCopies[0], (TRect{100, 50, 725, 550}));
}

TEST_F(DXDrawTest, APaintRequestPresentsTheLastFrameWithoutWaiting) {
    ShowAndInitialize();
    window.RequestPaint();
    EXPECT_EQ(system.State.PrimaryCopies.size(), 1u);
    EXPECT_EQ(system.State.VerticalBlankWaits, 0);
    EXPECT_TRUE(draw.EffectiveOptions().Contains(doWaitVBlank)) << "the wait is back afterwards";
    EXPECT_EQ(window.ParentRepaints, 1) << "a video-memory back buffer asks the parent too";
}

TEST_F(DXDrawTest, APaintRequestBeforeInitializationDoesNothing) {
    window.RequestPaint();
    EXPECT_TRUE(system.State.PrimaryCopies.empty());
    EXPECT_EQ(window.ParentRepaints, 0);
}

// ------------------------------------------------------------ lost surfaces

TEST_F(DXDrawTest, LostSurfacesAreRestoredBeforeTheNextFlip) {
    ShowAndInitialize();
    draw.AddNotifyHandler(&NoticeLog::Handler, &log);
    log.Received.clear();
    draw.Surface()->Fill(0x00FF00);
    system.State.SetAllLost(true);
    draw.Flip();
    EXPECT_EQ(log.Received, (Notices{anRestored}));
    EXPECT_EQ(system.State.PrimaryCopies.size(), 1u);
    EXPECT_EQ(draw.Surface()->Image()->pixel(1, 1) & 0xFFFFFF, 0u) << "restored black";
}

TEST_F(DXDrawTest, AFailedRestoreSkipsTheFrameAndTriesAgainAtTheNextFlip) {
    ShowAndInitialize();
    system.State.SetAllLost(true);
    system.State.RestoreFails = true;
    draw.Flip();
    EXPECT_TRUE(system.State.PrimaryCopies.empty());
    EXPECT_TRUE(draw.Initialized());
    system.State.RestoreFails = false;
    draw.Flip();
    EXPECT_EQ(system.State.PrimaryCopies.size(), 1u);
}

// ------------------------------------------------------------ resize and mouse

TEST_F(DXDrawTest, ResizingAnInitializedControlRecreatesTheBackBuffer) {
    ShowAndInitialize();
    draw.AddNotifyHandler(&NoticeLog::Handler, &log);
    log.Received.clear();
    TDirectDrawSurface* before = draw.Surface();
    window.Resize(300, 200);
    EXPECT_EQ(draw.Surface(), before) << "the same wrapper, a new platform surface";
    EXPECT_EQ(draw.Surface()->Width(), 300);
    EXPECT_EQ(draw.SurfaceHeight(), 200);
    EXPECT_EQ(log.Received, (Notices{anSurfaceReleased, anSurfaceReady, anSizeChanged}));
    log.Received.clear();
    window.Resize(300, 200);
    EXPECT_TRUE(log.Received.empty()) << "an unchanged size does nothing";
}

TEST_F(DXDrawTest, ResizingBeforeInitializationOnlyStoresTheSize) {
    draw.AddNotifyHandler(&NoticeLog::Handler, &log);
    log.Received.clear();
    window.Resize(200, 100);
    EXPECT_EQ(draw.SurfaceWidth(), 200);
    EXPECT_EQ(log.Received, (Notices{anSizeChanged}));
}

TEST_F(DXDrawTest, AFailedBackBufferRecreationFinalizes) {
    ShowAndInitialize();
    system.State.VideoMemoryFails = system.State.SystemMemoryFails = true;
    EXPECT_THROW(window.Resize(10, 10), EDXDrawError);
    EXPECT_FALSE(draw.Initialized());
    EXPECT_EQ(draw.Surface(), nullptr);
}

TEST_F(DXDrawTest, MousePressesReachOnMouseDownInClientPixels) {
    std::vector<std::pair<TMouseButton, TPoint>> presses;
    draw.OnMouseDown = [&](TMouseButton button, int x, int y) {
        presses.push_back({button, TPoint{x, y}});
    };
    window.Press(TMouseButton::mbRight, 3, 4);
    window.Press(TMouseButton::mbLeft, 624, 499);
    ASSERT_EQ(presses.size(), 2u);
    EXPECT_EQ(presses[0].first, TMouseButton::mbRight);
    EXPECT_EQ(presses[0].second, (TPoint{3, 4}));
    EXPECT_EQ(presses[1].second, (TPoint{624, 499}));
    EXPECT_EQ(draw.ClientOrigin(), (TPoint{100, 50}));
    EXPECT_EQ(draw.ClientWidth(), 625);
}

} // namespace
} // namespace fenu
