// The program on a private X server with its simulated mouse: a key assigned
// to button 2 and three resolution levels set through the pages with
// synthetic input reach the mouse's slot on "Apply", and the mouse's own
// resolution button moves the sensor page's indicator.

#include "device/device_image.h"
#include "hid/sim_socket_backend.h"
#include "platform/xtest_input.h"
#include "platform/xvfb_server.h"
#include "profiles/profile_file.h"
#include "ui_layout/control_table.h"

#include <QProcess>
#include <QRect>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

// Last: Xlib defines names (None, Bool) that the headers above use.
#include "platform/x11_windows.h"
#include <X11/keysym.h>

namespace talwyn {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::testing::XTestInput;

bool eventually(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(100ms);
    }
    return true;
}

// A viewable top-level window, found by its title or by its size.
struct TopWindow {
    QRect rect;
};

std::optional<TopWindow> findTopWindow(const std::string& displayName,
                                       const std::function<bool(const std::string&, QSize)>& matches) {
    Display* display = XOpenDisplay(displayName.c_str());
    if (display == nullptr) {
        return std::nullopt;
    }
    const auto found = platform::testing::findWindowWhere(
        display, [&](const std::string& title, const platform::testing::ScreenRect& rect) {
            return matches(title, QSize(rect.width, rect.height));
        });
    XCloseDisplay(display);
    if (!found) {
        return std::nullopt;
    }
    return TopWindow{QRect(found->x, found->y, found->width, found->height)};
}

class Desktop {
public:
    Desktop(XTestInput& input, QPoint origin) : input_(input), origin_(origin) {}

    void click(QPoint point) {
        const QPoint at = origin_ + point;
        input_.movePointer(at.x() - 3, at.y());
        input_.movePointer(at.x(), at.y());
        input_.button(1, true);
        input_.button(1, false);
        std::this_thread::sleep_for(400ms);
    }
    // The middle of a control of a page, which the main window shows below its header.
    void clickControl(ui_layout::WindowId window, int id) {
        const ui_layout::Rect r = *ui_layout::controlRect(window, id);
        const QPoint offset = window == ui_layout::WindowId::Main ? QPoint() : kPageOrigin;
        click(offset + QPoint(r.x + r.width / 2, r.y + r.height / 2));
    }
    void type(const std::string& digits) {
        input_.key(XK_Control_L, true);
        input_.tap(XK_a);
        input_.key(XK_Control_L, false);
        for (const char digit : digits) {
            input_.tap(static_cast<uint32_t>(digit));
        }
        std::this_thread::sleep_for(400ms); // the page carries the typed number to its slider
    }

    static constexpr QPoint kPageOrigin{0, 88};

private:
    XTestInput& input_;
    QPoint origin_;
};

// Picks entry `index` of the open skinned menu: entries are equal text lines
// from 4 pixels down, and the menu is 8 pixels taller than its lines.
void pickMenuEntry(const std::string& displayName, XTestInput& input, int index, int entries) {
    std::optional<TopWindow> menu;
    ASSERT_TRUE(eventually([&] {
        menu = findTopWindow(displayName, [](const std::string& title, QSize) { return title == "menu"; });
        return menu.has_value();
    }));
    const double line = (menu->rect.height() - 8) / static_cast<double>(entries);
    Desktop(input, menu->rect.topLeft()).click(QPoint(8, 4 + static_cast<int>((index + 0.5) * line)));
}

struct Program {
    QProcess process;
    std::string socket;

    ~Program() {
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
};

TEST(PagesEndToEnd, KeyAndLevelsReachTheSlotAndTheResolutionButtonMovesTheIndicator) {
    platform::testing::XvfbServer xvfb("1280x800x24");
    if (xvfb.displayName().empty()) {
        GTEST_SKIP() << "Xvfb is not available";
    }
    const fs::path folder = fs::path(TALWYN_TEST_TMP) / "pages-e2e";
    fs::remove_all(folder);
    fs::create_directories(folder / "run");
    fs::permissions(folder / "run", fs::perms::owner_all);

    Program program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("TALWYN_HID"));
    environment.insert(QStringLiteral("DISPLAY"), QString::fromStdString(xvfb.displayName()));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString((folder / "data").string()));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString((folder / "run").string()));
    program.process.setProcessEnvironment(environment);
    program.process.setProcessChannelMode(QProcess::SeparateChannels);
    program.process.start(QStringLiteral(TALWYN_BIN_DIR "/talwyn-pro"), {QStringLiteral("--simulate")});
    ASSERT_TRUE(program.process.waitForStarted());

    const QString announcement = QStringLiteral("Simulated mouse on ");
    QString output;
    ASSERT_TRUE(eventually([&] {
        program.process.waitForReadyRead(100);
        output += QString::fromUtf8(program.process.readAllStandardOutput());
        const auto at = output.indexOf(announcement);
        const auto end = output.indexOf('\n', at);
        if (at < 0 || end < 0) {
            return false;
        }
        program.socket = output.mid(at + announcement.size(), end - at - announcement.size()).toStdString();
        return true;
    })) << program.process.readAllStandardError().toStdString();

    std::optional<TopWindow> main;
    ASSERT_TRUE(eventually([&] {
        main = findTopWindow(xvfb.displayName(),
                             [](const std::string& title, QSize) { return title == "Talwyn PRO Software"; });
        return main.has_value();
    }));
    std::this_thread::sleep_for(3s); // the start-up exchange with the mouse
    XTestInput input(xvfb.displayName());
    ASSERT_TRUE(input.connected());
    Desktop desktop(input, main->rect.topLeft());
    using ui_layout::WindowId;

    // Button 2: "Single key assign..." (fourth entry), press A in the pop-up, confirm.
    desktop.clickControl(WindowId::MouseSettings, 1021);
    pickMenuEntry(xvfb.displayName(), input, 3, 6);
    const ui_layout::Size popupSize = ui_layout::kPopupSize;
    std::optional<TopWindow> popup;
    ASSERT_TRUE(eventually([&] {
        popup = findTopWindow(xvfb.displayName(), [&](const std::string&, QSize size) {
            return size == QSize(popupSize.width, popupSize.height);
        });
        return popup.has_value();
    }));
    input.tap(XK_a);
    std::this_thread::sleep_for(400ms);
    const ui_layout::Rect ok = *ui_layout::controlRect(WindowId::AssignKey, 1076);
    Desktop(input, popup->rect.topLeft()).click(QPoint(ok.x + ok.width / 2, ok.y + ok.height / 2));

    // Sensor page: three levels, typed into the first three level fields.
    desktop.clickControl(WindowId::Main, 1001);
    desktop.clickControl(WindowId::SensorPerformance, 1101);
    pickMenuEntry(xvfb.displayName(), input, 2, 5);
    const std::pair<int, std::string> levels[] = {{1107, "1000"}, {1108, "2512"}, {1109, "4000"}};
    for (const auto& [id, digits] : levels) {
        desktop.clickControl(WindowId::SensorPerformance, id);
        desktop.type(digits);
    }
    desktop.clickControl(WindowId::Main, 1042); // "Apply"

    const fs::path slotFile =
        folder / "data" / "Orvane" / "Talwyn PRO Software" / "Profiles" / "Default1.profile";
    const auto slotProfile = [&] {
        ProfileData profile;
        return loadProfile(slotFile, profile) == ProfileLoad::Loaded ? std::optional(profile) : std::nullopt;
    };
    const auto mouseState = [&] {
        std::string reply;
        return hid::sendSimControl(program.socket, {"state"}, reply) ? nlohmann::json::parse(reply)
                                                                     : nlohmann::json();
    };
    ProfileData stored;
    ASSERT_TRUE(eventually([&] {
        const auto profile = slotProfile();
        if (!profile || profile->buttons[1].function != 13 || profile->dpiLevelCount != 3) {
            return false;
        }
        stored = *profile;
        return true;
    })) << program.process.readAllStandardError().toStdString();
    EXPECT_EQ(stored.buttons[1].param, 0x41);
    EXPECT_EQ(stored.dpi[0].x, 1000);
    EXPECT_EQ(stored.dpi[1].x, 2500);
    EXPECT_EQ(stored.dpi[2].x, 4000);
    EXPECT_EQ(stored.dpi[3].x, 0);
    stored.slotIndex = 0;
    const auto expected = device::buildDeviceImage(stored).bytes;
    std::string expectedHex;
    for (const uint8_t byte : expected) {
        static constexpr char kDigits[] = "0123456789abcdef";
        expectedHex += kDigits[byte >> 4];
        expectedHex += kDigits[byte & 0xF];
    }
    std::string slotHex;
    EXPECT_TRUE(eventually([&] {
        const nlohmann::json state = mouseState();
        slotHex = state.is_null() ? std::string() : state.at("images").at(0).get<std::string>();
        return slotHex == expectedHex;
    }));

    // The mouse's own button moves to the next level; the page follows, so the next apply keeps it.
    // Pressed until it stands on another level than the stored one (it may start on any).
    int level = stored.activeDpiLevel;
    for (int press = 0; press < 3 && level == stored.activeDpiLevel; ++press) {
        std::string reply;
        ASSERT_TRUE(hid::sendSimControl(program.socket, {"press", "dpi"}, reply)) << reply;
        level = mouseState().at("activeDpiLevel").get<int>() + 1;
    }
    ASSERT_NE(level, stored.activeDpiLevel);
    std::this_thread::sleep_for(500ms);
    desktop.clickControl(WindowId::Main, 1042);
    EXPECT_TRUE(eventually([&] {
        const auto profile = slotProfile();
        return profile && profile->activeDpiLevel == level;
    }));
}

} // namespace
} // namespace talwyn
