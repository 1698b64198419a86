#pragma once
// The mouse's input device with real hardware: the interface hid_open
// would pick, found through hidapi, its hidraw node read directly.

#include "devlib/input_reader.h"

namespace talwyn::devlib {

class HidapiInputSource final : public InputSource {
public:
    // hid_open by vendor and product: the first interface hidapi enumerates.
    std::unique_ptr<InputDevice> open() override;
    void exit() override;
};

} // namespace talwyn::devlib
