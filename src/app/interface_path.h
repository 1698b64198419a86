#pragma once
// Whether a device-interface notice concerns the mouse's event interface.

#include <QString>

namespace talwyn::app {

// True when the path holds the vendor and product IDs in upper-case hex
// ("22D4", "1329") and "MI_00", each found after the first character (the
// spelling of the mouse's first interface).
bool isTalwynInterfacePath(const QString& interfacePath);

} // namespace talwyn::app
