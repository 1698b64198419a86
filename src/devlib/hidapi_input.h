#pragma once
// The mouse's input device through hidapi, as hosts of the real library get it.

#include "devlib/input_reader.h"

namespace talwyn::devlib {

class HidapiInputSource final : public InputSource {
public:
    // hid_open by vendor and product: the first interface hidapi enumerates.
    std::unique_ptr<InputDevice> open() override;
    void exit() override;
};

} // namespace talwyn::devlib
