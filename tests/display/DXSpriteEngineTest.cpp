#include "sprites/DXSpriteEngine.h"

#include "support/FakePresentationDevice.h"

#include <gtest/gtest.h>

namespace fenu {
namespace {

class CountingSprite final : public TSprite {
public:
    explicit CountingSprite(TSprite* parent) : TSprite(parent) {
        Width = 10;
        Height = 10;
    }
    void DrawStep() override { ++Draws; }
    void MoveStep(int32_t stepCount) override { Moves += stepCount; }
    int Draws = 0;
    int Moves = 0;
};

class DXSpriteEngineTest : public ::testing::Test {
protected:
    DXSpriteEngineTest() { draw.Loaded(); }

    test::FakePresentationSystem system;
    test::FakeDrawAreaWindow window;
    TDXDraw draw{window, system};
};

TEST_F(DXSpriteEngineTest, BindingBeforeTheFirstShowingGivesTheEngineTheBackBufferThen) {
    TDXSpriteEngine component;
    component.SetDXDraw(&draw);
    EXPECT_EQ(component.Engine().Surface(), nullptr);
    window.ShowForm();
    ASSERT_NE(draw.Surface(), nullptr);
    EXPECT_EQ(component.Engine().Surface(), draw.Surface());
    EXPECT_EQ(component.Engine().SurfaceBounds, (TRect{0, 0, 625, 500}));
    EXPECT_EQ(component.Engine().Width, 625);
    EXPECT_EQ(component.Engine().Height, 500);
}

TEST_F(DXSpriteEngineTest, BindingToAnInitializedAreaSetsTheSurfaceAtOnce) {
    window.ShowForm();
    TDXSpriteEngine component;
    component.SetDXDraw(&draw);
    EXPECT_EQ(component.Engine().Surface(), draw.Surface());
}

TEST_F(DXSpriteEngineTest, FinalizingOrUnbindingClearsTheSurfaceButKeepsTheBounds) {
    TDXSpriteEngine component;
    component.SetDXDraw(&draw);
    window.ShowForm();
    draw.Finalize();
    EXPECT_EQ(component.Engine().Surface(), nullptr);
    EXPECT_EQ(component.Engine().SurfaceBounds, (TRect{0, 0, 625, 500}));

    draw.Initialize();
    EXPECT_NE(component.Engine().Surface(), nullptr);
    component.SetDXDraw(nullptr);
    EXPECT_EQ(component.Engine().Surface(), nullptr);
    EXPECT_EQ(component.DXDraw(), nullptr);
}

TEST_F(DXSpriteEngineTest, AResizeKeepsTheBoundsUntilTheNextInitialization) {
    TDXSpriteEngine component;
    component.SetDXDraw(&draw);
    window.ShowForm();
    window.Resize(300, 200);
    EXPECT_EQ(component.Engine().SurfaceBounds, (TRect{0, 0, 625, 500}));
    EXPECT_EQ(component.Engine().Width, 625);
}

TEST_F(DXSpriteEngineTest, DrawAllDrawsOnlyWhileBoundToAnInitializedArea) {
    TDXSpriteEngine component;
    auto* sprite = new CountingSprite(&component.Engine());
    component.Engine().DrawnCount = -1;
    component.DrawAll();
    EXPECT_EQ(sprite->Draws, 0) << "not bound";
    component.SetDXDraw(&draw);
    component.DrawAll();
    EXPECT_EQ(sprite->Draws, 0) << "not initialized";
    EXPECT_EQ(component.Engine().DrawnCount, -1) << "the count is not touched";
    window.ShowForm();
    component.DrawAll();
    EXPECT_EQ(sprite->Draws, 1);
    component.MoveAll(1);
    EXPECT_EQ(sprite->Moves, 1);
}

TEST_F(DXSpriteEngineTest, DestroyingTheAreaUnbindsTheComponent) {
    TDXSpriteEngine component;
    {
        test::FakeDrawAreaWindow ownWindow;
        TDXDraw area(ownWindow, system);
        area.Loaded();
        component.SetDXDraw(&area);
        ownWindow.ShowForm();
        EXPECT_NE(component.Engine().Surface(), nullptr);
    }
    EXPECT_EQ(component.DXDraw(), nullptr);
    EXPECT_EQ(component.Engine().Surface(), nullptr);
    component.DrawAll(); // must not touch the destroyed area
}

TEST_F(DXSpriteEngineTest, DestroyingTheComponentUnregistersItFromTheArea) {
    window.ShowForm();
    {
        TDXSpriteEngine component;
        component.SetDXDraw(&draw);
        new CountingSprite(&component.Engine());
    }
    draw.Finalize(); // would reach a destroyed component if still registered
    EXPECT_FALSE(draw.Initialized());
}

} // namespace
} // namespace fenu
