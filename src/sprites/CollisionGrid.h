#pragma once

#include "platform/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fenu {

class TSprite;

/// Broad phase of the collision pass: a uniform grid over an engine's top-level
/// sprites, so that a probe is tested only against the sprites near it instead of
/// against all of them.
///
/// The pass must not change its meaning: every sprite the plain loop would test
/// with success must be found, and found in Children order. So the grid answers a
/// probe only when it is sure to be exact, and otherwise says "use the plain loop":
/// - the grid is checked against the live sprites before every pass (sprite list,
///   X, Y, Width, Height of each sprite, the engine's own position) and rebuilt
///   when anything differs, so moves made anywhere between passes are seen; the
///   check over every sprite is skipped while no position or size was written;
/// - it refuses trees of more than two levels (a top-level sprite with children is
///   visited whatever its rectangle), inverted rectangles (negative sizes), and
///   sprites whose BoundsRect is not the plain one of their position and size;
/// - candidates come out as ascending Children indices, and the caller still runs
///   the full visit (Collidable, live rectangle, CanCollideWith...) on each.
/// What it cannot see is a collision step that moves a third sprite (neither the
/// probe nor the sprite it was called for) during a pass; for such steps switch
/// TSpriteEngine::BroadPhase off.
class TCollisionGrid {
public:
    /// Below this many top-level sprites the plain loop is as fast.
    static constexpr size_t MinSprites = 48;
    static constexpr int64_t MinCellSize = 16;
    static constexpr int64_t MaxCells = 4096;
    /// A sprite covering more cells than this is kept in a list that every probe
    /// gets as candidates.
    static constexpr int64_t MaxCellsPerSprite = 16;

    /// Brings the grid in line with the engine's children (Children order), the
    /// engine's position and its tree version. Returns whether the grid may answer
    /// probes. Allocates only when the scene outgrows the buffers kept so far.
    bool Prepare(const std::vector<TSprite*>& sprites, double originX, double originY,
                 uint64_t treeVersion);

    /// Ascending, distinct Children indices of every sprite whose rectangle may
    /// overlap probe (strict overlap), into the returned buffer, which stays valid
    /// until the next call. Null when the probe rectangle is inverted, so that the
    /// plain loop must run.
    const std::vector<int32_t>* Candidates(const TRect& probe);

    /// The engine's child at index has left the list, which moved the tree from
    /// versionBefore to versionAfter. A grid that was in step with versionBefore
    /// drops the sprite and renumbers the ones after it, and is in step with
    /// versionAfter; any other grid stays out of step and is rebuilt when next used.
    void ChildRemoved(size_t index, uint64_t versionBefore, uint64_t versionAfter);

private:
    struct Snapshot {
        TSprite* sprite;
        uint64_t xBits;
        uint64_t yBits;
        int32_t width;
        int32_t height;
    };

    bool Matches(const std::vector<TSprite*>& sprites, uint64_t originXBits, uint64_t originYBits,
                 uint64_t treeVersion) const;
    void Rebuild(const std::vector<TSprite*>& sprites);
    void Index();
    int64_t CellX(int64_t x) const;
    int64_t CellY(int64_t y) const;

    bool valid_ = false;
    bool usable_ = false;
    uint64_t treeVersion_ = 0;
    uint64_t originXBits_ = 0;
    uint64_t originYBits_ = 0;
    /// spriteGeometryWrites when the sprites were last checked against the snapshot.
    uint64_t checkedWrites_ = 0;
    std::vector<Snapshot> snapshot_;
    std::vector<TRect> rects_; ///< by Children index

    int64_t minX_ = 0, minY_ = 0;
    int64_t cellSize_ = MinCellSize;
    int cellShift_ = 4; ///< log2 of cellSize_
    int64_t columns_ = 0, rows_ = 0;
    std::vector<int32_t> cellStart_; ///< columns_ * rows_ + 1 offsets into cellSprites_
    std::vector<int32_t> cellSprites_;
    std::vector<int32_t> everywhere_; ///< the sprites too large for the cells
    std::vector<int32_t> candidates_;
    std::vector<uint64_t> marks_; ///< one bit per sprite; all zero between probes
};

} // namespace fenu
