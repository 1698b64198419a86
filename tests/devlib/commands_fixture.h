#pragma once
// The library's commands over the simulated mouse, with a way to read a
// profile back as the library sees it.

#include "devlib/profile_commands.h"
#include "sim_fixture.h"

namespace talwyn::devlib::testing {

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
