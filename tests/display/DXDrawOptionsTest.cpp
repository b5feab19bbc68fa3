#include "display/DXDrawOptions.h"

#include <gtest/gtest.h>

namespace fenu {
namespace {

using enum TDXDrawOption;

TEST(DXDrawOptions, BitNIsTheMemberWithOrdinalN) {
    EXPECT_EQ(TDXDrawOptions{doFullScreen}.Bits(), 0x0001);
    EXPECT_EQ(TDXDrawOptions{doWaitVBlank}.Bits(), 0x0008);
    EXPECT_EQ(TDXDrawOptions{doZBuffer}.Bits(), 0x4000);
    EXPECT_EQ(DefaultDXDrawOptions.Bits(),
              (1 << 2) | (1 << 3) | (1 << 7) | (1 << 10) | (1 << 12) | (1 << 13));
}

TEST(DXDrawOptions, TheGamesOptionsLeaveWaitForVerticalBlankAndCentringInForce) {
    EXPECT_EQ(EffectiveDXDrawOptions(DefaultDXDrawOptions, {}, false),
              (TDXDrawOptions{doWaitVBlank, doCenter}));
}

TEST(DXDrawOptions, WindowedModeDropsTheFullScreenMembers) {
    const TDXDrawOptions asked{doNoWindowChange, doAllowReboot, doAllowPalette256, doFlip,
                               doStretch};
    EXPECT_EQ(EffectiveDXDrawOptions(asked, {}, false), TDXDrawOptions{doStretch});

    const TDXDrawOptions fullScreen{doFullScreen, doNoWindowChange, doAllowReboot,
                                    doAllowPalette256, doFlip};
    EXPECT_EQ(EffectiveDXDrawOptions(fullScreen, {}, false), fullScreen);
}

TEST(DXDrawOptions, The3DMembersNeed3DAndHardwareIsAlwaysDropped) {
    const TDXDrawOptions with3D{do3D,       doDirectX7Mode, doRetainedMode,
                                doHardware, doSelectDriver, doZBuffer};
    // doDirectX7Mode removes doRetainedMode; doHardware always goes.
    EXPECT_EQ(EffectiveDXDrawOptions(with3D, {}, false),
              (TDXDrawOptions{do3D, doDirectX7Mode, doSelectDriver, doZBuffer}));
    EXPECT_EQ(EffectiveDXDrawOptions(TDXDrawOptions{do3D, doRetainedMode}, {}, false),
              (TDXDrawOptions{do3D, doRetainedMode}));
}

TEST(DXDrawOptions, SystemMemoryExcludesPageFlipping) {
    EXPECT_EQ(
        EffectiveDXDrawOptions(TDXDrawOptions{doFullScreen, doFlip, doSystemMemory}, {}, false),
        (TDXDrawOptions{doFullScreen, doSystemMemory}));
}

TEST(DXDrawOptions, WhileInitializedOnlyWaitStretchAndCentreFollowTheNewOptions) {
    const TDXDrawOptions current{doWaitVBlank, doCenter, doSystemMemory};
    const TDXDrawOptions asked{doStretch, doFullScreen, doFlip};
    // doSystemMemory keeps its effective value; doFullScreen and doFlip wait for the
    // next initialization.
    EXPECT_EQ(EffectiveDXDrawOptions(asked, current, true),
              (TDXDrawOptions{doStretch, doSystemMemory}));
    EXPECT_EQ(EffectiveDXDrawOptions(TDXDrawOptions{}, TDXDrawOptions{doHardware, doZBuffer}, true),
              TDXDrawOptions{});
}

} // namespace
} // namespace fenu
