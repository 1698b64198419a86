#pragma once
// The mouse's 2048-byte profile image (protocol/profile_image.h), built from
// a ProfileData.

#include "profiles/profile_data.h"
#include "protocol/profile_image.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace talwyn::device {

// Only the first events of a macro go into the image.
inline constexpr std::size_t kMaxMacroEvents = 128;

static_assert(protocol::kImageDpiLevels == kDpiLevels);

struct DeviceImage {
    std::array<uint8_t, protocol::kProfileImageSize> bytes{};
    // Macro events (of the first 128 per macro) that found no room in the
    // macro area and were left out.
    std::size_t droppedEvents = 0;
};

DeviceImage buildDeviceImage(const ProfileData& profile);

// The name as Windows-1252 single bytes: characters outside the code page
// become '?', the text stops at a NUL and is cut to maxBytes.
std::string toWindows1252(std::u16string_view text, std::size_t maxBytes);

} // namespace talwyn::device
