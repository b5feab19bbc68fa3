#pragma once

#include "game/Vector.h"
#include "platform/Geometry.h"
#include "sprites/Sprite.h"

#include <array>
#include <cstdint>

#include <QString>

namespace fenu {

class TBullet;
class TGameState;

/// The ball sprite: alien balls, the player's ball, demo balls and (through
/// TBullet) bullets. Bounces off the field's walls, exchanges the velocity
/// components along the line of contact with a ball it touches, and draws itself
/// as a disc on the field window's canvas.
class TCircle : public TSprite {
public:
    static constexpr std::array<TColor, 6> BallPalette{0xFF0000, 0x00FF00, 0x0000FF,
                                                       0xFFFF00, 0xFF00FF, 0x00FFFF};
    /// Outline of the player's ball and of bullets, alternating with time.
    static constexpr std::array<TColor, 2> BlinkColors{0xFFFFFF, 0xFF0000};
    static constexpr uint32_t PlayerBlinkPeriod = 1000;
    static constexpr uint32_t BulletBlinkPeriod = 500;
    static constexpr int OutlineWidth = 3;
    static constexpr int BulletOutlineWidth = 4;
    static constexpr int TitleFontSize = 10;
    /// The title screen's text, which demo balls also show.
    static const QString& TitleText();
    /// The direction stroke of the player's ball is this many steps long.
    static constexpr double StrokeSteps = 20;

    /// Joins the field window's sprite engine and draws colour, position (with
    /// radius 0, so from the whole field) and velocity; the creator sets the radius.
    explicit TCircle(TGameState& fieldWindow);

    /// Every ball and bullet is of this kind, and no other sprite.
    static constexpr TSpriteKind CircleKind = 1;

    void SetRadius(uint32_t r);
    uint32_t Radius() const { return radius_; }

    void RandomColor();
    void RandomPosition();
    /// Each component a non-zero whole number in -bound .. +bound; a bound below 1
    /// is taken as 1.
    void RandomVelocity(int32_t bound);

    /// The centre on the pixel grid, halves rounded to the even neighbour.
    int32_t MidX() const;
    int32_t MidY() const;

    TGameState& FieldWindow() const { return fieldWindow_; }

    /// This ball as a bullet, or null: asked at every contact and every drawing,
    /// where a dynamic_cast cost a few per cent of a frame crowded with bullets.
    virtual TBullet* AsBullet() { return nullptr; }

    void CollideWith(TSprite* other, bool& done) override;
    void DrawStep() override;
    void MoveStep(int32_t stepCount) override;

    TColor Color = 0;
    TVector Velocity;
    /// Identity of the sprite touched in the current collision work; 0 = none.
    /// Ids are never reused, so a link to a destroyed sprite never matches again.
    TSpriteId Touching = 0;
    /// Touching as it stood after this sprite's previous collision pass.
    TSpriteId TouchingBefore = 0;

private:
    TGameState& fieldWindow_;
    uint32_t radius_ = 0;
};

} // namespace fenu
