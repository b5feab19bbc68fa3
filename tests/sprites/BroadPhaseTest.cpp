// The collision pass with the grid must make exactly the calls of the plain loop:
// the same CanCollideWith and CollideWith calls in the same order, the same
// HitCount and PassDone, whatever the scene and whatever happens between passes.
#include "sprites/CollisionGrid.h"
#include "sprites/Sprite.h"

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace fenu::test {
namespace {

struct Call {
    char kind; // 'c' CanCollideWith, 'h' CollideWith, 'n' nested pass result
    int self;
    int other;
    friend bool operator==(const Call&, const Call&) = default;
};

std::ostream& operator<<(std::ostream& out, const Call& c) {
    return out << c.kind << ' ' << c.self << "->" << c.other;
}

class World;

/// A sprite whose steps are logged and whose reactions are set per sprite, the
/// same in both worlds of a comparison.
class TestSprite final : public TSprite {
public:
    TestSprite(TSprite* parent, World& world, int id);
    ~TestSprite() override;

    void CollideWith(TSprite* other, bool& done) override;
    bool CanCollideWith(TSprite* other) override;
    TRect BoundsRect() const override;

    int Id;
    bool Refuses = false;  ///< CanCollideWith answers false
    bool SetsDone = false; ///< sets Done on a hit
    bool StopsColliding = false;
    double MoveSelfBy = 0;     ///< the probe moves itself on a hit
    double MoveOtherBy = 0;    ///< the probe moves the sprite it hit
    bool NestedPass = false;   ///< the probe runs the hit sprite's pass from its step
    bool DestroysLast = false; ///< breaks the rule: destroys the newest bystander
    double VX = 0, VY = 0;
    mutable long BoundsQueries = 0;

private:
    World& world_;
    bool inNested_ = false;
};

/// One engine with sprites addressed by id, so two worlds can be driven alike.
class World {
public:
    explicit World(bool broadPhase) { engine->BroadPhase = broadPhase; }
    // The sprites write to byId as they go, so they go first.
    ~World() { engine.reset(); }

    TestSprite* Create(TSprite* parent = nullptr) {
        auto* s =
            new TestSprite(parent ? parent : engine.get(), *this, static_cast<int>(byId.size()));
        byId.push_back(s);
        return s;
    }
    TestSprite* Get(int id) const { return byId[static_cast<size_t>(id)]; }
    std::vector<int> LiveIds() const {
        std::vector<int> ids;
        for (TestSprite* s : byId)
            if (s)
                ids.push_back(s->Id);
        return ids;
    }

    std::unique_ptr<TSpriteEngine> engine = std::make_unique<TSpriteEngine>();
    std::vector<TestSprite*> byId; ///< null once destroyed
    std::vector<Call> log;
    int nesting = 0; ///< passes run from inside a step
    long boundsQueries = 0;
};

TRect TestSprite::BoundsRect() const {
    ++BoundsQueries;
    ++world_.boundsQueries;
    return TSprite::BoundsRect();
}

TestSprite::TestSprite(TSprite* parent, World& world, int id)
    : TSprite(parent), Id(id), world_(world) {}

TestSprite::~TestSprite() {
    world_.byId[static_cast<size_t>(Id)] = nullptr;
}

bool TestSprite::CanCollideWith(TSprite* other) {
    world_.log.push_back({'c', Id, static_cast<TestSprite*>(other)->Id});
    return !Refuses;
}

void TestSprite::CollideWith(TSprite* otherSprite, bool& done) {
    auto* other = static_cast<TestSprite*>(otherSprite);
    world_.log.push_back({'h', Id, other->Id});
    X += MoveSelfBy;
    other->Y += MoveOtherBy;
    if (SetsDone)
        done = true;
    if (StopsColliding)
        Collidable = false;
    if (NestedPass && !inNested_ && !other->inNested_) {
        inNested_ = true;
        ++world_.nesting;
        world_.log.push_back({'n', other->Id, other->CheckCollisions()});
        --world_.nesting;
        inNested_ = false;
    }
    // Never inside a nested pass: the outer pass's probe could be the victim.
    if (DestroysLast && world_.nesting == 0) {
        for (auto it = world_.byId.rbegin(); it != world_.byId.rend(); ++it) {
            TestSprite* s = *it;
            if (s && s != this && s != other && s->Parent() == Engine() && s->ChildCount() == 0) {
                delete s;
                break;
            }
        }
    }
}

/// Drives two worlds, one with the grid and one without, through the same random
/// script and compares what each pass did.
class Comparison {
public:
    explicit Comparison(uint32_t seed) : random_(seed) {}

    double Real(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random_);
    }
    int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }

    /// The same change applied to the sprite of the same id in both worlds.
    template <typename Change> void Both(int id, Change change) {
        change(*grid.Get(id));
        change(*plain.Get(id));
    }

    void AddRandomSprite() {
        TestSprite* a = grid.Create();
        TestSprite* b = plain.Create();
        const int id = a->Id;
        // Whole and fractional positions, negative ones included, so that edges
        // meet exactly and truncation toward zero matters.
        const bool whole = Chance(0.5);
        const double x = whole ? Int(-60, 660) : Real(-60, 660);
        const double y = whole ? Int(-60, 540) : Real(-60, 540);
        static constexpr int Sizes[] = {0, 0, 1, 7, 30, 30, 30, 60, 900};
        const int w = Sizes[Int(0, 8)];
        const int h = Chance(0.8) ? w : Sizes[Int(0, 8)];
        const bool collidable = Chance(0.9);
        const bool refuses = Chance(0.05);
        const bool done = Chance(0.05);
        const bool stops = Chance(0.02);
        const double moveSelf = Chance(0.015) ? Real(-50, 50) : 0;
        const double moveOther = Chance(0.01) ? Real(-50, 50) : 0;
        const bool nested = Chance(0.02);
        const double vx = Real(-8, 8), vy = Real(-8, 8);
        Both(id, [&](TestSprite& s) {
            s.X = x;
            s.Y = y;
            s.Width = w;
            s.Height = h;
            s.Collidable = collidable;
            s.Refuses = refuses;
            s.SetsDone = done;
            s.StopsColliding = stops;
            s.MoveSelfBy = moveSelf;
            s.MoveOtherBy = moveOther;
            s.NestedPass = nested;
            s.VX = vx;
            s.VY = vy;
        });
        (void)b;
    }

    /// Runs the pass of the sprite with this id in both worlds and compares.
    void Pass(int id) {
        grid.log.clear();
        plain.log.clear();
        const int32_t hitsGrid = grid.Get(id)->CheckCollisions();
        const int32_t hitsPlain = plain.Get(id)->CheckCollisions();
        if (grid.log != plain.log) {
            size_t i = 0;
            while (i < grid.log.size() && i < plain.log.size() && grid.log[i] == plain.log[i])
                ++i;
            ADD_FAILURE() << "probe " << id << ": calls differ from call " << i << " of "
                          << plain.log.size() << ": "
                          << (i < grid.log.size() ? ::testing::PrintToString(grid.log[i]) : "end")
                          << " instead of "
                          << (i < plain.log.size() ? ::testing::PrintToString(plain.log[i])
                                                   : "end");
            FAIL();
        }
        ASSERT_EQ(hitsGrid, hitsPlain) << "probe " << id;
        ASSERT_EQ(grid.engine->PassDone, plain.engine->PassDone) << "probe " << id;
        ASSERT_EQ(grid.engine->ProbeRect, plain.engine->ProbeRect) << "probe " << id;
        ASSERT_EQ(grid.LiveIds(), plain.LiveIds());
        passes++;
        calls += static_cast<long>(grid.log.size());
    }

    void AllPasses() {
        std::vector<int> ids = grid.LiveIds();
        std::shuffle(ids.begin(), ids.end(), random_);
        for (int id : ids) {
            if (!grid.Get(id))
                continue; // destroyed by a rule-breaking step meanwhile
            Pass(id);
            if (::testing::Test::HasFatalFailure())
                return;
            if (Chance(0.05))
                Disturb();
        }
    }

    /// Whatever a program may do between passes.
    void Disturb() {
        const std::vector<int> ids = grid.LiveIds();
        if (ids.empty()) {
            AddRandomSprite();
            return;
        }
        const int id = ids[static_cast<size_t>(Int(0, static_cast<int>(ids.size()) - 1))];
        // Weighted kinds of disturbance; the ones that make the grid step aside
        // (children, inverted rectangles) are rare, so most passes use it.
        static constexpr int Weights[] = {30, 15, 15, 10, 10, 10, 3, 1, 3, 3};
        int pick = Int(0, 99);
        int kind = 0;
        while (pick >= Weights[kind])
            pick -= Weights[kind++];
        switch (kind) {
        case 0: {
            const double x = Real(-80, 700), y = Real(-80, 580);
            Both(id, [&](TestSprite& s) {
                s.X = x;
                s.Y = y;
            });
            break;
        }
        case 1:
            AddRandomSprite();
            break;
        case 2:
            if (grid.Get(id)->ChildCount() == 0) {
                delete grid.Get(id);
                delete plain.Get(id);
            }
            break;
        case 3: {
            const bool on = Chance(0.5);
            Both(id, [&](TestSprite& s) { s.Collidable = on; });
            break;
        }
        case 4: {
            // Width, height or both, so that each is seen on its own.
            const int which = Int(0, 2);
            const int w = Chance(0.05) ? -3 : Int(0, 80), h = Int(0, 80);
            Both(id, [&](TestSprite& s) {
                if (which != 1)
                    s.Width = w;
                if (which != 0)
                    s.Height = h;
            });
            break;
        }
        case 5:
            for (World* w : {&grid, &plain}) {
                w->engine->Move(1);
                for (TestSprite* s : w->byId)
                    if (s) {
                        s->X += s->VX;
                        s->Y += s->VY;
                    }
            }
            break;
        case 6: {
            const double ex = Chance(0.5) ? 0 : Real(-20, 20);
            const double ey = Chance(0.5) ? 0 : Real(-20, 20);
            grid.engine->X = ex;
            plain.engine->X = ex;
            grid.engine->Y = ey;
            plain.engine->Y = ey;
            break;
        }
        case 7: {
            // A child: the tree gets a third level and the grid must step aside.
            if (grid.Get(id)->Parent() != grid.engine.get())
                break;
            TestSprite* a = grid.Create(grid.Get(id));
            TestSprite* b = plain.Create(plain.Get(id));
            for (TestSprite* c : {a, b}) {
                c->Width = 20;
                c->Height = 20;
            }
            break;
        }
        case 8: {
            const double nan = std::numeric_limits<double>::quiet_NaN();
            const double x = Chance(0.5) ? nan : -0.5;
            Both(id, [&](TestSprite& s) { s.X = x; });
            break;
        }
        case 9: {
            const bool destroys = Chance(0.3);
            Both(id, [&](TestSprite& s) { s.DestroysLast = destroys; });
            break;
        }
        }
    }

    World grid{true};
    World plain{false};
    long passes = 0;
    long calls = 0;

private:
    std::mt19937 random_;
};

TEST(BroadPhase, MakesTheCallsOfThePlainLoopOnRandomScenes) {
    long passes = 0, calls = 0, gridQueries = 0, plainQueries = 0;
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        Comparison run(seed);
        const int count = run.Int(30, 160); // below and above the grid's threshold
        for (int i = 0; i < count; ++i)
            run.AddRandomSprite();
        for (int round = 0; round < 4; ++round) {
            run.AllPasses();
            ASSERT_FALSE(::testing::Test::HasFatalFailure()) << "seed " << seed;
            for (int d = 0; d < 3; ++d)
                run.Disturb();
        }
        passes += run.passes;
        calls += run.calls;
        gridQueries += run.grid.boundsQueries;
        plainQueries += run.plain.boundsQueries;
    }
    // The comparison means something only if the scenes collide a lot and the grid
    // answered most passes.
    EXPECT_GT(passes, 10000);
    EXPECT_GT(calls, 50000);
    EXPECT_LT(gridQueries * 4, plainQueries * 3);
}

/// A plain scene: 200 sprites of 30 x 30 on a 20 x 10 lattice, 31 pixels apart.
class GridScene : public ::testing::Test {
protected:
    GridScene() {
        for (int i = 0; i < 200; ++i) {
            TestSprite* s = world.Create();
            s->X = (i % 20) * 31;
            s->Y = (i / 20) * 31;
            s->Width = 30;
            s->Height = 30;
        }
    }
    long QueriesSince(long before) const {
        long sum = 0;
        for (TestSprite* s : world.byId)
            if (s)
                sum += s->BoundsQueries;
        return sum - before;
    }
    long Queries() const { return QueriesSince(0); }

    World world{true};
};

TEST_F(GridScene, AProbeIsTestedOnlyAgainstItsNeighboursAndTheGridIsKeptWhileNothingMoves) {
    world.Get(0)->CheckCollisions();
    const long before = Queries();
    for (int id = 0; id < 200; ++id)
        EXPECT_EQ(world.Get(id)->CheckCollisions(), 0);
    // Each probe is tested against a handful of neighbours, not 199 sprites, and a
    // rebuild (which asks every sprite) would cost 200 queries on its own.
    EXPECT_LT(QueriesSince(before), 200 * 12);

    world.engine->Move(1);
    const long afterMove = Queries();
    world.Get(0)->CheckCollisions();
    EXPECT_LT(QueriesSince(afterMove), 200) << "a move pass that moves nothing keeps the grid";
}

TEST_F(GridScene, ASpriteMovedBetweenPassesIsFoundAtItsNewPlace) {
    world.Get(5)->CheckCollisions();
    TestSprite* far = world.Get(199); // bottom right
    far->X = world.Get(0)->X + 10;
    far->Y = world.Get(0)->Y + 10;
    world.log.clear();
    EXPECT_EQ(world.Get(0)->CheckCollisions(), 1);
    EXPECT_EQ(world.log, (std::vector<Call>{{'c', 0, 199}, {'c', 199, 0}, {'h', 0, 199}}));

    far->Width = 0; // a point inside the probe still overlaps it
    far->Height = 0;
    EXPECT_EQ(world.Get(0)->CheckCollisions(), 1);
    far->X = 30; // on the probe's right edge: no overlap
    EXPECT_EQ(world.Get(0)->CheckCollisions(), 0);
}

TEST_F(GridScene, ASpriteResizedBetweenPassesReachesItsNewNeighbours) {
    EXPECT_EQ(world.Get(40)->CheckCollisions(), 0);
    world.Get(0)->Height = 70; // down into rows 1 and 2
    EXPECT_EQ(world.Get(40)->CheckCollisions(), 1);
    world.Get(0)->Height = 30;
    world.Get(0)->Width = 70; // right into columns 1 and 2
    EXPECT_EQ(world.Get(40)->CheckCollisions(), 0);
    EXPECT_EQ(world.Get(2)->CheckCollisions(), 1);
    world.engine->Y = 0.5; // moving the engine moves every sprite; none crosses a pixel
    EXPECT_EQ(world.Get(2)->CheckCollisions(), 1);
    world.engine->Y = -40; // sprite 0 leaves the field above; sprite 2 only moves along
    world.engine->X = 0;
    EXPECT_EQ(world.Get(2)->CheckCollisions(), 1);
}

TEST_F(GridScene, NewLargeAndRemovedSpritesAreSeenByTheNextPass) {
    world.Get(0)->CheckCollisions();
    TestSprite* wide = world.Create();
    wide->X = -1000;
    wide->Y = 40;
    wide->Width = 3000; // across the whole lattice, row 1 and 2
    wide->Height = 30;
    EXPECT_EQ(world.Get(21)->CheckCollisions(), 1);
    EXPECT_EQ(world.Get(199)->CheckCollisions(), 0);
    EXPECT_EQ(world.Get(39)->CheckCollisions(), 1);
    delete wide;
    EXPECT_EQ(world.Get(21)->CheckCollisions(), 0);
}

TEST_F(GridScene, ARemovedSpriteLeavesTheGridWithoutARebuildAndTheRestKeepTheirPlaces) {
    world.Get(0)->CheckCollisions();
    TestSprite* mover = world.Get(150);
    mover->X = world.Get(21)->X + 5; // onto sprite 21, with the indices after it
    mover->Y = world.Get(21)->Y + 5;
    EXPECT_EQ(world.Get(21)->CheckCollisions(), 1);
    delete world.Get(3); // an earlier sprite: every later index moves down by one
    const long afterRemoval = Queries();
    world.log.clear();
    EXPECT_EQ(world.Get(21)->CheckCollisions(), 1);
    EXPECT_EQ(world.log, (std::vector<Call>{{'c', 21, 150}, {'c', 150, 21}, {'h', 21, 150}}));
    EXPECT_EQ(world.Get(199)->CheckCollisions(), 0);
    EXPECT_LT(QueriesSince(afterRemoval), 100) << "rebuilt, which asks all 199 sprites";
}

TEST_F(GridScene, AProbeWithoutArea) {
    world.Get(0)->CheckCollisions();
    TestSprite* probe = world.Create();
    probe->X = 31; // the shared corner of sprites 0, 1, 20 and 21 (gaps of one pixel)
    probe->Y = 31;
    EXPECT_EQ(probe->CheckCollisions(), 0) << "a point on edges overlaps nothing";
    probe->X = 40;
    probe->Y = 40;
    EXPECT_EQ(probe->CheckCollisions(), 1) << "a point inside sprite 21 overlaps it";
}

TEST(CollisionGrid, RefusesScenesItCannotAnswerExactly) {
    World world(true);
    std::vector<TSprite*> sprites;
    for (int i = 0; i < 60; ++i) {
        TestSprite* s = world.Create();
        s->Width = 10;
        s->Height = 10;
        s->X = i * 11;
    }
    TCollisionGrid grid;
    const auto children = [&]() -> const std::vector<TSprite*>& {
        sprites.clear();
        for (TestSprite* s : world.byId)
            if (s && s->Parent() == world.engine.get())
                sprites.push_back(s);
        return sprites;
    };
    EXPECT_TRUE(grid.Prepare(children(), 0, 0, 1));
    world.Get(3)->Width = -5;
    EXPECT_FALSE(grid.Prepare(children(), 0, 0, 1)) << "inverted rectangle";
    world.Get(3)->Width = 5;
    EXPECT_TRUE(grid.Prepare(children(), 0, 0, 1));
    world.Create(world.Get(4));
    EXPECT_FALSE(grid.Prepare(children(), 0, 0, 2)) << "a top-level sprite with children";
    EXPECT_EQ(grid.Candidates({10, 10, 0, 20}), nullptr) << "an inverted probe";
}

} // namespace
} // namespace fenu::test
