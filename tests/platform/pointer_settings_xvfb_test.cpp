// The desktop backends of the pointer settings against a private X server:
// the acceleration reaches the server's pointer control on an X11 session
// and is left alone on a Wayland one. GNOME's settings, where present, go to
// gsettings' in-memory backend so no user setting changes.

#include "platform/pointer/pointer_settings.h"
#include "platform/pointer/x11_pointer_settings.h"
#include "support/xvfb_server.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// Last: Xlib defines names (None, Bool) that the headers above use.
#include <X11/Xlib.h>

namespace talwyn::platform {
namespace {

struct PointerControl {
    int numerator = 0;
    int denominator = 0;
    int threshold = 0;
};

PointerControl pointerControl(const std::string& displayName) {
    PointerControl control;
    if (Display* display = XOpenDisplay(displayName.c_str())) {
        XGetPointerControl(display, &control.numerator, &control.denominator, &control.threshold);
        XCloseDisplay(display);
    }
    return control;
}

PointerRequest accelerationRequest(AccelerationTriple triple) {
    PointerRequest request;
    request.acceleration = triple;
    return request;
}

class PointerSettingsXvfbTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (xvfb_.displayName().empty()) {
            GTEST_SKIP() << "Xvfb is not available";
        }
        // An X server resets its settings when its last client leaves: stay connected.
        keepAlive_ = XOpenDisplay(xvfb_.displayName().c_str());
        ASSERT_NE(keepAlive_, nullptr);
    }
    void TearDown() override {
        if (keepAlive_ != nullptr) {
            XCloseDisplay(keepAlive_);
        }
    }

    testing::XvfbServer xvfb_;
    Display* keepAlive_ = nullptr;
};

TEST_F(PointerSettingsXvfbTest, AccelerationReachesTheXServer) {
    X11PointerSettings settings(xvfb_.displayName());
    struct Case {
        AccelerationTriple triple;
        int numerator;
        int threshold;
    };
    for (const Case c : {Case{{4, 12, 2}, 4, 4}, Case{{12, 0, 1}, 2, 12}, Case{kAccelerationOff, 1, 0}}) {
        settings.apply(accelerationRequest(c.triple));
        const PointerControl control = pointerControl(xvfb_.displayName());
        EXPECT_EQ(control.numerator, c.numerator) << c.triple.acceleration;
        EXPECT_EQ(control.denominator, 1);
        if (c.triple.acceleration != 0) {
            EXPECT_EQ(control.threshold, c.threshold) << c.triple.firstThreshold;
        }
    }
}

TEST_F(PointerSettingsXvfbTest, TheDesktopTouchesTheXPointerOnX11SessionsOnly) {
    ::setenv("DISPLAY", xvfb_.displayName().c_str(), 1);
    ::setenv("GSETTINGS_BACKEND", "memory", 1);
    ::unsetenv("XDG_CURRENT_DESKTOP");
    struct Case {
        const char* session;
        const char* waylandDisplay; // null: unset
        int numeratorAfter;
    };
    for (const Case c : {Case{"x11", nullptr, 1}, Case{"wayland", "wayland-test", 4}}) {
        SCOPED_TRACE(c.session);
        ::setenv("XDG_SESSION_TYPE", c.session, 1);
        if (c.waylandDisplay != nullptr) {
            ::setenv("WAYLAND_DISPLAY", c.waylandDisplay, 1);
        } else {
            ::unsetenv("WAYLAND_DISPLAY");
        }
        X11PointerSettings(xvfb_.displayName()).apply(accelerationRequest({4, 12, 2}));
        makeDesktopPointerSettings()->apply(accelerationRequest(kAccelerationOff));
        EXPECT_EQ(pointerControl(xvfb_.displayName()).numerator, c.numeratorAfter);
    }
}

} // namespace
} // namespace talwyn::platform
