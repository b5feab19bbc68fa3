#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace fenu {

/// A handful of cached entries, searched in order, with room for at most Capacity:
/// Find returns the entry that matches, or a slot for a new one (a fresh slot while
/// there is room, else the least recently used one), which the caller then fills.
/// Nothing is allocated once the cache is full.
template <class TEntry> class TRecentlyUsed {
public:
    explicit TRecentlyUsed(size_t capacity) : capacity_(capacity) {}

    struct TFound {
        TEntry& Entry;
        bool Hit; ///< false: a slot for a new entry, still holding an old one or empty
    };

    template <class TMatch> TFound Find(TMatch matches) {
        ++uses_;
        for (TSlot& slot : slots_)
            if (matches(static_cast<const TEntry&>(slot.Entry))) {
                slot.LastUse = uses_;
                return {slot.Entry, true};
            }
        TSlot* slot = nullptr;
        if (slots_.size() < capacity_)
            slot = &slots_.emplace_back();
        else
            slot = &*std::min_element(
                slots_.begin(), slots_.end(),
                [](const TSlot& a, const TSlot& b) { return a.LastUse < b.LastUse; });
        slot->LastUse = uses_;
        return {slot->Entry, false};
    }

    size_t Size() const { return slots_.size(); }

private:
    struct TSlot {
        TEntry Entry;
        uint64_t LastUse = 0;
    };
    size_t capacity_;
    uint64_t uses_ = 0;
    std::vector<TSlot> slots_;
};

} // namespace fenu
