#pragma once
// The library's commands over the simulated mouse, with a way to read a
// profile back as the library sees it.

#include "devlib/profile_commands.h"
#include "sim_fixture.h"

#include <cstring>

namespace talwyn::devlib::testing {

// Ten levels with the first and second in use, as a host sets them.
inline DpiSettings sampleDpi() {
    DpiSettings dpi{};
    dpi.first = 2;
    dpi.second = 5;
    const uint16_t values[10] = {400, 400, 800, 800, 1600, 3200, 6400, 100, 200, 12000};
    std::memcpy(dpi.values, values, sizeof values);
    return dpi;
}

class DevlibCommandsTest : public SimLibraryTest {
protected:
    CommandChannel& channel() { return library.channel(); }
    // A profile as the library reads it back.
    ProfileSettings readBack(int32_t profile) {
        ProfileSettings settings{};
        ButtonDataSet data{};
        EXPECT_EQ(readProfile(channel(), profile, &settings, &data), kResultOk);
        return settings;
    }
};

} // namespace talwyn::devlib::testing
