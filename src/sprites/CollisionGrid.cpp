#include "sprites/CollisionGrid.h"

#include "sprites/Sprite.h"

#include <algorithm>
#include <bit>

namespace fenu {

namespace {

// Positions are compared bit for bit: a NaN position then matches itself, and
// the grid is not rebuilt on every pass because of it.
uint64_t Bits(double value) {
    return std::bit_cast<uint64_t>(value);
}

} // namespace

bool TCollisionGrid::Matches(const std::vector<TSprite*>& sprites, uint64_t originXBits,
                             uint64_t originYBits, uint64_t treeVersion) const {
    if (!valid_ || treeVersion != treeVersion_ || originXBits != originXBits_ ||
        originYBits != originYBits_ || sprites.size() != snapshot_.size())
        return false;
    // The one loop over all sprites that every pass pays: four loads and compares
    // per sprite instead of a virtual BoundsRect and four rectangle tests.
    const Snapshot* snapshot = snapshot_.data();
    const size_t count = snapshot_.size();
    for (size_t i = 0; i < count; ++i) {
        const TSprite* s = snapshot[i].sprite;
        if (Bits(s->X) != snapshot[i].xBits || Bits(s->Y) != snapshot[i].yBits ||
            s->Width != snapshot[i].width || s->Height != snapshot[i].height)
            return false;
    }
    return true;
}

bool TCollisionGrid::Prepare(const std::vector<TSprite*>& sprites, double originX, double originY,
                             uint64_t treeVersion) {
    const uint64_t xBits = Bits(originX);
    const uint64_t yBits = Bits(originY);
    // Nothing written since the last check: every sprite is where it was.
    if (valid_ && spriteGeometryWrites == checkedWrites_ && treeVersion == treeVersion_ &&
        xBits == originXBits_ && yBits == originYBits_ && sprites.size() == snapshot_.size())
        return usable_;
    checkedWrites_ = spriteGeometryWrites;
    if (Matches(sprites, xBits, yBits, treeVersion))
        return usable_;
    treeVersion_ = treeVersion;
    originXBits_ = xBits;
    originYBits_ = yBits;
    Rebuild(sprites);
    return usable_;
}

void TCollisionGrid::Rebuild(const std::vector<TSprite*>& sprites) {
    valid_ = true;
    usable_ = true;
    snapshot_.clear();
    rects_.clear();
    for (TSprite* s : sprites) {
        snapshot_.push_back({s, Bits(s->X), Bits(s->Y), s->Width, s->Height});
        // The plain rectangle of position and size; a class whose BoundsRect says
        // otherwise may depend on anything, so the grid cannot vouch for it.
        const TRect plain = s->TSprite::BoundsRect();
        rects_.push_back(plain);
        if (s->ChildCount() > 0 || plain.Right < plain.Left || plain.Bottom < plain.Top ||
            s->BoundsRect() != plain)
            usable_ = false;
    }
    if (rects_.empty())
        usable_ = false;
    if (usable_)
        Index();
}

void TCollisionGrid::ChildRemoved(size_t index, uint64_t versionBefore, uint64_t versionAfter) {
    if (!valid_ || !usable_ || treeVersion_ != versionBefore || index >= snapshot_.size())
        return;
    snapshot_.erase(snapshot_.begin() + static_cast<std::ptrdiff_t>(index));
    rects_.erase(rects_.begin() + static_cast<std::ptrdiff_t>(index));
    const auto removed = static_cast<int32_t>(index);
    // Each cell keeps its ascending order; the cells are compacted in place.
    const auto renumbered = [removed](int32_t sprite) {
        return sprite > removed ? sprite - 1 : sprite;
    };
    const size_t cells = cellStart_.size() - 1;
    int32_t kept = 0;
    for (size_t cell = 0; cell < cells; ++cell) {
        const int32_t first = cellStart_[cell], last = cellStart_[cell + 1];
        cellStart_[cell] = kept;
        for (int32_t k = first; k < last; ++k)
            if (const int32_t sprite = cellSprites_[static_cast<size_t>(k)]; sprite != removed)
                cellSprites_[static_cast<size_t>(kept++)] = renumbered(sprite);
    }
    cellStart_[cells] = kept;
    cellSprites_.resize(static_cast<size_t>(kept));
    std::erase(everywhere_, removed);
    for (int32_t& sprite : everywhere_)
        sprite = renumbered(sprite);
    if (rects_.empty())
        valid_ = false;
    treeVersion_ = versionAfter;
}

// Cells are a power of two wide, so a shift divides (a division here was most of
// a rebuild). Only a probe reaches left of or above the scene; the shift rounds
// that down, and the clamp turns it into the first cell.
int64_t TCollisionGrid::CellX(int64_t x) const {
    return std::clamp<int64_t>((x - minX_) >> cellShift_, 0, columns_ - 1);
}

int64_t TCollisionGrid::CellY(int64_t y) const {
    return std::clamp<int64_t>((y - minY_) >> cellShift_, 0, rows_ - 1);
}

void TCollisionGrid::Index() {
    // Extent of the scene and a cell about the size of its typical sprite.
    int64_t maxX = 0, maxY = 0, sizeSum = 0;
    minX_ = rects_.front().Left;
    minY_ = rects_.front().Top;
    maxX = rects_.front().Right;
    maxY = rects_.front().Bottom;
    for (const TRect& r : rects_) {
        minX_ = std::min<int64_t>(minX_, r.Left);
        minY_ = std::min<int64_t>(minY_, r.Top);
        maxX = std::max<int64_t>(maxX, r.Right);
        maxY = std::max<int64_t>(maxY, r.Bottom);
        sizeSum += std::max<int64_t>(int64_t{r.Right} - r.Left, int64_t{r.Bottom} - r.Top);
    }
    const int64_t typical = sizeSum / static_cast<int64_t>(rects_.size());
    cellSize_ = MinCellSize;
    while (cellSize_ < typical)
        cellSize_ *= 2;
    for (;;) {
        columns_ = (maxX - minX_) / cellSize_ + 1;
        rows_ = (maxY - minY_) / cellSize_ + 1;
        if (columns_ * rows_ <= MaxCells)
            break;
        cellSize_ *= 2;
    }
    cellShift_ = std::countr_zero(static_cast<uint64_t>(cellSize_));

    // Counting sort of the sprites into their cells. Sprites are taken in
    // Children order, so each cell's list comes out ascending.
    const auto cells = static_cast<size_t>(columns_ * rows_);
    cellStart_.reserve(MaxCells + 1); // one allocation for every size of scene
    cellStart_.assign(cells + 1, 0);
    everywhere_.clear();
    for (const TRect& r : rects_) {
        const int64_t x0 = CellX(r.Left), x1 = CellX(r.Right);
        const int64_t y0 = CellY(r.Top), y1 = CellY(r.Bottom);
        if ((x1 - x0 + 1) * (y1 - y0 + 1) > MaxCellsPerSprite)
            continue;
        for (int64_t y = y0; y <= y1; ++y)
            for (int64_t x = x0; x <= x1; ++x)
                ++cellStart_[static_cast<size_t>(y * columns_ + x) + 1];
    }
    for (size_t c = 0; c < cells; ++c)
        cellStart_[c + 1] += cellStart_[c];
    cellSprites_.resize(static_cast<size_t>(cellStart_[cells]));
    // cellStart_ doubles as the fill cursor and is restored afterwards.
    for (size_t i = 0; i < rects_.size(); ++i) {
        const TRect& r = rects_[i];
        const int64_t x0 = CellX(r.Left), x1 = CellX(r.Right);
        const int64_t y0 = CellY(r.Top), y1 = CellY(r.Bottom);
        if ((x1 - x0 + 1) * (y1 - y0 + 1) > MaxCellsPerSprite) {
            everywhere_.push_back(static_cast<int32_t>(i));
            continue;
        }
        for (int64_t y = y0; y <= y1; ++y)
            for (int64_t x = x0; x <= x1; ++x)
                cellSprites_[static_cast<size_t>(
                    cellStart_[static_cast<size_t>(y * columns_ + x)]++)] = static_cast<int32_t>(i);
    }
    for (size_t c = cells; c > 0; --c)
        cellStart_[c] = cellStart_[c - 1];
    cellStart_[0] = 0;
    // The most a probe can collect is every sprite once.
    if (candidates_.capacity() < rects_.size())
        candidates_.reserve(2 * rects_.size());
    const size_t words = (rects_.size() + 63) / 64;
    if (marks_.capacity() < words)
        marks_.reserve(2 * words);
    marks_.assign(words, 0);
}

const std::vector<int32_t>* TCollisionGrid::Candidates(const TRect& probe) {
    if (probe.Right < probe.Left || probe.Bottom < probe.Top)
        return nullptr;
    // The sprites found are marked in a bit set by index, which drops the
    // duplicates of sprites lying in several cells and reads out in ascending
    // order; it is left all zero again for the next probe.
    size_t firstWord = marks_.size(), lastWord = 0;
    const auto mark = [&](int32_t index) {
        const auto word = static_cast<size_t>(index) / 64;
        marks_[word] |= uint64_t{1} << (index % 64);
        firstWord = std::min(firstWord, word);
        lastWord = std::max(lastWord, word);
    };
    for (const int32_t index : everywhere_)
        mark(index);
    // Strict overlap needs the closed intervals to meet, so the cells covering the
    // probe's closed rectangle hold every sprite that can overlap it.
    const int64_t maxX = minX_ + columns_ * cellSize_;
    const int64_t maxY = minY_ + rows_ * cellSize_;
    if (probe.Right >= minX_ && probe.Left < maxX && probe.Bottom >= minY_ && probe.Top < maxY) {
        const int64_t x0 = CellX(probe.Left), x1 = CellX(probe.Right);
        const int64_t y0 = CellY(probe.Top), y1 = CellY(probe.Bottom);
        for (int64_t y = y0; y <= y1; ++y) {
            for (int64_t x = x0; x <= x1; ++x) {
                const auto cell = static_cast<size_t>(y * columns_ + x);
                const int32_t* first = cellSprites_.data() + cellStart_[cell];
                const int32_t* last = cellSprites_.data() + cellStart_[cell + 1];
                for (; first != last; ++first)
                    mark(*first);
            }
        }
    }
    candidates_.clear();
    for (size_t word = firstWord; word <= lastWord && word < marks_.size(); ++word) {
        for (uint64_t bits = marks_[word]; bits != 0; bits &= bits - 1)
            candidates_.push_back(static_cast<int32_t>(word * 64) + std::countr_zero(bits));
        marks_[word] = 0;
    }
    return &candidates_;
}

} // namespace fenu
