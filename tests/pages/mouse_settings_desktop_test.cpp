// The desktop backend of the pointer settings against a private X server:
// the acceleration reaches the server's pointer control. GNOME's settings,
// where present, go to gsettings' in-memory backend so no user setting changes.

#include "pages/pointer_settings.h"
#include "platform/xvfb_server.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// Last: Xlib defines names (None, Bool) that the headers above use.
#include <X11/Xlib.h>

namespace talwyn::pages {
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

TEST(DesktopPointerSettings, AccelerationReachesTheXServer) {
    platform::testing::XvfbServer xvfb;
    if (xvfb.displayName().empty()) {
        GTEST_SKIP() << "Xvfb is not available";
    }
    // An X server resets its settings when its last client leaves: stay connected.
    Display* keepAlive = XOpenDisplay(xvfb.displayName().c_str());
    ASSERT_NE(keepAlive, nullptr);
    ::setenv("DISPLAY", xvfb.displayName().c_str(), 1);
    ::setenv("GSETTINGS_BACKEND", "memory", 1);
    const auto settings = makeDesktopPointerSettings();

    struct Case {
        int32_t enabled;
        int16_t level;
        int numerator;
        int threshold;
    };
    for (const Case c : {Case{1, 3, 4, 4}, Case{1, 1, 2, 12}, Case{0, 3, 1, 0}}) {
        ProfileData profile;
        profile.accelEnabled = c.enabled;
        profile.accelLevel = c.level;
        settings->apply(pointerRequestFor(profile));
        const PointerControl control = pointerControl(xvfb.displayName());
        EXPECT_EQ(control.numerator, c.numerator) << c.enabled << "/" << c.level;
        EXPECT_EQ(control.denominator, 1);
        if (c.enabled != 0) {
            EXPECT_EQ(control.threshold, c.threshold) << c.level;
        }
    }
    XCloseDisplay(keepAlive);
}

} // namespace
} // namespace talwyn::pages
