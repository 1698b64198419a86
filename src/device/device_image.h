#pragma once
// The 2048-byte form in which the mouse stores one on-board profile, built
// from a ProfileData. The offsets below are the whole layout; everything not
// listed stays zero.

#include "profiles/profile_data.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace talwyn::device {

inline constexpr std::size_t kDeviceImageSize = 2048;
inline constexpr std::size_t kMaxMacroEvents = 128;
inline constexpr std::size_t kImageButtonCount = 6;
inline constexpr std::size_t kEventRecordSize = 7;
inline constexpr std::size_t kButtonSlotSize = 7;
inline constexpr std::size_t kNameBytes = 15;

namespace image_offset {
inline constexpr std::size_t kSlotIndex = 0x00;
inline constexpr std::size_t kName = 0x01;      // 15 bytes + zero
inline constexpr std::size_t kImageSize = 0x11; // uint32 0x800
inline constexpr std::size_t kReportInterval = 0x15;
inline constexpr std::size_t kEnabled = 0x16;
inline constexpr std::size_t kColorA = 0x17;     // lightColors[0], scaled by brightness
inline constexpr std::size_t kColorD = 0x1B;     // lightColors[3], scaled by brightness
inline constexpr std::size_t kBrightness = 0x20; // percent
inline constexpr std::size_t kColorB = 0x21;     // lightColors[1]
inline constexpr std::size_t kColorC = 0x25;     // lightColors[2], three times
inline constexpr std::size_t kActiveDpiLevel = 0x32;
// Resolution level entries: flag byte, x word, y word (x again).
inline constexpr std::array<std::size_t, kDpiLevels> kDpiLevel{0x33, 0x3C, 0x51, 0x5B, 0x60};
inline constexpr std::size_t kLiftOff = 0x46;
inline constexpr std::size_t kAngleSnapOff = 0x47;
inline constexpr std::size_t kDpiLevelCount = 0x56;
inline constexpr std::size_t kReservedB = 0x57;
inline constexpr std::size_t kRippleOff = 0x58;
// Button slots: kind, value, word, word, 0x0F; six used, two more all zero.
inline constexpr std::size_t kButtonSlots = 0x65;
inline constexpr std::size_t kMacroArea = 0x320;
} // namespace image_offset

struct DeviceImage {
    std::array<uint8_t, kDeviceImageSize> bytes{};
    // Macro events (of the first 128 per macro) that found no room in the
    // macro area and were left out.
    std::size_t droppedEvents = 0;
};

DeviceImage buildDeviceImage(const ProfileData& profile);

// Windows virtual-key code to HID keyboard usage; unlisted codes pass unchanged.
uint16_t virtualKeyToUsage(uint16_t virtualKey);

// The name as Windows-1252 single bytes: characters outside the code page
// become '?', the text stops at a NUL and is cut to maxBytes.
std::string toWindows1252(std::u16string_view text, std::size_t maxBytes);

} // namespace talwyn::device
