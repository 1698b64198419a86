#pragma once
// How the mouse shows itself on the bus: its IDs and the HID top-level
// collections the configuration traffic goes through.

#include <cstdint>

namespace talwyn::protocol {

inline constexpr uint16_t kVendorId = 0x22D4;
inline constexpr uint16_t kProductIdNormal = 0x1329;
inline constexpr uint16_t kProductIdBootloader = 0x1328;

struct Collection {
    uint16_t usagePage;
    uint16_t usage;
};

// Every feature report, in normal and in bootloader mode.
inline constexpr Collection kConfigCollection{0xFF01, 2};
// The second vendor collection, opened by the library on request only.
inline constexpr Collection kCompliantCollection{0xFF02, 1};

} // namespace talwyn::protocol
