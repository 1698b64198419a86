#pragma once
// Firmware images the simulated bootloader understands: the first block
// starts with a tag and the version the image installs (low byte first, as
// the version reply carries it); the rest is filler. An image without the tag
// is written all the same but leaves the running version as it was.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace talwyn::sim {

inline constexpr std::array<uint8_t, 8> kFirmwareTag{'T', 'W', 'P', 'R', 'O', 'F', 'W', '1'};
inline constexpr std::size_t kFirmwareVersionOffset = kFirmwareTag.size();
inline constexpr std::size_t kFirmwareHeaderSize = kFirmwareVersionOffset + 2;

// An image of `size` bytes (at least the header) that installs `version`;
// the filler is the same for the same arguments.
std::vector<uint8_t> makeFirmwareImage(uint16_t version, std::size_t size);

// The version an image names, or nothing without the tag.
std::optional<uint16_t> firmwareImageVersion(std::span<const uint8_t> image);

} // namespace talwyn::sim
