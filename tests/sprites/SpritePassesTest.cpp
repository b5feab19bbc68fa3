#include "LoggingSprite.h"

#include <memory>

#include <gtest/gtest.h>

using fenu::TSprite;
using fenu::TSpriteEngine;
using fenu::test::LoggingSprite;

namespace {

class SpritePasses : public ::testing::Test {
protected:
    SpritePasses() { engine->SurfaceBounds = {0, 0, 625, 500}; }
    LoggingSprite* Make(TSprite* parent, const std::string& name, double x = 0, double y = 0,
                        int32_t size = 10) {
        auto* s = new LoggingSprite(parent, name, log);
        s->Place(x, y, size, size);
        return s;
    }
    std::vector<std::string> Take() { return std::exchange(log, {}); }

    std::vector<std::string> log;
    std::unique_ptr<TSpriteEngine> engine = std::make_unique<TSpriteEngine>();
};

using Log = std::vector<std::string>;

TEST_F(SpritePasses, EqualZIsDrawnNewestFirstSoTheOldestEndsOnTop) {
    Make(engine.get(), "A");
    Make(engine.get(), "B");
    Make(engine.get(), "C");
    engine->Draw();
    EXPECT_EQ((Log{"draw C", "draw B", "draw A"}), Take());
    EXPECT_EQ(engine->DrawnCount, 3);
}

TEST_F(SpritePasses, ANewSpriteIsInsertedByZAmongSiblingsWhoseZChangedLater) {
    // The draw list is sorted only on insertion: A and B join with Z 0 (list B, A),
    // then get Z 5 and -5 without moving. C (Z 0) is placed by binary search: it
    // passes B (-5 < 0) and stops in front of A (5 >= 0).
    auto* a = Make(engine.get(), "A");
    auto* b = Make(engine.get(), "B");
    a->Z = 5;
    b->Z = -5;
    Make(engine.get(), "C");
    engine->Draw();
    EXPECT_EQ((Log{"draw B", "draw C", "draw A"}), Take());
    engine->Move(1);
    EXPECT_EQ((Log{"move A 1", "move B 1", "move C 1"}), Take()) << "Children keep creation order";
}

TEST_F(SpritePasses, OnlySpritesOverlappingTheSurfaceAreDrawnAndCounted) {
    Make(engine.get(), "outsideRight", 625, 0);
    Make(engine.get(), "edgeRight", 624, 0);
    Make(engine.get(), "outsideAbove", 100, -10);
    Make(engine.get(), "edgeAbove", 100, -9);
    Make(engine.get(), "point", 10, 10, 0);
    engine->Draw();
    EXPECT_EQ((Log{"draw point", "draw edgeAbove", "draw edgeRight"}), Take());
    EXPECT_EQ(engine->DrawnCount, 3);
}

TEST_F(SpritePasses, AnInvisibleSpriteHidesItsSubtreeButAnUndrawnOneDoesNot) {
    auto* hidden = Make(engine.get(), "hidden");
    Make(hidden, "hiddenChild");
    auto* offscreen = Make(engine.get(), "offscreen", 1000, 1000);
    Make(offscreen, "child", -990, -990); // absolute (10, 10): on the surface
    hidden->Visible = false;
    engine->DrawnCount = 99;
    engine->Draw();
    EXPECT_EQ((Log{"draw child"}), Take());
    EXPECT_EQ(engine->DrawnCount, 1) << "the pass restarts the count";
}

TEST_F(SpritePasses, MovePassVisitsChildrenInCreationOrderAndSkipsImmovableSubtrees) {
    auto* a = Make(engine.get(), "A");
    Make(a, "A1");
    auto* b = Make(engine.get(), "B");
    Make(b, "B1");
    Make(engine.get(), "C");
    b->Movable = false;
    engine->Move(3);
    EXPECT_EQ((Log{"move A 3", "move A1 3", "move C 3"}), Take());
}

TEST_F(SpritePasses, RectanglesSharingOnlyAnEdgeDoNotCollideButOnePixelOfOverlapDoes) {
    auto* probe = Make(engine.get(), "P", 100, 100, 20);
    Make(engine.get(), "right", 120, 100, 20); // Left == probe's Right
    Make(engine.get(), "below", 100, 120, 20); // Top == probe's Bottom
    Make(engine.get(), "overlap", 119, 119, 20);
    Make(engine.get(), "truncated", 80.9, 100, 20); // Left 80, Right 100: edge only
    EXPECT_EQ(probe->CheckCollisions(), 1);
    EXPECT_EQ((Log{"can P?overlap", "can overlap?P", "hit P->overlap"}), Take());
    EXPECT_EQ(engine->ProbeSprite, probe);
    EXPECT_EQ(engine->ProbeRect, (fenu::TRect{100, 100, 120, 120}));
}

TEST_F(SpritePasses, APassOnAnUncollidableOrLonelyProbeReturnsZeroAndCallsNothing) {
    auto* probe = Make(engine.get(), "P");
    EXPECT_EQ(probe->CheckCollisions(), 0) << "alone in the engine";
    Make(engine.get(), "Q");
    probe->Collidable = false;
    engine->HitCount = 7;
    EXPECT_EQ(probe->CheckCollisions(), 0);
    EXPECT_EQ(engine->HitCount, 7) << "an uncollidable probe leaves the engine untouched";
    EXPECT_TRUE(Take().empty());
    EXPECT_EQ(engine->CheckCollisions(), 0) << "the engine has no engine";
}

TEST_F(SpritePasses, TheProbeIsNotTestedAgainstItselfButItsChildrenAre) {
    auto* probe = Make(engine.get(), "P");
    Make(probe, "P1");
    EXPECT_EQ(probe->CheckCollisions(), 1);
    EXPECT_EQ((Log{"can P?P1", "can P1?P", "hit P->P1"}), Take());
}

TEST_F(SpritePasses, UncollidableAndRefusingSpritesAreSkippedInTestOrder) {
    auto* probe = Make(engine.get(), "P");
    auto* off = Make(engine.get(), "off");
    Make(off, "offChild");
    auto* refuses = Make(engine.get(), "refuses");
    off->Collidable = false;
    refuses->AcceptsCollisions = false;
    EXPECT_EQ(probe->CheckCollisions(), 0);
    EXPECT_EQ((Log{"can P?refuses", "can refuses?P"}), Take())
        << "an uncollidable sprite hides its children; each side is asked, probe first";
    probe->AcceptsCollisions = false;
    probe->CheckCollisions();
    EXPECT_EQ((Log{"can P?refuses"}), Take()) << "the second test runs only after the first holds";
}

TEST_F(SpritePasses, DoneStopsOnlyTheDescentIntoChildrenNotTheTopLevelLoop) {
    auto* probe = Make(engine.get(), "P");
    probe->SetDoneOnHit = true;
    auto* a = Make(engine.get(), "A");
    Make(a, "A1");
    auto* b = Make(engine.get(), "B");
    Make(b, "B1");
    EXPECT_EQ(probe->CheckCollisions(), 2);
    EXPECT_EQ((Log{"can P?A", "can A?P", "hit P->A", "can P?B", "can B?P", "hit P->B"}), Take());
    EXPECT_TRUE(engine->PassDone);

    probe->SetDoneOnHit = false;
    probe->StopCollidingOnHit = true;
    EXPECT_EQ(probe->CheckCollisions(), 2) << "a probe that stops colliding ends the descent too";
    EXPECT_TRUE(engine->PassDone);
}

TEST_F(SpritePasses, TheProbeRectangleIsTakenOnceAtTheStartOfThePass) {
    struct Mover : LoggingSprite {
        using LoggingSprite::LoggingSprite;
        void CollideWith(TSprite* other, bool& done) override {
            LoggingSprite::CollideWith(other, done);
            X += 1000; // runs away mid-pass
        }
    };
    auto* probe = new Mover(engine.get(), "P", log);
    probe->Place(0, 0, 10, 10);
    Make(engine.get(), "A", 5, 5);
    Make(engine.get(), "B", 5, 5);
    EXPECT_EQ(probe->CheckCollisions(), 2);
}

} // namespace
