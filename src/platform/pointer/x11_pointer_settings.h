#pragma once
// The X server's pointer acceleration: the one pointer setting plain X11 has.
// Only for X11 sessions; on Wayland, XWayland's copy of it moves nothing.

#include "platform/pointer/pointer_settings.h"

#include <string>

namespace talwyn::platform {

class X11PointerSettings final : public PointerSettings {
public:
    // The display named, or DISPLAY's when empty.
    explicit X11PointerSettings(std::string displayName = {}) : displayName_(std::move(displayName)) {}
    void apply(const PointerRequest& request) override;

private:
    std::string displayName_;
};

} // namespace talwyn::platform
