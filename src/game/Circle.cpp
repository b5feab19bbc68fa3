#include "game/Circle.h"

#include "game/Bullet.h"
#include "game/GameState.h"
#include "game/Random.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QString>

namespace fenu {

namespace {

using Real = long double;

// Pixels from reals: nearest integer, halves to the even neighbour (the default
// rounding mode), kept inside int32. rint rather than nearbyint: the same result,
// but the compiler can inline it, and centres are computed for every contact test.
// The whole number goes to int32 by way of double, which holds it exactly: a
// long double converted directly switches the x87 rounding mode there and back,
// and that cost more than the rest of a contact test.
int32_t RoundToPixel(Real value) {
    const Real rounded = std::rint(value);
    if (!(rounded > std::numeric_limits<int32_t>::min()))
        return rounded < 0 ? std::numeric_limits<int32_t>::min() : 0;
    if (rounded >= std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(static_cast<double>(rounded));
}

// Random(n) for a range that a tiny field or a huge radius could make empty.
int32_t RandomBelow(int64_t n) {
    return Random(
        static_cast<int32_t>(std::clamp<int64_t>(n, 0, std::numeric_limits<int32_t>::max())));
}

// One wall of one axis: the overshoot is mirrored, and only a ball moving toward
// the wall is reflected.
void Reflect(double& position, double& velocity, int64_t limit) {
    if (velocity > 0 && position >= limit) {
        position = static_cast<double>(2 * static_cast<Real>(limit) - position);
        velocity = -velocity;
    } else if (velocity < 0 && position <= 0) {
        position = -position;
        velocity = -velocity;
    }
}

} // namespace

const QString& TCircle::TitleText() {
    static const QString text = QStringLiteral("f e N U");
    return text;
}

TCircle::TCircle(TGameState& fieldWindow)
    : TSprite(fieldWindow.Engine, CircleKind), fieldWindow_(fieldWindow) {
    RandomColor();
    RandomPosition();
    RandomVelocity(fieldWindow.GameConfig().MaxStartSpeed);
}

void TCircle::SetRadius(uint32_t r) {
    radius_ = r;
    const auto diameter = static_cast<int32_t>(
        std::min<uint64_t>(2 * static_cast<uint64_t>(r), std::numeric_limits<int32_t>::max()));
    Width = diameter;
    Height = diameter;
}

void TCircle::RandomColor() {
    Color = BallPalette[Random(BallPalette.size())];
}

void TCircle::RandomPosition() {
    const int64_t diameter = 2 * static_cast<int64_t>(radius_);
    X = RandomBelow(fieldWindow_.ClientWidth - diameter);
    Y = RandomBelow(fieldWindow_.ClientHeight - diameter);
}

void TCircle::RandomVelocity(int32_t bound) {
    // A bound of 0 would leave only 0 to draw, and the retry would never end.
    const int32_t m = std::clamp<int32_t>(bound, 1, (std::numeric_limits<int32_t>::max() - 1) / 2);
    do
        Velocity.X = Random(2 * m + 1) - m;
    while (Velocity.X == 0);
    do
        Velocity.Y = Random(2 * m + 1) - m;
    while (Velocity.Y == 0);
}

int32_t TCircle::MidX() const {
    return RoundToPixel(static_cast<Real>(X) + radius_);
}

int32_t TCircle::MidY() const {
    return RoundToPixel(static_cast<Real>(Y) + radius_);
}

void TCircle::MoveStep(int32_t stepCount) {
    TSprite::MoveStep(stepCount);
    double x = static_cast<double>(static_cast<Real>(X) + Velocity.X);
    double y = static_cast<double>(static_cast<Real>(Y) + Velocity.Y);
    // The field may change size, so the limits are read at every step.
    const int64_t diameter = 2 * static_cast<int64_t>(radius_);
    Reflect(x, Velocity.X, fieldWindow_.ClientWidth - diameter);
    Reflect(y, Velocity.Y, fieldWindow_.ClientHeight - diameter);
    X = x;
    Y = y;
}

void TCircle::CollideWith(TSprite* otherSprite, bool& done) {
    TSprite::CollideWith(otherSprite, done);
    if (otherSprite->Kind() != CircleKind)
        return;
    auto* other = static_cast<TCircle*>(otherSprite);

    const int64_t dx = static_cast<int64_t>(other->MidX()) - MidX();
    const int64_t dy = static_cast<int64_t>(other->MidY()) - MidY();
    const int64_t reach = static_cast<int64_t>(radius_) + other->radius_;
    // sqrt(dx^2 + dy^2) <= reach, compared exactly in integers; touching counts.
    if (dx * dx + dy * dy > reach * reach)
        return;

    // Handled already since the links were last cleared.
    if (other->Id() == Touching || Id() == other->Touching)
        return;

    TBullet* selfBullet = AsBullet();
    TBullet* otherBullet = other->AsBullet();
    TBullet* bullet = nullptr;
    TCircle* target = nullptr;
    if (selfBullet && !otherBullet) {
        bullet = selfBullet;
        target = other;
    } else if (otherBullet && !selfBullet) {
        bullet = otherBullet;
        target = this;
    }
    if (bullet && target != fieldWindow_.PlayerBall()) {
        target->Color = bullet->CurrentColor();
        bullet->Hit = true;
        fieldWindow_.BonusPoints += 10;
        fieldWindow_.PlayWave("HIT");
    } else {
        fieldWindow_.PlayWave("TOUCH");
    }

    other->Touching = Id();
    Touching = other->Id();

    // Still in contact from the previous pass: the velocities were exchanged then.
    if (other->Id() == TouchingBefore || Id() == other->TouchingBefore)
        return;

    // Along the line through the two top-left corners; for equal radii it is
    // parallel to the line of centres.
    TVector::Exchange(Velocity, other->Velocity, other->X - X, other->Y - Y,
                      fieldWindow_.ScratchVectors[0], fieldWindow_.ScratchVectors[1]);

    if (fieldWindow_.AttractMode) {
        RandomColor();
        other->RandomColor();
    }
}

void TCircle::DrawStep() {
    TCanvas* canvas = fieldWindow_.Canvas();
    if (!canvas)
        return;
    const bool attract = fieldWindow_.AttractMode;
    const bool isPlayer = !attract && this == fieldWindow_.PlayerBall();
    const uint32_t age = fieldWindow_.Now() - fieldWindow_.StartTicks;

    if (isPlayer) {
        canvas->SetPenColor(BlinkColors[(age / PlayerBlinkPeriod) % 2]);
        canvas->SetPenWidth(OutlineWidth);
        canvas->SetPenStyle(TPenStyle::psSolid);
    } else {
        canvas->SetPenStyle(TPenStyle::psClear);
    }

    if (TBullet* bullet = AsBullet()) {
        canvas->SetPenStyle(TPenStyle::psSolid);
        canvas->SetPenWidth(BulletOutlineWidth);
        canvas->SetPenColor(BlinkColors[(age / BulletBlinkPeriod) % 2]);
        canvas->SetBrushColor(bullet->CurrentColor());
        bullet->StepColor();
    } else {
        canvas->SetBrushColor(Color);
    }
    canvas->SetBrushStyle(TBrushStyle::bsSolid);

    const Real diameter = 2 * static_cast<Real>(radius_);
    canvas->Ellipse(RoundToPixel(X), RoundToPixel(Y), RoundToPixel(X + diameter),
                    RoundToPixel(Y + diameter));

    canvas->SetPenWidth(OutlineWidth);
    canvas->SetPenColor(Color);
    canvas->SetPenStyle(TPenStyle::psSolid);

    if (attract) {
        const QString& text = TitleText();
        canvas->SetFontSize(TitleFontSize);
        canvas->SetFontColor(~Color & 0xFFFFFFu);
        canvas->SetFontBold(true);
        const int w = canvas->TextWidth(text);
        const int h = canvas->TextHeight(text);
        const auto r = static_cast<int32_t>(radius_);
        canvas->TextOut(RoundToPixel(X) + r - w / 2, RoundToPixel(Y) + r - h / 2, text);
    }

    TVector& t1 = fieldWindow_.ScratchVectors[0];
    t1.Assign(Velocity);
    t1.Scale(StrokeSteps);

    if (isPlayer) {
        const int32_t mx = MidX();
        const int32_t my = MidY();
        canvas->Line(mx, my, mx + RoundToPixel(t1.X), my + RoundToPixel(t1.Y));
    }
}

} // namespace fenu
