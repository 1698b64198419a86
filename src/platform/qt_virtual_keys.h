#pragma once
// Qt key codes to Windows virtual-key codes, for keys seen through Qt's own
// key events where no system-wide source exists.

#include <QKeyEvent>

#include <cstdint>

namespace talwyn::platform {

// vk::kNone when the key has no Windows counterpart. Shifted punctuation is
// named by its unshifted key on a US layout.
uint8_t virtualKeyForQtKey(int key, Qt::KeyboardModifiers modifiers);

} // namespace talwyn::platform
