#include "game/Bullet.h"
#include "game/Circle.h"
#include "support/GameFixture.h"

#include <gtest/gtest.h>

using fenu::TBullet;
using fenu::TCircle;
using fenu::test::GameFixture;
using Calls = std::vector<std::string>;

namespace {

class CircleDrawing : public ::testing::Test {
protected:
    CircleDrawing() {
        f.State.StartTicks = 5000;
        f.Clock.Set(5000);
    }
    Calls Draw(TCircle* ball) {
        f.Canvas.Calls.clear();
        ball->DrawStep();
        return f.Canvas.Calls;
    }
    GameFixture f;
};

TEST_F(CircleDrawing, AnAlienBallIsAPlainDiscWithHalvesRoundedToEven) {
    auto* alien = f.AddBall(2.5, 3.5, 10, 1, 1);
    f.AddBall(300, 300, 20); // the player's ball, last in the list
    alien->Color = 0x00FF00;
    EXPECT_EQ(Draw(alien),
              (Calls{"PenStyle clear", "BrushColor 00ff00", "BrushStyle solid", "Ellipse 2 4 22 24",
                     "PenWidth 3", "PenColor 00ff00", "PenStyle solid"}));
}

TEST_F(CircleDrawing, ThePlayersBallBlinksEverySecondAndShowsItsDirection) {
    auto* player = f.AddBall(100.4, 200, 20, 0.125, -0.3);
    player->Color = 0x0000FF;
    f.Clock.Set(5000 + 999);
    EXPECT_EQ(Draw(player),
              (Calls{"PenColor ffffff", "PenWidth 3", "PenStyle solid", "BrushColor 0000ff",
                     "BrushStyle solid", "Ellipse 100 200 140 240", "PenWidth 3", "PenColor 0000ff",
                     "PenStyle solid", "Line 120 220 122 214"}))
        << "the stroke is 20 steps: (2.5, -6) rounds to (2, -6)";
    f.Clock.Set(5000 + 1000);
    EXPECT_EQ(Draw(player).front(), "PenColor ff0000");
    f.Clock.Set(5000 + 2000);
    EXPECT_EQ(Draw(player).front(), "PenColor ffffff");
}

TEST_F(CircleDrawing, TheBlinkSurvivesAWrapOfTheTickCounter) {
    auto* player = f.AddBall(100, 100, 20);
    f.State.StartTicks = 0xFFFFFF00u;
    f.Clock.Set(0x100); // 512 ms later
    EXPECT_EQ(Draw(player).front(), "PenColor ffffff");
    f.Clock.Set(0x300); // 1024 ms later
    EXPECT_EQ(Draw(player).front(), "PenColor ff0000");
}

TEST_F(CircleDrawing, ABulletBlinksEveryHalfSecondAndStepsItsColourAfterUsingIt) {
    auto* bullet = f.AddBullet(50, 60);
    f.AddBall(300, 300, 20); // player
    bullet->ColorChannels = {257 * 10, 257 * 20, 257 * 30};
    bullet->ColorSteps = {257, -257, 0};
    bullet->Color = 0xFFFF00;
    f.Clock.Set(5000 + 499);
    EXPECT_EQ(Draw(bullet),
              (Calls{"PenStyle clear", "PenStyle solid", "PenWidth 4", "PenColor ffffff",
                     "BrushColor 0a141e", "BrushStyle solid", "Ellipse 50 60 80 90", "PenWidth 3",
                     "PenColor ffff00", "PenStyle solid"}));
    EXPECT_EQ(bullet->CurrentColor(), 0x0b131eu);
    f.Clock.Set(5000 + 500);
    EXPECT_EQ(Draw(bullet)[3], "PenColor ff0000");
}

TEST_F(CircleDrawing, DemoBallsCarryTheProgramsNameCentredInTheInvertedColour) {
    f.State.AttractMode = true;
    auto* demo = f.AddBall(100.5, 50, 30, 2, 2);
    demo->Color = 0xFF00FF;
    // The last ball would be the player's in a game; on the title screen it is not.
    EXPECT_EQ(
        Draw(demo),
        (Calls{"PenStyle clear", "BrushColor ff00ff", "BrushStyle solid", "Ellipse 100 50 160 110",
               "PenWidth 3", "PenColor ff00ff", "PenStyle solid", "FontSize 10", "FontColor 00ff00",
               "FontBold on", "TextWidth f e N U", "TextHeight f e N U", "TextOut 110 73 f e N U"}))
        << "(100 + 30 - 41 div 2, 50 + 30 - 15 div 2)";
}

TEST_F(CircleDrawing, WithoutACanvasNothingIsDrawnAndTheBulletKeepsItsColour) {
    auto* bullet = f.AddBullet(50, 60);
    const auto channels = bullet->ColorChannels;
    f.State.SetCanvas(nullptr);
    bullet->DrawStep();
    EXPECT_EQ(bullet->ColorChannels, channels);
    EXPECT_TRUE(f.Canvas.Calls.empty());
}

TEST_F(CircleDrawing, TheEngineDrawsTheNewestBallFirst) {
    auto* a = f.AddBall(10, 10, 10);
    auto* b = f.AddBall(100, 10, 10);
    a->Color = 0x111111;
    b->Color = 0x222222;
    f.Engine->Draw();
    EXPECT_EQ(f.Canvas.CallsOf("Ellipse"), (Calls{"Ellipse 100 10 120 30", "Ellipse 10 10 30 30"}));
    EXPECT_EQ(f.Engine->DrawnCount, 2);
}

} // namespace
