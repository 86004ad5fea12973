#pragma once
#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

// A few values kept by key, the most recently used first; the oldest goes when a new one
// would pass the capacity. For the handful of pictures the list's drawing reuses: a search
// through so few is cheaper than hashing their keys.
template <typename Key, typename Value> class RecentCache {
public:
    explicit RecentCache(std::size_t capacity)
        : capacity_(capacity) {}

    // The value kept for `key`, now the most recent; null when there is none.
    Value* Find(const Key& key) {
        const auto found = std::find_if(entries_.begin(), entries_.end(),
                                        [&key](const auto& entry) { return entry.first == key; });
        if (found == entries_.end())
            return nullptr;
        std::rotate(entries_.begin(), found, found + 1);
        return &entries_.front().second;
    }

    // Keeps `value` for `key` in place of any value kept for it before.
    Value& Insert(const Key& key, Value value) {
        std::erase_if(entries_, [&key](const auto& entry) { return entry.first == key; });
        entries_.insert(entries_.begin(), {key, std::move(value)});
        if (entries_.size() > capacity_)
            entries_.pop_back();
        return entries_.front().second;
    }

private:
    std::size_t capacity_;
    std::vector<std::pair<Key, Value>> entries_;
};
