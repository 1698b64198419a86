#pragma once
// The virtual-key code of every keycode of an X display.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace talwyn::platform {

using KeycodeTable = std::array<uint8_t, 256>;

// Reads the display's keyboard map once: each keycode is named by its
// level-0 keysym of the first layout group. nullopt when the display cannot
// be opened.
std::optional<KeycodeTable> readKeycodeTable(const std::string& displayName);

} // namespace talwyn::platform
