#pragma once
// Windows virtual-key codes <-> HID keyboard usages (page 7), as the mouse
// stores keys. Codes without an entry pass through unchanged both ways.

#include <cstdint>

namespace talwyn::protocol {

uint16_t virtualKeyToUsage(uint16_t virtualKey);
// Where two keys share a usage, Pause wins over Cancel.
uint16_t usageToVirtualKey(uint16_t usage);

} // namespace talwyn::protocol
