#include "platform/x11_keymap.h"

#include "platform/x11_virtual_keys.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace talwyn::platform {

std::optional<KeycodeTable> readKeycodeTable(const std::string& displayName) {
    Display* display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (display == nullptr) {
        return std::nullopt;
    }
    int minKeycode = 0;
    int maxKeycode = 0;
    XDisplayKeycodes(display, &minKeycode, &maxKeycode);
    KeycodeTable table{};
    for (int keycode = minKeycode; keycode <= maxKeycode && keycode < static_cast<int>(table.size());
         ++keycode) {
        const KeySym keysym = XkbKeycodeToKeysym(display, static_cast<KeyCode>(keycode), 0, 0);
        table[static_cast<std::size_t>(keycode)] = virtualKeyForKeysym(static_cast<uint32_t>(keysym));
    }
    XCloseDisplay(display);
    return table;
}

} // namespace talwyn::platform
