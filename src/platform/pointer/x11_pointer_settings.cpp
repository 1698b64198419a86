#include "platform/pointer/x11_pointer_settings.h"

#include <X11/Xlib.h>

#include <memory>

namespace talwyn::platform {

namespace {
struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
} // namespace

// X11 multiplies motion above the threshold by numerator / denominator.
void X11PointerSettings::apply(const PointerRequest& request) {
    const std::unique_ptr<Display, DisplayCloser> display(
        XOpenDisplay(displayName_.empty() ? nullptr : displayName_.c_str()));
    if (!display) {
        return;
    }
    const AccelerationTriple& triple = request.acceleration;
    const int numerator = triple.acceleration == 0 ? 1 : 1 << triple.acceleration;
    XChangePointerControl(display.get(), True, True, numerator, 1, triple.firstThreshold);
    XSync(display.get(), False);
}

} // namespace talwyn::platform
