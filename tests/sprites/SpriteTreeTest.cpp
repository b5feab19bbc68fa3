#include "LoggingSprite.h"

#include <memory>

#include <gtest/gtest.h>

using fenu::EListError;
using fenu::ESpriteError;
using fenu::TSprite;
using fenu::TSpriteEngine;
using fenu::test::LoggingSprite;

namespace {

class SpriteTree : public ::testing::Test {
protected:
    LoggingSprite* Make(TSprite* parent, const std::string& name) {
        return new LoggingSprite(parent, name, log);
    }
    std::vector<std::string> log;
    std::unique_ptr<TSpriteEngine> engine = std::make_unique<TSpriteEngine>();
};

TEST_F(SpriteTree, ASpriteJoinsItsParentAndIsCountedByTheEngineOfTheTree) {
    auto* a = Make(engine.get(), "A");
    auto* b = Make(a, "B");
    EXPECT_EQ(a->Engine(), engine.get());
    EXPECT_EQ(b->Engine(), engine.get()) << "a grandchild inherits its parent's engine";
    EXPECT_EQ(b->Parent(), a);
    EXPECT_EQ(engine->SpriteTotal, 2);
    ASSERT_EQ(engine->ChildCount(), 1);
    EXPECT_EQ(engine->Child(0), a);
    EXPECT_EQ(a->Child(0), b);
    EXPECT_TRUE(b->Collidable && b->Movable && b->Visible);
    EXPECT_EQ(engine->Engine(), nullptr);
    EXPECT_EQ(engine->Parent(), nullptr);
}

TEST_F(SpriteTree, DestroyingASpriteDestroysItsChildrenLastFirstAndLeavesItsParent) {
    auto* a = Make(engine.get(), "A");
    Make(a, "A1");
    Make(a, "A2");
    auto* b = Make(engine.get(), "B");
    delete a;
    EXPECT_EQ((std::vector<std::string>{"~A", "~A2", "~A1"}), log)
        << "the outer destructor logs first, then its children die last-first";
    EXPECT_EQ(engine->SpriteTotal, 1);
    ASSERT_EQ(engine->ChildCount(), 1);
    EXPECT_EQ(engine->Child(0), b);
}

TEST_F(SpriteTree, DestroyingTheEngineDestroysEverySpriteStillInTheTree) {
    auto* a = Make(engine.get(), "A");
    Make(a, "A1");
    Make(engine.get(), "B");
    engine.reset();
    EXPECT_EQ((std::vector<std::string>{"~B", "~A", "~A1"}), log);
}

TEST_F(SpriteTree, ChildOutsideTheListRaisesTheListErrorsWithTheirMessages) {
    auto* a = Make(engine.get(), "A");
    delete a;
    EXPECT_EQ(engine->ChildCount(), 0);
    try {
        engine->Child(0);
        FAIL() << "Child(0) of a childless sprite must raise";
    } catch (const ESpriteError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Index of the list exceeds the range. (0)"));
    }

    Make(engine.get(), "B");
    try {
        engine->Child(1);
        FAIL() << "Child(1) of a one-child sprite must raise";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Listenindex überschreitet das Maximum (1)"));
    }
    EXPECT_THROW(engine->Child(-1), EListError);
}

TEST_F(SpriteTree, AnIdIsNeverReusedEvenWhenTheAddressIs) {
    // Allocate and free repeatedly; the allocator tends to hand back the same block,
    // which is exactly the case where a pointer link would wrongly match.
    auto* first = Make(engine.get(), "first");
    const auto firstId = first->Id();
    const void* firstAddress = first;
    delete first;
    bool addressReused = false;
    std::vector<fenu::TSpriteId> ids{firstId};
    for (int i = 0; i < 50; ++i) {
        auto* next = Make(engine.get(), "next");
        addressReused = addressReused || static_cast<const void*>(next) == firstAddress;
        for (auto id : ids)
            EXPECT_NE(next->Id(), id);
        ids.push_back(next->Id());
        delete next;
    }
    EXPECT_NE(firstId, 0u) << "0 means no link";
    if (!addressReused)
        GTEST_LOG_(INFO) << "allocator did not reuse the address; ids still checked unique";
}

TEST_F(SpriteTree, BoundsTruncateTowardZeroAndAddTheParentsPosition) {
    auto* a = Make(engine.get(), "A");
    a->Place(-0.5, 10.99, 7, 3);
    EXPECT_EQ(a->BoundsRect(), (fenu::TRect{0, 10, 7, 13}));
    a->Place(-1.5, -0.25, 0, 0);
    EXPECT_EQ(a->BoundsRect(), (fenu::TRect{-1, 0, -1, 0}));

    a->Place(10.5, 20.25, 4, 4);
    auto* child = Make(a, "child");
    child->Place(0.75, 0.75, 2, 2);
    EXPECT_DOUBLE_EQ(child->AbsoluteX(), 11.25);
    EXPECT_DOUBLE_EQ(child->AbsoluteY(), 21.0);
    EXPECT_EQ(child->BoundsRect(), (fenu::TRect{11, 21, 13, 23}));
}

TEST_F(SpriteTree, BoundsOfASpriteFlungFarAwayStayDefined) {
    auto* a = Make(engine.get(), "A");
    a->Place(1e300, -1e300, 10, 10);
    const auto r = a->BoundsRect();
    EXPECT_EQ(r.Left, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(r.Right, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(r.Top, std::numeric_limits<int32_t>::min());
}

} // namespace
