#pragma once
// Display names of Windows virtual-key codes, shown on buttons that carry a
// single key, in the key-capture pop-up and in the macro editor.

#include <string>

namespace talwyn::button_functions {

// Name of a virtual-key code; empty for codes without a name (and outside
// 0..255). Keypad digits and operators share the names of the main keys.
std::u16string keyName(int code);

} // namespace talwyn::button_functions
