#include "support/xtest_input.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace talwyn::platform::testing {

XTestInput::XTestInput(const std::string& displayName) : display_(XOpenDisplay(displayName.c_str())) {}

XTestInput::~XTestInput() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

int XTestInput::keycodeFor(uint32_t keysym) const {
    return XKeysymToKeycode(display_, keysym);
}

void XTestInput::key(uint32_t keysym, bool press) {
    XTestFakeKeyEvent(display_, static_cast<unsigned>(keycodeFor(keysym)), press ? True : False, CurrentTime);
    XSync(display_, False);
}

void XTestInput::tap(uint32_t keysym) {
    key(keysym, true);
    key(keysym, false);
}

void XTestInput::movePointer(int x, int y) {
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XSync(display_, False);
}

void XTestInput::button(int button, bool press) {
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), press ? True : False, CurrentTime);
    XSync(display_, False);
}

} // namespace talwyn::platform::testing
