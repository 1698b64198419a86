#pragma once
// The mouse's 1024-byte settings block of one profile, as read back:
//
//   0 profile number | 1 report-rate code (1,2,4,8) | 2 response time
//   3 angle snapping | 4 lift-off option | 5,6 DPI first, second
//   7-26 ten DPI values (LE) | 31 lighting mode | 32-55 colours
//   56 brightness | 57 lighting flag | 58 lighting step
//   65 + 7*i: button entry of button i + 1 (i = 0..5)

#include "devlib/button_encoding.h"
#include "protocol/reports.h"
#include "talwyn_pro_dll.h"

#include <span>

namespace talwyn::devlib {

inline constexpr std::size_t kProfileButtonEntriesOffset = 65;

// Decodes the block into `settings`, buttons from their entries (macro events
// and launch data are read separately).
void decodeProfileBlock(std::span<const uint8_t, protocol::kDataBlockSize> block, ProfileSettings& settings);

// The button entry of button index `i` (0..5) in a block.
DeviceButtonEntry profileButtonEntry(std::span<const uint8_t, protocol::kDataBlockSize> block, std::size_t i);

} // namespace talwyn::devlib
