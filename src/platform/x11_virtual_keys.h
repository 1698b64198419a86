#pragma once
// X11 keysyms to Windows virtual-key codes.

#include <cstdint>

namespace talwyn::platform {

// The virtual-key code of the key whose level-0 (unshifted) keysym is
// `keysym`, or vk::kNone when the key has no Windows counterpart. Keys are
// named by their unshifted keysym so that Shift+1 is still the key "1".
// Keypad keys give the numpad codes, as with Num Lock on.
uint8_t virtualKeyForKeysym(uint32_t keysym);

} // namespace talwyn::platform
