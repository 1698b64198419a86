// The program end to end on a private X server: start it with its own
// simulated mouse, press "Apply" with a synthetic click, and find the
// current profile's image in the mouse's slot.

#include "support/program_process.h"

#include "device/device_image.h"
#include "hid/sim_socket_backend.h"
#include "profiles/profile_file.h"
#include "support/xtest_input.h"
#include "support/xvfb_server.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

// Last: Xlib's macros (None, Bool, ...) would break the headers above.
#include "program_screen.h"

namespace talwyn {
namespace {

namespace fs = std::filesystem;
using talwyn::testing::findWindow;
using talwyn::testing::ProgramProcess;
using talwyn::testing::readFile;
using talwyn::testing::ScreenRect;
using talwyn::testing::waitFor;
using namespace std::chrono_literals;

TEST(ApplyEndToEnd, AClickOnApplyPutsTheCurrentProfileIntoTheMousesSlot) {
    platform::testing::XvfbServer xvfb("1280x800x24");
    if (xvfb.displayName().empty()) {
        GTEST_SKIP() << "Xvfb is not available";
    }
    const fs::path folder = fs::path(TALWYN_TEST_TMP) / "app-e2e";
    fs::remove_all(folder);
    fs::create_directories(folder / "run");
    fs::permissions(folder / "run", fs::perms::owner_all);
    const fs::path output = folder / "program.out";
    ProgramProcess program({"--simulate"},
                           {"DISPLAY=" + xvfb.displayName(), "QT_QPA_PLATFORM=xcb",
                            "XDG_DATA_HOME=" + (folder / "data").string(),
                            "XDG_RUNTIME_DIR=" + (folder / "run").string()},
                           output);
    ASSERT_TRUE(program.started());

    std::string socket;
    ASSERT_TRUE(waitFor([&] {
        const auto announced = talwyn::testing::announcedSocket(output);
        socket = announced.value_or("");
        return announced.has_value();
    })) << readFile(output.string() + ".err");

    Display* display = XOpenDisplay(xvfb.displayName().c_str());
    ASSERT_NE(display, nullptr);
    std::optional<ScreenRect> window;
    EXPECT_TRUE(waitFor([&] { return (window = findWindow(display, "Talwyn PRO Software")).has_value(); }));
    XCloseDisplay(display);
    ASSERT_TRUE(window);
    ASSERT_EQ(window->width, 1024);
    ASSERT_EQ(window->height, 576);

    // Let the start-up synchronization with the mouse finish, then press "Apply" (948, 533, 58 x 25).
    std::this_thread::sleep_for(1s);
    platform::testing::XTestInput input(xvfb.displayName());
    ASSERT_TRUE(input.connected());
    const int applyX = window->x + 948 + 29;
    const int applyY = window->y + 533 + 12;
    input.movePointer(applyX - 5, applyY);
    input.movePointer(applyX, applyY);
    input.button(1, true);
    input.button(1, false);

    const fs::path slotFile =
        folder / "data" / "Orvane" / "Talwyn PRO Software" / "Profiles" / "Default1.profile";
    std::string slotImage;
    std::string expectedImage;
    const bool applied = waitFor([&] {
        ProfileData current;
        if (loadProfile(slotFile, current) != ProfileLoad::Loaded) {
            return false;
        }
        current.slotIndex = 0;
        const auto image = device::buildDeviceImage(current);
        expectedImage.clear();
        for (uint8_t b : image.bytes) {
            static constexpr char kDigits[] = "0123456789abcdef";
            expectedImage += kDigits[b >> 4];
            expectedImage += kDigits[b & 0xF];
        }
        std::string reply;
        if (!hid::sendSimControl(socket, {"state"}, reply)) {
            return false;
        }
        slotImage = nlohmann::json::parse(reply).at("images").at(0).get<std::string>();
        return slotImage == expectedImage;
    });
    EXPECT_TRUE(applied) << readFile(output.string() + ".err");
    EXPECT_EQ(slotImage.substr(2, 16), "50726f66696c6531"); // "Profile1"
}

} // namespace
} // namespace talwyn
