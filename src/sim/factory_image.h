#pragma once
// The profile images the simulated mouse leaves the factory with, and
// returns to on a reset. Written out as bytes rather than built by the
// program's encoder, so that the simulator stays an independent check of it.

#include "protocol/profile_image.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace talwyn::sim {

using Image = std::array<uint8_t, protocol::kProfileImageSize>;

// Slot 0..4: named "Profile1" to "Profile5".
Image factoryImage(std::size_t slot);

} // namespace talwyn::sim
