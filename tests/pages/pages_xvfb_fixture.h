#pragma once
// The running program on a private X server with its own simulated mouse and
// data folder, driven by synthetic pointer and keyboard input: what the
// end-to-end page tests share.

#include "device/device_image.h"
#include "hid/sim_socket_backend.h"
#include "profiles/profile_file.h"
#include "support/wait_for.h"
#include "support/xtest_input.h"
#include "support/xvfb_server.h"
#include "ui_layout/control_table.h"

#include <QProcess>
#include <QRect>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include <unistd.h>

#include "support/x_windows.h"

// Last: Xlib defines names (None, Bool) that the headers above use.
#include <X11/keysym.h>

namespace talwyn::pages_e2e {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::testing::countTopWindows;
using platform::testing::findTopWindow;
using platform::testing::XTestInput;
using talwyn::testing::waitFor;

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
    void clickControl(ui_layout::WindowId window, int id) { click(controlCentre(window, id)); }
    // Press, a move in small steps as a hand makes it, release.
    void drag(QPoint from, QPoint to) {
        const QPoint start = origin_ + from;
        const QPoint end = origin_ + to;
        input_.movePointer(start.x(), start.y());
        std::this_thread::sleep_for(50ms);
        input_.button(1, true);
        constexpr int kSteps = 20;
        for (int step = 1; step <= kSteps; ++step) {
            std::this_thread::sleep_for(15ms);
            const QPoint at = start + (end - start) * step / kSteps;
            input_.movePointer(at.x(), at.y());
        }
        std::this_thread::sleep_for(50ms);
        input_.button(1, false);
        std::this_thread::sleep_for(400ms);
    }
    // One notch of the wheel (button 4 up, 5 down) over a point.
    void wheel(QPoint point, bool up) {
        const QPoint at = origin_ + point;
        input_.movePointer(at.x(), at.y());
        input_.button(up ? 4 : 5, true);
        input_.button(up ? 4 : 5, false);
        std::this_thread::sleep_for(400ms);
    }
    // Selects the whole text and types `digits`, `pace` between keys.
    void type(const std::string& digits, std::chrono::milliseconds pace) {
        input_.key(XK_Control_L, true);
        input_.tap(XK_a);
        input_.key(XK_Control_L, false);
        for (const char digit : digits) {
            std::this_thread::sleep_for(pace);
            input_.tap(static_cast<uint32_t>(digit));
        }
        std::this_thread::sleep_for(400ms); // the page carries the typed number to its slider
    }
    void press(uint32_t keysym) {
        input_.tap(keysym);
        std::this_thread::sleep_for(400ms);
    }

    static QPoint controlCentre(ui_layout::WindowId window, int id) {
        const ui_layout::Rect r = *ui_layout::controlRect(window, id);
        const QPoint offset = window == ui_layout::WindowId::Main ? QPoint() : kPageOrigin;
        return offset + QPoint(r.x + r.width / 2, r.y + r.height / 2);
    }

    static constexpr QPoint kPageOrigin{0, 88};

private:
    XTestInput& input_;
    QPoint origin_;
};

// The centre of thumb `thumb` of a slider showing `value`, in window
// coordinates: the thumb's centre travels the control's width less one
// thumb width.
inline QPoint thumbCentre(ui_layout::WindowId window, int id, int value, int minimum, int maximum,
                          int thumbWidth) {
    const ui_layout::Rect r = *ui_layout::controlRect(window, id);
    const double fraction = static_cast<double>(value - minimum) / (maximum - minimum);
    const int x = r.x + static_cast<int>(fraction * (r.width - thumbWidth)) + thumbWidth / 2;
    return Desktop::kPageOrigin + QPoint(x, r.y + r.height / 2);
}

inline QRect toQRect(const ui_layout::Rect& r) {
    return {r.x, r.y, r.width, r.height};
}

// Picks entry `index` of the open skinned menu (of the size `which` accepts,
// where submenus are open too): entries are equal text lines from 4 pixels
// down, and the menu is 8 pixels taller than its lines.
inline void pickMenuEntry(const std::string& displayName, XTestInput& input, int index, int entries,
                          const std::function<bool(QSize)>& which = {}) {
    std::optional<QRect> menu;
    ASSERT_TRUE(waitFor([&] {
        menu = findTopWindow(displayName, [&](const std::string& title, QSize size) {
            return title == "menu" && (!which || which(size));
        });
        return menu.has_value();
    }));
    const double line = (menu->height() - 8) / static_cast<double>(entries);
    Desktop(input, menu->topLeft()).click(QPoint(8, 4 + static_cast<int>((index + 0.5) * line)));
}

// The program with its own simulated mouse and data folder on a private X
// server, its main window found and the start-up exchange over.
class PagesEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (xvfb_.displayName().empty()) {
            GTEST_SKIP() << "Xvfb is not available";
        }
        // One per run, as tests may run side by side; short, as the mouse's socket lies below it.
        static int run = 0;
        folder_ = fs::path(TALWYN_TEST_TMP) /
                  ("pages-e2e-" + std::to_string(::getpid()) + "-" + std::to_string(++run));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "run");
        fs::permissions(folder_ / "run", fs::perms::owner_all);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("TALWYN_HID"));
        environment.insert(QStringLiteral("DISPLAY"), QString::fromStdString(xvfb_.displayName()));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"),
                           QString::fromStdString((folder_ / "data").string()));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                           QString::fromStdString((folder_ / "run").string()));
        process_.setProcessEnvironment(environment);
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start(QStringLiteral(TALWYN_BIN_DIR "/talwyn-pro"), {QStringLiteral("--simulate")});
        ASSERT_TRUE(process_.waitForStarted());

        const QString announcement = QStringLiteral("Simulated mouse on ");
        QString output;
        ASSERT_TRUE(waitFor([&] {
            process_.waitForReadyRead(100);
            output += QString::fromUtf8(process_.readAllStandardOutput());
            const auto at = output.indexOf(announcement);
            const auto end = output.indexOf('\n', at);
            if (at < 0 || end < 0) {
                return false;
            }
            socket_ = output.mid(at + announcement.size(), end - at - announcement.size()).toStdString();
            return true;
        })) << process_.readAllStandardError().toStdString();

        std::optional<QRect> main;
        ASSERT_TRUE(waitFor([&] { return (main = mainWindow()).has_value(); }));
        std::this_thread::sleep_for(3s); // the start-up exchange with the mouse
        input_ = std::make_unique<XTestInput>(xvfb_.displayName());
        ASSERT_TRUE(input_->connected());
        desktop_ = std::make_unique<Desktop>(*input_, main->topLeft());
    }

    void TearDown() override {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    std::optional<QRect> mainWindow() const {
        return findTopWindow(xvfb_.displayName(),
                             [](const std::string& title, QSize) { return title == "Talwyn PRO Software"; });
    }
    // Where the main window's top-left corner is on the screen.
    std::pair<int, int> mainWindowPlace() const {
        const std::optional<QRect> main = mainWindow();
        return main ? std::pair(main->x(), main->y()) : std::pair(-1, -1);
    }
    // Slot 1's file as the last apply wrote it.
    std::optional<ProfileData> slotProfile() const {
        const fs::path file =
            folder_ / "data" / "Orvane" / "Talwyn PRO Software" / "Profiles" / "Default1.profile";
        ProfileData profile;
        return loadProfile(file, profile) == ProfileLoad::Loaded ? std::optional(profile) : std::nullopt;
    }
    // Presses "Apply" and waits until slot 1's file satisfies `stored`; the file's last state.
    std::optional<ProfileData> applyUntil(const std::function<bool(const ProfileData&)>& stored) {
        desktop_->clickControl(ui_layout::WindowId::Main, 1042);
        std::optional<ProfileData> profile;
        waitFor([&] {
            profile = slotProfile();
            return profile && stored(*profile);
        });
        return profile;
    }
    nlohmann::json mouseState() const {
        std::string reply;
        return hid::sendSimControl(socket_, {"state"}, reply) ? nlohmann::json::parse(reply)
                                                              : nlohmann::json();
    }
    std::string errors() { return process_.readAllStandardError().toStdString(); }

    platform::testing::XvfbServer xvfb_{"1280x800x24"};
    fs::path folder_;
    QProcess process_;
    std::string socket_;
    std::unique_ptr<XTestInput> input_;
    std::unique_ptr<Desktop> desktop_;
};

} // namespace talwyn::pages_e2e
