#include "sprites/Sprite.h"

#include "sprites/CollisionGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace fenu {

namespace {

// Ids are handed out once per run and never reused, so a stale link to a
// destroyed sprite can never name a newcomer that happens to get its address.
TSpriteId nextSpriteId = 1;

// Truncation toward zero, kept inside int32 so that a sprite flung far away
// cannot make the conversion undefined.
int32_t TruncateToPixel(double value) {
    constexpr double lowest = std::numeric_limits<int32_t>::min();
    constexpr double highest = std::numeric_limits<int32_t>::max();
    if (!(value > lowest)) // also catches NaN
        return value < 0 ? std::numeric_limits<int32_t>::min() : 0;
    if (value >= highest)
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

int32_t SaturatingAdd(int32_t a, int32_t b) {
    const int64_t sum = static_cast<int64_t>(a) + b;
    return static_cast<int32_t>(std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace

TSprite::TSprite(TSprite* parent, TSpriteKind kind) : id_(nextSpriteId++), kind_(kind) {
    if (!parent)
        return;
    parent_ = parent;
    parent->AddChild(this);
    if (auto* engine = dynamic_cast<TSpriteEngine*>(parent))
        engine_ = engine;
    else
        engine_ = parent->engine_;
    if (engine_)
        ++engine_->SpriteTotal;
}

TSprite::~TSprite() {
    DestroyChildren();
    if (parent_) {
        if (engine_)
            --engine_->SpriteTotal;
        parent_->RemoveChild(this);
    }
}

TSpriteEngine* TSprite::TreeEngine() {
    if (parent_)
        return engine_;
    return dynamic_cast<TSpriteEngine*>(this);
}

void TSprite::AddChild(TSprite* child) {
    if (TSpriteEngine* engine = TreeEngine())
        ++engine->treeVersion_;
    children_.push_back(child);
    // Binary search on Z: the newcomer goes in front of every sibling whose Z is
    // greater or equal, so among equal Z the oldest sprite is drawn last (on top).
    int low = 0;
    int high = static_cast<int>(drawList_.size()) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        if (drawList_[middle]->Z < child->Z)
            low = middle + 1;
        else
            high = middle - 1;
    }
    drawList_.insert(drawList_.begin() + low, child);
}

void TSprite::RemoveChild(TSprite* child) {
    TSpriteEngine* engine = TreeEngine();
    const uint64_t versionBefore = engine ? engine->treeVersion_ : 0;
    if (engine)
        ++engine->treeVersion_;
    // Children are usually destroyed last-first, so search from the back.
    if (auto it = std::find(children_.rbegin(), children_.rend(), child); it != children_.rend()) {
        const auto index =
            static_cast<size_t>(std::distance(children_.begin(), std::next(it).base()));
        children_.erase(std::next(it).base());
        // A top-level sprite gone (a bullet that hit): the grid takes it out itself
        // instead of being rebuilt at the next pass.
        if (engine == this)
            engine->grid_->ChildRemoved(index, versionBefore, engine->treeVersion_);
    }
    if (auto it = std::find(drawList_.begin(), drawList_.end(), child); it != drawList_.end())
        drawList_.erase(it);
    if (children_.empty()) {
        // A sprite without children carries no lists.
        std::vector<TSprite*>().swap(children_);
        std::vector<TSprite*>().swap(drawList_);
    }
}

void TSprite::CollideWith(TSprite*, bool&) {}

void TSprite::DrawStep() {}

void TSprite::MoveStep(int32_t) {}

TRect TSprite::BoundsRect() const {
    TRect r;
    r.Left = TruncateToPixel(AbsoluteX());
    r.Top = TruncateToPixel(AbsoluteY());
    r.Right = SaturatingAdd(r.Left, Width);
    r.Bottom = SaturatingAdd(r.Top, Height);
    return r;
}

bool TSprite::CanCollideWith(TSprite*) {
    return true;
}

TSprite* TSprite::Child(int index) const {
    if (children_.empty())
        throw ESpriteError(QStringLiteral("Index of the list exceeds the range. (%1)").arg(index));
    if (index < 0 || index >= static_cast<int>(children_.size()))
        throw EListError(QStringLiteral("Listenindex überschreitet das Maximum (%1)").arg(index));
    return children_[index];
}

void TSprite::DestroyChildren() {
    // Each child removes itself from our lists in its destructor.
    while (!children_.empty())
        delete children_.back();
}

double TSprite::AbsoluteX() const {
    return parent_ ? parent_->AbsoluteX() + X : X.Value();
}

double TSprite::AbsoluteY() const {
    return parent_ ? parent_->AbsoluteY() + Y : Y.Value();
}

int32_t TSprite::CheckCollisions() {
    if (!engine_ || !Collidable)
        return 0;
    TSpriteEngine& engine = *engine_;
    engine.HitCount = 0;
    engine.PassDone = false;
    engine.ProbeRect = BoundsRect();
    engine.ProbeSprite = this;
    const size_t count = engine.children_.size();

    struct DepthGuard {
        int& depth;
        explicit DepthGuard(int& d) : depth(d) { ++depth; }
        ~DepthGuard() { --depth; }
        DepthGuard(const DepthGuard&) = delete;
        DepthGuard& operator=(const DepthGuard&) = delete;
    } depth(engine.passDepth_);
    if (engine.passDepth_ > 1)
        ++engine.nestedPasses_;

    // The first top-level index the plain loop below still has to visit.
    size_t next = 0;
    if (engine.BroadPhase && engine.passDepth_ == 1 && count >= TCollisionGrid::MinSprites &&
        engine.grid_->Prepare(engine.children_, engine.X, engine.Y, engine.treeVersion_)) {
        if (const std::vector<int32_t>* candidates = engine.grid_->Candidates(engine.ProbeRect)) {
            // Every sprite left out has a rectangle that misses the probe's and no
            // children, so the plain loop would do nothing with it.
            next = count;
            const uint64_t version = engine.treeVersion_;
            const uint64_t nested = engine.nestedPasses_;
            for (const int32_t index : *candidates) {
                engine.children_[static_cast<size_t>(index)]->CollisionVisit(engine, this);
                if (engine.treeVersion_ != version || engine.nestedPasses_ != nested) {
                    // A step changed the tree (breaking the rule), or ran a pass of
                    // its own whose steps may have moved any sprite: go on exactly
                    // as the plain loop would, over the live list.
                    next = static_cast<size_t>(index) + 1;
                    break;
                }
            }
        }
    }
    // The count is taken once; the size check only guards against a step that
    // broke the rule of not destroying sprites during a pass.
    for (size_t i = next; i < count && i < engine.children_.size(); ++i)
        engine.children_[i]->CollisionVisit(engine, this);
    return engine.HitCount;
}

void TSprite::CollisionVisit(TSpriteEngine& engine, TSprite* probe) {
    if (!Collidable)
        return;
    if (this != probe && Overlap(BoundsRect(), engine.ProbeRect) && probe->CanCollideWith(this) &&
        CanCollideWith(probe)) {
        ++engine.HitCount;
        probe->CollideWith(this, engine.PassDone);
        if (!probe->Collidable)
            engine.PassDone = true;
    }
    if (engine.PassDone)
        return;
    const size_t count = children_.size();
    for (size_t i = 0; i < count && i < children_.size(); ++i)
        children_[i]->CollisionVisit(engine, probe);
}

void TSprite::MovePass(int32_t stepCount) {
    if (!Movable)
        return;
    MoveStep(stepCount);
    const size_t count = children_.size();
    for (size_t i = 0; i < count && i < children_.size(); ++i)
        children_[i]->MovePass(stepCount);
}

void TSprite::DrawPass(TSpriteEngine& engine) {
    if (!Visible)
        return;
    if (engine_ && Overlap(BoundsRect(), engine.SurfaceBounds)) {
        DrawStep();
        ++engine.DrawnCount;
    }
    const size_t count = drawList_.size();
    for (size_t i = 0; i < count && i < drawList_.size(); ++i)
        drawList_[i]->DrawPass(engine);
}

TSpriteEngine::TSpriteEngine() : TSprite(nullptr), grid_(std::make_unique<TCollisionGrid>()) {}

TSpriteEngine::~TSpriteEngine() {
    // While this is still a whole engine, so the children can count themselves out.
    DestroyChildren();
}

void TSpriteEngine::Move(int32_t stepCount) {
    MovePass(stepCount);
}

void TSpriteEngine::Draw() {
    DrawnCount = 0;
    DrawPass(*this);
}

} // namespace fenu
