#pragma once
// The 2048-byte form in which the mouse stores one on-board profile. The
// offsets below are the whole layout; everything not listed stays zero. The
// program uploads it in two halves (command::kUploadImage).

#include <array>
#include <cstddef>
#include <cstdint>

namespace talwyn::protocol {

// The mouse keeps this many profiles, each in an image of its own.
inline constexpr std::size_t kProfileCount = 5;
inline constexpr std::size_t kProfileImageSize = 2048;
inline constexpr std::size_t kImageDpiLevels = 5;
inline constexpr std::size_t kImageButtonCount = 6;
inline constexpr std::size_t kButtonSlotSize = 7;
inline constexpr std::size_t kEventRecordSize = 7;
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
inline constexpr std::array<std::size_t, kImageDpiLevels> kDpiLevel{0x33, 0x3C, 0x51, 0x5B, 0x60};
inline constexpr std::size_t kLiftOff = 0x46;
inline constexpr std::size_t kAngleSnapOff = 0x47;
inline constexpr std::size_t kDpiLevelCount = 0x56;
inline constexpr std::size_t kReservedB = 0x57;
inline constexpr std::size_t kRippleOff = 0x58;
// Button slots: kind, value, word, word, 0x0F; six used, two more all zero.
inline constexpr std::size_t kButtonSlots = 0x65;
// Macro events of 7 bytes (type, usage word, flag, 24-bit delay), each
// macro closed by an all-zero event.
inline constexpr std::size_t kMacroArea = 0x320;
} // namespace image_offset

// Button slot kinds the program and the simulated mouse both read.
inline constexpr uint8_t kButtonKindKey = 0x02;
inline constexpr uint8_t kButtonKindMacro = 0x03;

} // namespace talwyn::protocol
