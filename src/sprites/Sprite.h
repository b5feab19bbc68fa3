#pragma once

#include "platform/Exception.h"
#include "platform/Geometry.h"
#include "sprites/GeometryValue.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace fenu {

class TSpriteEngine;
class TDirectDrawSurface;
class TCollisionGrid;

/// Raised by the sprite tree, e.g. Child(i) on a sprite without children.
class ESpriteError : public Exception {
public:
    using Exception::Exception;
};

/// Raised for an index outside a non-empty list ("Listenindex überschreitet das Maximum (%d)").
class EListError : public Exception {
public:
    using Exception::Exception;
};

/// Identity of a sprite that is never reused within a run, unlike its address:
/// links between sprites (a ball's Touching) store this, so a link to a destroyed
/// sprite can never match a sprite created later at the same address. 0 is "none".
using TSpriteId = uint64_t;

/// A number a family of sprite classes gives its members, so that a collision response
/// tells its own kind from others by an integer. A dynamic_cast there compares type
/// names as strings, and cost a crowded frame twice as much where the linker happened to
/// put a name at the end of a page. 0 is a plain sprite.
using TSpriteKind = uint32_t;

/// Base of every sprite. Sprites form a tree rooted in a TSpriteEngine; a sprite
/// owns its children and leaves its parent's lists when destroyed.
class TSprite {
public:
    /// Joins Parent's lists (Parent may be null only for an engine).
    explicit TSprite(TSprite* parent, TSpriteKind kind = 0);
    virtual ~TSprite();
    TSprite(const TSprite&) = delete;
    TSprite& operator=(const TSprite&) = delete;

    // The overridable steps, in the order the passes know them.
    virtual void CollideWith(TSprite* other, bool& done);
    virtual void DrawStep();
    virtual void MoveStep(int32_t stepCount);
    virtual TRect BoundsRect() const;
    virtual bool CanCollideWith(TSprite* other);

    int ChildCount() const { return static_cast<int>(children_.size()); }
    TSprite* Child(int index) const;
    void DestroyChildren();

    /// Runs the collision pass with this sprite as the probe; returns HitCount.
    int32_t CheckCollisions();

    double AbsoluteX() const;
    double AbsoluteY() const;

    TSpriteId Id() const { return id_; }
    TSpriteKind Kind() const { return kind_; }
    TSpriteEngine* Engine() const { return engine_; }
    TSprite* Parent() const { return parent_; }

    bool Collidable = true;
    bool Movable = true;
    bool Visible = true;
    TGeometryValue<double> X = 0;
    TGeometryValue<double> Y = 0;
    int32_t Z = 0;
    TGeometryValue<int32_t> Width = 0;
    TGeometryValue<int32_t> Height = 0;

private:
    friend class TSpriteEngine;
    void AddChild(TSprite* child);
    void RemoveChild(TSprite* child);
    void MovePass(int32_t stepCount);
    void DrawPass(TSpriteEngine& engine);
    void CollisionVisit(TSpriteEngine& engine, TSprite* probe);
    /// The engine whose tree this sprite heads or belongs to; null for a loose sprite.
    TSpriteEngine* TreeEngine();

    TSpriteEngine* engine_ = nullptr;
    TSprite* parent_ = nullptr;
    std::vector<TSprite*> children_; ///< creation order; owned
    std::vector<TSprite*> drawList_; ///< the same children by Z ascending
    TSpriteId id_;
    TSpriteKind kind_;
};

/// Root of the sprite tree. Runs the whole-tree move and draw passes and holds the
/// state of the running collision pass.
class TSpriteEngine : public TSprite {
public:
    TSpriteEngine();
    ~TSpriteEngine() override;

    void Move(int32_t stepCount);
    void Draw();
    /// Stores the back buffer; a non-null surface also sets SurfaceBounds and the
    /// engine's Width and Height to the surface's size.
    void SetSurface(TDirectDrawSurface* surface);
    TDirectDrawSurface* Surface() const { return surface_; }

    int32_t SpriteTotal = 0;
    int32_t HitCount = 0;
    bool PassDone = false;
    TRect ProbeRect;
    TSprite* ProbeSprite = nullptr;
    int32_t DrawnCount = 0;
    TRect SurfaceBounds;

    /// Lets collision passes over many sprites test only the sprites near the
    /// probe, with the same calls in the same order as the plain loop. Switch it
    /// off only for collision steps that move sprites other than the probe and the
    /// sprite they are called for (see TCollisionGrid).
    bool BroadPhase = true;

private:
    friend class TSprite;

    TDirectDrawSurface* surface_ = nullptr;
    /// Counts every change of the sprite lists anywhere in the tree.
    uint64_t treeVersion_ = 0;
    /// Collision passes running; a pass started from inside another uses the plain
    /// loop, and the outer pass then finishes with the plain loop too, since the
    /// inner pass's steps may have moved any sprite.
    int passDepth_ = 0;
    uint64_t nestedPasses_ = 0;
    std::unique_ptr<TCollisionGrid> grid_;
};

} // namespace fenu
