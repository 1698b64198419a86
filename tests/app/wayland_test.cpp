// The program on a private headless Wayland compositor (weston). With
// XWayland there it picks XWayland by itself, and synthetic X input drives
// it: a page switch, a skinned menu that opens unframed below its button and
// closes on a press outside it, a key assigned in the key pop-up while the
// program has the focus (after the one-time notice saying so), and "Apply"
// reaching the simulated mouse.
// Without XWayland it runs as a native Wayland client and paints its window;
// weston offers no synthetic input to native clients, so the rest is not
// driven there. Presses outside all of the program's windows never reach it
// on Wayland, so the menu is closed by a press on the main window.

#include "support/program_process.h"

#include "device/device_image.h"
#include "hid/sim_socket_backend.h"
#include "profiles/profile_file.h"
#include "support/weston_server.h"
#include "support/x_windows.h"
#include "support/xtest_input.h"
#include "ui_layout/control_table.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

// Last: its macros (None, Bool) would break the headers above.
#include "program_screen.h"
#include <X11/keysym.h>

namespace talwyn {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::testing::findTopWindow;
using platform::testing::WestonServer;
using platform::testing::XTestInput;
using talwyn::testing::readFile;
using talwyn::testing::waitFor;
using ui_layout::WindowId;

constexpr char kMainTitle[] = "Talwyn PRO Software";

template <typename Bytes> std::string hex(const Bytes& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const uint8_t b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 0xF];
    }
    return text;
}

class WaylandSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(folder_ / "data");
        if (weston_.waylandDisplay().empty()) {
            GTEST_SKIP() << "weston did not start here";
        }
    }
    std::vector<std::string> sessionEnvironment(bool withXWayland) const {
        std::vector<std::string> environment{"XDG_SESSION_TYPE=wayland",
                                             "WAYLAND_DISPLAY=" + weston_.waylandDisplay(),
                                             "XDG_RUNTIME_DIR=" + weston_.runtimeFolder().string(),
                                             "XDG_DATA_HOME=" + (folder_ / "data").string()};
        if (withXWayland) {
            environment.push_back("DISPLAY=" + weston_.xDisplay());
        }
        return environment;
    }

    // A folder per test, as ctest runs them side by side; kept short because
    // the compositor's socket path below it has a length limit.
    const fs::path folder_ =
        fs::path(TALWYN_TEST_TMP) /
        ("wayland-" +
         std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()).substr(0, 7));
    WestonServer weston_{folder_ / "weston"};
};

// Presses and releases the left button at `at` of the window at `origin`, at a person's pace.
void click(XTestInput& input, QPoint origin, QPoint at) {
    const QPoint target = origin + at;
    input.movePointer(target.x() - 3, target.y());
    input.movePointer(target.x(), target.y());
    // A hand rests before it presses and holds the button for a moment.
    std::this_thread::sleep_for(100ms);
    input.button(1, true);
    std::this_thread::sleep_for(80ms);
    input.button(1, false);
    std::this_thread::sleep_for(400ms);
}

// Pages sit below the main window's header.
QPoint pageOffset(WindowId window) {
    return window == WindowId::Main ? QPoint() : QPoint(0, 88);
}

QPoint middleOf(WindowId window, int id) {
    const ui_layout::Rect r = *ui_layout::controlRect(window, id);
    return pageOffset(window) + QPoint(r.x + r.width / 2, r.y + r.height / 2);
}

TEST_F(WaylandSessionTest, ThroughXWaylandEveryPartWorksWithTheFocusedWindow) {
    if (weston_.xDisplay().empty()) {
        GTEST_SKIP() << "weston runs without XWayland here";
    }
    const std::string x = weston_.xDisplay();
    const fs::path output = folder_ / "program.out";
    testing::ProgramProcess program({"--simulate"}, sessionEnvironment(true), output);
    ASSERT_TRUE(program.started());
    std::string socket;
    ASSERT_TRUE(waitFor([&] {
        const auto announced = testing::announcedSocket(output);
        socket = announced.value_or("");
        return announced.has_value();
    })) << readFile(output.string() + ".err");

    // Found on XWayland's display: the program chose XWayland by itself.
    const auto mainWindow = [&] {
        return findTopWindow(x, [](const std::string& title, QSize) { return title == kMainTitle; });
    };
    ASSERT_TRUE(waitFor([&] { return mainWindow().has_value(); })) << readFile(output.string() + ".err");
    EXPECT_EQ(mainWindow()->size(), QSize(1024, 576));
    std::this_thread::sleep_for(3s); // the start-up exchange with the mouse
    XTestInput input(x);
    ASSERT_TRUE(input.connected());
    // weston's shell may place a window again after it appears: read each
    // window's place when it is clicked, not when it first shows.
    const auto mainOrigin = [&] { return mainWindow().value_or(QRect()).topLeft(); };
    const auto menuWindow = [&] {
        return findTopWindow(x, [](const std::string& title, QSize) { return title == "menu"; });
    };
    const auto popupWindow = [&] {
        return findTopWindow(x, [](const std::string&, QSize size) {
            return size == QSize(ui_layout::kPopupSize.width, ui_layout::kPopupSize.height);
        });
    };

    // Button 2's menu opens unframed right below its button and closes on a
    // press on the main window outside it.
    click(input, mainOrigin(), middleOf(WindowId::MouseSettings, 1021));
    std::optional<QRect> menu;
    ASSERT_TRUE(waitFor([&] { return (menu = menuWindow()).has_value(); }));
    const ui_layout::Rect button = *ui_layout::controlRect(WindowId::MouseSettings, 1021);
    EXPECT_EQ(menu->topLeft(), mainOrigin() + pageOffset(WindowId::MouseSettings) +
                                   QPoint(button.x, button.y + button.height - 2));
    click(input, mainOrigin(), QPoint(500, 550)); // an empty spot of the bottom band
    EXPECT_TRUE(waitFor([&] { return !menuWindow().has_value(); }));

    // "Single key assign...": the notice comes first, then A goes to the focused pop-up.
    click(input, mainOrigin(), middleOf(WindowId::MouseSettings, 1021));
    ASSERT_TRUE(waitFor([&] { return (menu = menuWindow()).has_value(); }));
    std::this_thread::sleep_for(400ms); // a person reads the entries before choosing one
    const double line = (menu->height() - 8) / 6.0;
    click(input, menu->topLeft(), QPoint(8, 4 + static_cast<int>(3.5 * line)));
    ASSERT_TRUE(waitFor([&] {
        return findTopWindow(x, [](const std::string& title, QSize) { return title == "ORVANE"; })
            .has_value();
    })) << "no notice that keys are captured only while the window is focused";
    input.tap(XK_Return);
    ASSERT_TRUE(waitFor([&] { return popupWindow().has_value(); }));
    std::this_thread::sleep_for(400ms);
    input.tap(XK_a);
    std::this_thread::sleep_for(400ms);
    const std::optional<QRect> popup = popupWindow();
    ASSERT_TRUE(popup.has_value());
    const ui_layout::Rect ok = *ui_layout::controlRect(WindowId::AssignKey, 1076);
    click(input, popup->topLeft(), QPoint(ok.x + ok.width / 2, ok.y + ok.height / 2));
    EXPECT_TRUE(waitFor([&] { return !popupWindow().has_value(); }));

    // A page switch shows another picture.
    const QImage before = platform::testing::grabWindow(x, kMainTitle);
    click(input, mainOrigin(), middleOf(WindowId::Main, 1001));
    EXPECT_TRUE(waitFor([&] {
        const QImage now = platform::testing::grabWindow(x, kMainTitle);
        return !now.isNull() && now != before;
    }));

    click(input, mainOrigin(), middleOf(WindowId::Main, 1042)); // "Apply"
    const fs::path slotFile =
        folder_ / "data" / "Orvane" / "Talwyn PRO Software" / "Profiles" / "Default1.profile";
    ProfileData stored;
    ASSERT_TRUE(waitFor([&] {
        return loadProfile(slotFile, stored) == ProfileLoad::Loaded && stored.buttons[1].function == 13;
    })) << readFile(output.string() + ".err");
    EXPECT_EQ(stored.buttons[1].param, 0x41);
    stored.slotIndex = 0;
    const std::string expected = hex(device::buildDeviceImage(stored).bytes);
    EXPECT_TRUE(waitFor([&] {
        std::string reply;
        return hid::sendSimControl(socket, {"state"}, reply) &&
               nlohmann::json::parse(reply).at("images").at(0).get<std::string>() == expected;
    }));
}

TEST_F(WaylandSessionTest, WithoutXWaylandItPaintsAsANativeClient) {
    const fs::path output = folder_ / "native.out";
    testing::ProgramProcess program({"--simulate", "--startup-report"}, sessionEnvironment(false), output);
    ASSERT_TRUE(program.started());
    EXPECT_EQ(program.wait(), 0) << readFile(output.string() + ".err");
    EXPECT_NE(readFile(output).find("first paint after"), std::string::npos);
}

} // namespace
} // namespace talwyn
