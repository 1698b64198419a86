// The running program on a private X server, driven by synthetic pointer
// input: the firmware update offer at start-up, menus closing on a press
// outside the program, and "Exit" from the tray while an apply runs.

#include "support/program_process.h"

#include "profiles/profile_file.h"

#include "support/spawned_process.h"
#include "support/xtest_input.h"
#include "support/xvfb_server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

// Last: Xlib's macros (None, Bool, ...) would break the headers above.
#include "program_screen.h"

namespace talwyn {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::testing::XTestInput;
using talwyn::testing::findWindow;
using talwyn::testing::findWindowWhere;
using talwyn::testing::ProgramProcess;
using talwyn::testing::readFile;
using talwyn::testing::ScreenRect;
using talwyn::testing::waitFor;

constexpr char kMainTitle[] = "Talwyn PRO Software";
constexpr auto kPersonsPause = 150ms;

// A press and release where a person would put them, after moving there.
void click(XTestInput& input, int x, int y, unsigned button = 1) {
    input.movePointer(x - 4, y - 3);
    std::this_thread::sleep_for(kPersonsPause);
    input.movePointer(x, y);
    std::this_thread::sleep_for(kPersonsPause);
    input.button(button, true);
    std::this_thread::sleep_for(kPersonsPause);
    input.button(button, false);
}

// One private X server, a scratch folder and a pointer per test.
class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (xvfb_.displayName().empty()) {
            GTEST_SKIP() << "Xvfb is not available";
        }
        // Short: the simulated mouse's socket lives below it.
        folder_ = fs::path(TALWYN_TEST_TMP) / "desk" /
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()).substr(0, 12);
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "run");
        fs::permissions(folder_ / "run", fs::perms::owner_all);
        display_ = XOpenDisplay(xvfb_.displayName().c_str());
        ASSERT_NE(display_, nullptr);
        ASSERT_TRUE(input_.connected());
    }
    void TearDown() override {
        if (display_ != nullptr) {
            XCloseDisplay(display_);
        }
    }

    std::vector<std::string> environment(const std::string& hid = {}) const {
        std::vector<std::string> env{"DISPLAY=" + xvfb_.displayName(), "QT_QPA_PLATFORM=xcb",
                                     "XDG_DATA_HOME=" + (folder_ / "data").string(),
                                     "XDG_RUNTIME_DIR=" + (folder_ / "run").string()};
        if (!hid.empty()) {
            env.push_back("TALWYN_HID=" + hid);
        }
        return env;
    }
    std::optional<ScreenRect> window(const std::string& title) { return findWindow(display_, title); }
    // The one shown window that is not the main window: the pop-up.
    std::optional<ScreenRect> popUp() {
        return findWindowWhere(
            display_, [](const std::string& title, const ScreenRect&) { return title != kMainTitle; });
    }

    platform::testing::XvfbServer xvfb_{"1280x800x24"};
    XTestInput input_{xvfb_.displayName()};
    fs::path folder_;
    Display* display_ = nullptr;
};

// The program copied into a folder of its own, beside an updater that
// carries firmware 1.05 and notes its argument, and a simulated mouse at 1.00.
class FirmwareOfferTest : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        const fs::path bin = TALWYN_BIN_DIR;
        program_ = folder_ / "program";
        const fs::path updater = program_ / "Talwyn PRO firmware update software";
        fs::create_directories(updater);
        fs::copy_file(bin / "talwyn-pro", program_ / "talwyn-pro");
        fs::create_symlink(bin / "Talwyn_pro_dll.so", program_ / "Talwyn_pro_dll.so");
        fs::create_directory_symlink(bin / "Talwyn_PRO_Skins", program_ / "Talwyn_PRO_Skins");
        std::ofstream(updater / "Config.ini") << "[Firmware]\r\nVersion=105\r\n";
        const fs::path script = updater / "Talwyn PRO firmware updater";
        std::ofstream(script) << "#!/bin/sh\nprintf '%s' \"$*\" > '" << marker().string() << "'\n";
        fs::permissions(script, fs::perms::owner_exec, fs::perm_options::add);

        socket_ = (folder_ / "run" / "mouse.sock").string();
        mouse_.emplace(std::vector<std::string>{(bin / "talwyn-mouse-sim").string(), "serve", "--socket",
                                                socket_, "--firmware-version", "0100"},
                       xvfb_.displayName());
        ASSERT_TRUE(mouse_->running());
        ASSERT_TRUE(waitFor([this] { return fs::exists(socket_); }));
    }
    fs::path marker() const { return folder_ / "updater-argument.txt"; }
    std::unique_ptr<ProgramProcess> start() {
        return std::make_unique<ProgramProcess>(std::vector<std::string>{}, environment("sim:" + socket_),
                                                folder_ / "program.out", program_ / "talwyn-pro");
    }
    // Waits for the offer and presses its button at (x, y) of the pop-up.
    void answerOffer(int x, int y) {
        std::optional<ScreenRect> offer;
        ASSERT_TRUE(waitFor([&] { return (offer = popUp()).has_value(); }))
            << readFile(folder_ / "program.out.err");
        EXPECT_FALSE(window(kMainTitle)) << "the offer comes before the window";
        std::this_thread::sleep_for(kPersonsPause);
        click(input_, offer->x + x, offer->y + y);
    }

    fs::path program_;
    std::string socket_;
    std::optional<platform::testing::SpawnedProcess> mouse_;
};

TEST_F(FirmwareOfferTest, DecliningTheOfferEndsTheProgramWithoutAWindow) {
    struct Case {
        const char* button;
        int x, y; // the button's middle in the pop-up
    };
    for (const Case& c : {Case{"Cancel", 334 + 29, 155 + 13}, Case{"Close", 381 + 9, 4 + 8}}) {
        SCOPED_TRACE(c.button);
        auto program = start();
        ASSERT_TRUE(program->started());
        answerOffer(c.x, c.y);
        std::optional<int> code;
        bool windowShown = false;
        EXPECT_TRUE(waitFor([&] {
            windowShown = windowShown || window(kMainTitle).has_value();
            return (code = program->exitCode()).has_value();
        }));
        EXPECT_EQ(code, 0);
        EXPECT_FALSE(windowShown);
        EXPECT_FALSE(fs::exists(marker()));
    }
}

TEST_F(FirmwareOfferTest, AcceptingTheOfferStartsTheUpdaterAndTheProgramGoesOn) {
    auto program = start();
    ASSERT_TRUE(program->started());
    answerOffer(269 + 29, 156 + 13);
    EXPECT_TRUE(waitFor([&] { return fs::exists(marker()) && readFile(marker()) == "1"; }));
    EXPECT_TRUE(waitFor([&] { return window(kMainTitle).has_value(); }));
    EXPECT_FALSE(program->exitCode().has_value());
}

TEST_F(DesktopTest, APressOnTheDesktopClosesAnOpenSlotMenu) {
    ProgramProcess program({"--simulate"}, environment(), folder_ / "program.out");
    ASSERT_TRUE(program.started());
    std::optional<ScreenRect> main;
    ASSERT_TRUE(waitFor([&] { return (main = window(kMainTitle)).has_value(); }))
        << readFile(folder_ / "program.out.err");
    ASSERT_LT(main->x + main->width, 1250);

    // The small numbered button of slot 1 (293, 65, 12 x 16) opens the slot menu.
    click(input_, main->x + 299, main->y + 73);
    ASSERT_TRUE(waitFor([&] { return window("menu").has_value(); }));
    std::this_thread::sleep_for(kPersonsPause);

    click(input_, 1250, 780); // the bare desktop
    EXPECT_TRUE(waitFor([&] { return !window("menu").has_value(); }));
    EXPECT_TRUE(window(kMainTitle).has_value());
}

TEST_F(DesktopTest, ExitFromTheTrayDuringAnApplyEndsTheProgramAndLeavesWholeSlotFiles) {
    const platform::testing::SpawnedProcess windowManager({"openbox"}, xvfb_.displayName());
    const platform::testing::SpawnedProcess trayHost(
        {"trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request"}, xvfb_.displayName());
    if (!windowManager.running() || !trayHost.running() ||
        !waitFor([&] { return window("panel").has_value(); }, 10s)) {
        GTEST_SKIP() << "no tray host (openbox and trayer) on this machine";
    }
    ProgramProcess program({"--simulate"}, environment(), folder_ / "program.out");
    ASSERT_TRUE(program.started());
    std::optional<ScreenRect> main;
    ASSERT_TRUE(waitFor([&] { return (main = window(kMainTitle)).has_value(); }))
        << readFile(folder_ / "program.out.err");
    std::this_thread::sleep_for(1s); // the start-up synchronization with the mouse

    // "Apply" (948, 533, 58 x 25): its pauses keep the mouse busy for about two seconds.
    click(input_, main->x + 948 + 29, main->y + 533 + 12);
    const std::optional<ScreenRect> icon = window("panel");
    ASSERT_TRUE(icon);
    click(input_, icon->x + icon->width / 2, icon->y + icon->height / 2, 3);
    std::optional<ScreenRect> menu;
    ASSERT_TRUE(waitFor([&] { return (menu = window("menu")).has_value(); }));
    click(input_, menu->x + menu->width / 2, menu->y + menu->height * 3 / 4); // "Exit", the second item

    std::optional<int> exitCode;
    ASSERT_TRUE(waitFor([&] { return (exitCode = program.exitCode()).has_value(); }))
        << "the program went on";
    EXPECT_EQ(exitCode, 0) << readFile(folder_ / "program.out.err");
    const fs::path profiles = folder_ / "data" / "Orvane" / "Talwyn PRO Software" / "Profiles";
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(profiles)) {
        files.push_back(entry.path().filename().string());
        ProfileData stored;
        EXPECT_EQ(loadProfile(entry.path(), stored), ProfileLoad::Loaded) << files.back();
    }
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"Default1.profile", "Default2.profile", "Default3.profile",
                                               "Default4.profile", "Default5.profile"}));
}

} // namespace
} // namespace talwyn
