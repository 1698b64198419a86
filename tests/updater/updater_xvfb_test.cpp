// The firmware update as a person goes through it, on a private X server with
// synthetic input: the program finds a mouse at firmware 1.00, offers the
// update at start, starts the updater with "1", Enter updates the mouse, and
// the support page shows the new version once the mouse is back. A second
// update with a refused block leaves the mouse in bootloader mode; the next
// start of the updater finds it there and recovers it.

#include "hid/sim_socket_backend.h"
#include "support/program_process.h"
#include "support/scratch_folder.h"
#include "support/spawned_process.h"
#include "support/wait_for.h"
#include "support/xtest_input.h"
#include "support/xvfb_server.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

// Last: it brings Xlib's macros.
#include "support/x11_windows.h"
#include <X11/keysym.h>

namespace talwyn {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::testing::capturePixels;
using platform::testing::findWindow;
using platform::testing::findWindowWhere;
using platform::testing::ScreenRect;
using talwyn::testing::waitFor;

const fs::path kUpdaterProgram =
    fs::path(TALWYN_BIN_DIR) / "Talwyn PRO firmware update software" / "Talwyn PRO firmware updater";
constexpr char kUpdaterTitle[] = "Talwyn PRO firmware updater";
constexpr char kMainTitle[] = "Talwyn PRO Software";
// The simulated update can take a while on a busy machine: the library's
// own pauses alone add up to a few seconds.
constexpr auto kUpdatePatience = 120s;

// Arguments of every running updater, for each process.
std::vector<std::vector<std::string>> runningUpdaters() {
    std::vector<std::vector<std::string>> found;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream file(entry.path() / "cmdline", std::ios::binary);
        std::vector<std::string> argv;
        for (std::string arg; std::getline(file, arg, '\0');)
            argv.push_back(arg);
        if (!argv.empty() && argv.front() == kUpdaterProgram.string())
            found.push_back(argv);
    }
    return found;
}

struct MouseState {
    std::string mode;
    int firmwareVersion = 0;
};

class UpdaterEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (xvfb_.displayName().empty())
            GTEST_SKIP() << "Xvfb is not available";
        fs::create_directories(folder_ / "run");
        fs::permissions(folder_ / "run", fs::perms::owner_all);
        mouse_.emplace(std::vector<std::string>{fs::path(TALWYN_BIN_DIR) / "talwyn-mouse-sim", "serve",
                                                "--socket", socket_.string(), "--firmware-version", "0100",
                                                "--log", (folder_ / "wire.log").string()},
                       xvfb_.displayName());
        ASSERT_TRUE(mouse_->running());
        ASSERT_TRUE(waitFor([&] { return state().has_value(); }));
        display_ = XOpenDisplay(xvfb_.displayName().c_str());
        ASSERT_NE(display_, nullptr);
    }
    void TearDown() override {
        if (display_ != nullptr)
            XCloseDisplay(display_);
        std::error_code ignored;
        fs::remove(socket_, ignored);
    }

    std::optional<MouseState> state() const {
        std::string reply;
        if (!hid::sendSimControl(socket_, {"state"}, reply))
            return std::nullopt;
        const auto json = nlohmann::json::parse(reply, nullptr, false);
        if (json.is_discarded() || !json.contains("mode"))
            return std::nullopt;
        return MouseState{json["mode"].get<std::string>(), json["firmwareVersion"].get<int>()};
    }
    bool mouseReaches(const std::string& mode, int version) const {
        return waitFor(
            [&] {
                const auto s = state();
                return s && s->mode == mode && s->firmwareVersion == version;
            },
            kUpdatePatience);
    }
    void control(const std::vector<std::string>& command) const {
        std::string reply;
        ASSERT_TRUE(hid::sendSimControl(socket_, command, reply)) << reply;
    }

    std::optional<ScreenRect> waitWindow(const std::string& title) {
        std::optional<ScreenRect> window;
        waitFor([&] { return (window = findWindow(display_, title)).has_value(); });
        return window;
    }
    // A person's click: the pointer comes from the side, then presses and releases.
    void click(int x, int y) {
        input_.movePointer(x - 6, y + 2);
        std::this_thread::sleep_for(150ms);
        input_.movePointer(x, y);
        std::this_thread::sleep_for(150ms);
        input_.button(1, true);
        std::this_thread::sleep_for(120ms);
        input_.button(1, false);
    }
    // Enter (or another key) on the updater window, after a click on its
    // title band brings it to the front as a person would.
    void keyOnUpdater(uint32_t keysym) {
        const auto window = waitWindow(kUpdaterTitle);
        ASSERT_TRUE(window);
        click(window->x + window->width / 2, window->y + 20);
        std::this_thread::sleep_for(300ms);
        input_.tap(keysym);
    }
    void updaterEnds() {
        keyOnUpdater(XK_Escape);
        ASSERT_TRUE(waitFor([] { return runningUpdaters().empty(); }));
    }
    std::vector<unsigned long> firmVersionPixels(const ScreenRect& window) {
        // "Firm Version" (500, 310, 28 x 10) on the page at (0, 88).
        return capturePixels(display_, {window.x + 500, window.y + 88 + 310, 28, 10});
    }
    int transfersWritten() const {
        std::ifstream log(folder_ / "wire.log");
        int count = 0;
        for (std::string line; std::getline(log, line);)
            count += line.find("bootloader: firmware 0106 written") != std::string::npos ? 1 : 0;
        return count;
    }

    platform::testing::XvfbServer xvfb_{"1280x800x24"};
    testing::ScratchFolder folder_{"updater-e2e"};
    const fs::path socket_ =
        fs::path(TALWYN_TEST_TMP) / ("updater-e2e-" + std::to_string(::getpid()) + ".sock");
    std::optional<platform::testing::SpawnedProcess> mouse_;
    Display* display_ = nullptr;
    platform::testing::XTestInput input_{xvfb_.displayName()};
};

TEST_F(UpdaterEndToEnd, TheOfferAtStartUpdatesTheMouseAndTheNextStartRecoversAFailedUpdate) {
    ASSERT_TRUE(input_.connected());
    ASSERT_TRUE(runningUpdaters().empty()) << "an updater of another run is still there";
    testing::ProgramProcess program({},
                                    {"DISPLAY=" + xvfb_.displayName(), "QT_QPA_PLATFORM=xcb",
                                     "XDG_DATA_HOME=" + (folder_ / "data").string(),
                                     "XDG_RUNTIME_DIR=" + (folder_ / "run").string(),
                                     "TALWYN_HID=sim:" + socket_.string()},
                                    folder_ / "program.out");
    ASSERT_TRUE(program.started());

    // The offer: the pop-up before the main window, "OK" at (269, 156), 58 x 26.
    std::optional<ScreenRect> offer;
    ASSERT_TRUE(waitFor([&] {
        offer = findWindowWhere(display_, [](const std::string&, const ScreenRect& r) {
            return r.width == 404 && r.height == 190;
        });
        return offer.has_value();
    })) << testing::readText(folder_ / "program.out.err");
    std::this_thread::sleep_for(500ms);
    click(offer->x + 269 + 29, offer->y + 156 + 13);

    ASSERT_TRUE(waitWindow(kUpdaterTitle)) << testing::readText(folder_ / "program.out.err");
    ASSERT_EQ(runningUpdaters(), (std::vector<std::vector<std::string>>{{kUpdaterProgram.string(), "1"}}));
    // The person looks at the support page first; the updater covers it, so it
    // is closed and started again from there.
    std::this_thread::sleep_for(1s);
    updaterEnds();
    const auto mainWindow = waitWindow(kMainTitle);
    ASSERT_TRUE(mainWindow);
    click(mainWindow->x + 781 + 35, mainWindow->y + 29 + 9);
    std::this_thread::sleep_for(500ms);
    const auto atFirst = firmVersionPixels(*mainWindow);
    ASSERT_NE(std::adjacent_find(atFirst.begin(), atFirst.end(), std::not_equal_to<>()), atFirst.end())
        << "no version text where the support page shows it";

    // "Check Firmware" (559, 304, 116 x 23): the update is still due.
    const auto checkFirmware = [&] { click(mainWindow->x + 559 + 58, mainWindow->y + 88 + 304 + 11); };
    checkFirmware();
    ASSERT_TRUE(waitWindow(kUpdaterTitle));
    ASSERT_EQ(runningUpdaters(), (std::vector<std::vector<std::string>>{{kUpdaterProgram.string(), "1"}}));
    std::this_thread::sleep_for(1s);
    keyOnUpdater(XK_Return);
    ASSERT_TRUE(mouseReaches("normal", 0x0106)) << testing::readText(folder_ / "wire.log");
    EXPECT_EQ(transfersWritten(), 1);
    std::this_thread::sleep_for(1s);
    updaterEnds();
    std::vector<unsigned long> afterUpdate;
    EXPECT_TRUE(waitFor([&] {
        afterUpdate = firmVersionPixels(*mainWindow);
        return afterUpdate != atFirst;
    })) << "the support page still shows the old version";

    // Second update, no longer due: every attempt at the second block is refused.
    control({"fault", "firmware", "block", "1", "3"});
    checkFirmware();
    ASSERT_TRUE(waitWindow(kUpdaterTitle));
    ASSERT_EQ(runningUpdaters(), (std::vector<std::vector<std::string>>{{kUpdaterProgram.string(), "2"}}));
    std::this_thread::sleep_for(1s);
    keyOnUpdater(XK_Return);
    ASSERT_TRUE(mouseReaches("bootloader", 0x0106));
    ASSERT_TRUE(waitFor([&] {
        return testing::readText(folder_ / "wire.log").find("injected refusal of the firmware block") !=
               std::string::npos;
    }));
    // The updater has reported the failure and lets itself be closed.
    std::this_thread::sleep_for(2s);
    updaterEnds();
    EXPECT_TRUE(waitFor([&] { return firmVersionPixels(*mainWindow) != afterUpdate; }))
        << "the support page still shows a version while the mouse is in bootloader mode";

    // The next start finds the mouse in bootloader mode and recovers it.
    testing::ScopedEnv hid("TALWYN_HID", ("sim:" + socket_.string()).c_str());
    testing::ScopedEnv qpa("QT_QPA_PLATFORM", "xcb");
    testing::ScopedEnv runtime("XDG_RUNTIME_DIR", (folder_ / "run").c_str());
    platform::testing::SpawnedProcess updater({kUpdaterProgram.string()}, xvfb_.displayName());
    ASSERT_TRUE(waitWindow(kUpdaterTitle));
    std::this_thread::sleep_for(1s);
    keyOnUpdater(XK_Return);
    ASSERT_TRUE(mouseReaches("normal", 0x0106));
    EXPECT_EQ(transfersWritten(), 2);
    std::this_thread::sleep_for(1s);
    updaterEnds();
    EXPECT_TRUE(waitFor([&] { return firmVersionPixels(*mainWindow) == afterUpdate; }))
        << "the support page does not show the recovered mouse's version";
}

} // namespace
} // namespace talwyn
