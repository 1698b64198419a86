#include "sim/firmware_image.h"

#include <algorithm>

namespace talwyn::sim {

std::vector<uint8_t> makeFirmwareImage(uint16_t version, std::size_t size) {
    std::vector<uint8_t> image(std::max(size, kFirmwareHeaderSize));
    std::copy(kFirmwareTag.begin(), kFirmwareTag.end(), image.begin());
    image[kFirmwareVersionOffset] = static_cast<uint8_t>(version & 0xFF);
    image[kFirmwareVersionOffset + 1] = static_cast<uint8_t>(version >> 8);
    // A varied filler, so that block and image checksums are not trivial.
    uint32_t seed = 0x2545F491u ^ version;
    for (std::size_t i = kFirmwareHeaderSize; i < image.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        image[i] = static_cast<uint8_t>(seed >> 24);
    }
    return image;
}

std::optional<uint16_t> firmwareImageVersion(std::span<const uint8_t> image) {
    if (image.size() < kFirmwareHeaderSize ||
        !std::equal(kFirmwareTag.begin(), kFirmwareTag.end(), image.begin()))
        return std::nullopt;
    return static_cast<uint16_t>(image[kFirmwareVersionOffset] | (image[kFirmwareVersionOffset + 1] << 8));
}

} // namespace talwyn::sim
