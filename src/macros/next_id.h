#pragma once
// Identifier allocation shared by macros and their events.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <unordered_set>
#include <vector>

namespace talwyn {

// One more than the largest id in use and never below `minimum`. Ids come
// from files, so the largest can be the int32 maximum already: then the
// smallest free id from `minimum` up is taken instead of wrapping around.
inline int32_t nextFreeId(const std::vector<int32_t>& used, int32_t minimum) {
    int64_t next = minimum;
    for (int32_t id : used)
        next = std::max<int64_t>(next, int64_t{id} + 1);
    if (next <= std::numeric_limits<int32_t>::max())
        return static_cast<int32_t>(next);
    const std::unordered_set<int32_t> taken(used.begin(), used.end());
    int32_t candidate = minimum;
    while (taken.contains(candidate))
        ++candidate;
    return candidate;
}

} // namespace talwyn
