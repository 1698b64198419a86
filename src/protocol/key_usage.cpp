#include "protocol/key_usage.h"

#include <algorithm>
#include <array>
#include <utility>

namespace talwyn::protocol {
namespace {

struct KeyUsage {
    uint16_t virtualKey;
    uint16_t usage;
};

struct KeyRange {
    uint16_t firstKey;
    uint16_t lastKey;
    uint16_t firstUsage;
};

constexpr std::array kRanges{
    KeyRange{0x41, 0x5A, 0x04}, // A-Z
    KeyRange{0x31, 0x39, 0x1E}, // 1-9
    KeyRange{0x70, 0x7B, 0x3A}, // F1-F12
    KeyRange{0x61, 0x69, 0x59}, // numeric pad 1-9
};

// Order matters for the inverse: the first pair with a usage wins, so Pause
// (0x13) precedes Cancel (0x03), which shares its usage.
constexpr auto kSingles = std::to_array<KeyUsage>({
    {0x30, 0x27}, {0x0D, 0x28}, {0x1B, 0x29}, {0x08, 0x2A}, {0x09, 0x2B}, {0x20, 0x2C}, {0xBD, 0x2D},
    {0xBB, 0x2E}, {0xDB, 0x2F}, {0xDD, 0x30}, {0xDC, 0x31}, {0xBA, 0x33}, {0xDE, 0x34}, {0xC0, 0x35},
    {0xBC, 0x36}, {0xBE, 0x37}, {0xBF, 0x38}, {0x14, 0x39}, {0x2C, 0x46}, {0x91, 0x47}, {0x13, 0x48},
    {0x2D, 0x49}, {0x24, 0x4A}, {0x21, 0x4B}, {0x2E, 0x4C}, {0x23, 0x4D}, {0x22, 0x4E}, {0x27, 0x4F},
    {0x25, 0x50}, {0x28, 0x51}, {0x26, 0x52}, {0x90, 0x53}, {0x6F, 0x54}, {0x6A, 0x55}, {0x6D, 0x56},
    {0x6B, 0x57}, {0x60, 0x62}, {0x6E, 0x63}, {0x5D, 0x65}, {0xAF, 0x80}, {0xAE, 0x81}, {0xA2, 0xE0},
    {0xA0, 0xE1}, {0xA4, 0xE2}, {0x5B, 0xE3}, {0xA3, 0xE4}, {0xA1, 0xE5}, {0xA5, 0xE6}, {0x5C, 0xE7},
    {0x03, 0x48},
});

constexpr std::size_t rangeKeyCount() {
    std::size_t count = 0;
    for (const KeyRange& r : kRanges)
        count += r.lastKey - r.firstKey + 1u;
    return count;
}

constexpr auto buildTable() {
    std::array<KeyUsage, rangeKeyCount() + kSingles.size()> table{};
    std::size_t next = 0;
    for (const KeyRange& r : kRanges)
        for (uint16_t key = r.firstKey; key <= r.lastKey; ++key)
            table[next++] = {key, static_cast<uint16_t>(r.firstUsage + (key - r.firstKey))};
    for (const KeyUsage& single : kSingles)
        table[next++] = single;
    return table;
}

constexpr auto kTable = buildTable();

} // namespace

uint16_t virtualKeyToUsage(uint16_t virtualKey) {
    const auto* hit = std::find_if(kTable.begin(), kTable.end(),
                                   [virtualKey](const KeyUsage& k) { return k.virtualKey == virtualKey; });
    return hit != kTable.end() ? hit->usage : virtualKey;
}

uint16_t usageToVirtualKey(uint16_t usage) {
    const auto* hit =
        std::find_if(kTable.begin(), kTable.end(), [usage](const KeyUsage& k) { return k.usage == usage; });
    return hit != kTable.end() ? hit->virtualKey : usage;
}

} // namespace talwyn::protocol
