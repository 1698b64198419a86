#include "devlib/profile_block.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace talwyn::devlib {
namespace {

template <std::size_t N> bool oneOf(uint8_t value, const std::array<uint8_t, N>& allowed) {
    return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
}

uint32_t pollingRateHz(uint8_t code) {
    switch (code) {
    case 2:
        return 500;
    case 4:
        return 250;
    case 8:
        return 125;
    default:
        return 1000;
    }
}

constexpr std::array<uint8_t, 8> kLightingModes{0, 2, 4, 5, 6, 7, 8, 15};
constexpr std::array<uint8_t, 4> kBrightnessSteps{0, 25, 50, 75};
constexpr std::array<uint8_t, 3> kLightingSteps{0, 1, 2};

} // namespace

DeviceButtonEntry profileButtonEntry(std::span<const uint8_t, protocol::kDataBlockSize> block,
                                     std::size_t i) {
    return DeviceButtonEntry::parse(
        block.subspan(kProfileButtonEntriesOffset + kEntrySize * i).first<kEntrySize>());
}

void decodeProfileBlock(std::span<const uint8_t, protocol::kDataBlockSize> block, ProfileSettings& s) {
    s = ProfileSettings{};
    s.profileNumber = block[0] >= 2 && block[0] <= 6 ? block[0] : 1;
    s.pollingRate = pollingRateHz(block[1]);
    s.responseTime = block[2];
    s.angleSnapping = block[3] == 1 ? 1 : 0;
    s.liftOffOption = block[4] == 1 ? 1 : 0;
    s.dpiSettings.first = block[5];
    s.dpiSettings.second = block[6];
    for (std::size_t i = 0; i < 10; ++i)
        s.dpiSettings.values[i] = protocol::getLe16(block, 7 + 2 * i);
    s.lightingMode = oneOf(block[31], kLightingModes) ? block[31] : 1;
    std::memcpy(s.colors.bytes, block.data() + 32, sizeof s.colors.bytes);
    s.brightness = oneOf(block[56], kBrightnessSteps) ? block[56] : 100;
    s.lightingFlag = block[57] == 1 ? 1 : 0;
    s.lightingStep = oneOf(block[58], kLightingSteps) ? block[58] : 1;
    for (std::size_t i = 0; i < TALWYN_PROFILE_BUTTONS; ++i)
        s.buttonSettings[i] = decodeButtonEntry(profileButtonEntry(block, i), static_cast<int32_t>(i + 1));
}

} // namespace talwyn::devlib
