// The program on a private X server with its simulated mouse, driven by
// synthetic pointer and keyboard input as a person drives it: a key assigned
// to button 2 and resolution levels set through the pages reach the mouse's
// slot on "Apply"; slider thumbs drag their values without moving the window;
// numbers typed at a person's pace keep every digit; Enter walks through the
// surface measurement; the mouse's own resolution button moves the sensor
// page's indicator; a colour typed, an effect and a brightness picked on the
// lighting page reach the slot, and drags in the colour pickers reach the
// edits and the preview.

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

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <thread>

#include <unistd.h>

#include "support/x_windows.h"

// Last: Xlib defines names (None, Bool) that the headers above use.
#include <X11/keysym.h>

namespace talwyn {
namespace {

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

QRect toQRect(const ui_layout::Rect& r) {
    return {r.x, r.y, r.width, r.height};
}

// The centre of thumb `thumb` of a slider showing `value`, in window
// coordinates: the thumb's centre travels the control's width less one
// thumb width.
QPoint thumbCentre(ui_layout::WindowId window, int id, int value, int minimum, int maximum, int thumbWidth) {
    const ui_layout::Rect r = *ui_layout::controlRect(window, id);
    const double fraction = static_cast<double>(value - minimum) / (maximum - minimum);
    const int x = r.x + static_cast<int>(fraction * (r.width - thumbWidth)) + thumbWidth / 2;
    return Desktop::kPageOrigin + QPoint(x, r.y + r.height / 2);
}

// A point of a control's own row near its right (or left) end, inside it.
QPoint controlEnd(ui_layout::WindowId window, int id, bool right) {
    const ui_layout::Rect r = *ui_layout::controlRect(window, id);
    return Desktop::kPageOrigin + QPoint(right ? r.x + r.width - 2 : r.x + 2, r.y + r.height / 2);
}

// Picks entry `index` of the open skinned menu: entries are equal text lines
// from 4 pixels down, and the menu is 8 pixels taller than its lines.
void pickMenuEntry(const std::string& displayName, XTestInput& input, int index, int entries) {
    std::optional<QRect> menu;
    ASSERT_TRUE(waitFor([&] {
        menu = findTopWindow(displayName, [](const std::string& title, QSize) { return title == "menu"; });
        return menu.has_value();
    }));
    const double line = (menu->height() - 8) / static_cast<double>(entries);
    Desktop(input, menu->topLeft()).click(QPoint(8, 4 + static_cast<int>((index + 0.5) * line)));
}

// How many pop-ups are open: viewable top-level windows of the pop-up size.
int openPopups(const std::string& displayName) {
    const QSize popupSize(ui_layout::kPopupSize.width, ui_layout::kPopupSize.height);
    return countTopWindows(displayName, [&](const std::string&, QSize size) { return size == popupSize; });
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

using ui_layout::WindowId;

TEST_F(PagesEndToEnd, KeyAndLevelsReachTheSlotAndTheResolutionButtonMovesTheIndicator) {
    // Button 2: "Single key assign..." (fourth entry), press A in the pop-up, confirm.
    desktop_->clickControl(WindowId::MouseSettings, 1021);
    pickMenuEntry(xvfb_.displayName(), *input_, 3, 6);
    const ui_layout::Size popupSize = ui_layout::kPopupSize;
    std::optional<QRect> popup;
    ASSERT_TRUE(waitFor([&] {
        popup = findTopWindow(xvfb_.displayName(), [&](const std::string&, QSize size) {
            return size == QSize(popupSize.width, popupSize.height);
        });
        return popup.has_value();
    }));
    input_->tap(XK_a);
    std::this_thread::sleep_for(400ms);
    const ui_layout::Rect ok = *ui_layout::controlRect(WindowId::AssignKey, 1076);
    Desktop(*input_, popup->topLeft()).click(QPoint(ok.x + ok.width / 2, ok.y + ok.height / 2));

    // Sensor page: three levels, typed into the first three level fields.
    desktop_->clickControl(WindowId::Main, 1001);
    desktop_->clickControl(WindowId::SensorPerformance, 1101);
    pickMenuEntry(xvfb_.displayName(), *input_, 2, 5);
    const std::pair<int, std::string> levels[] = {{1107, "1000"}, {1108, "2512"}, {1109, "4000"}};
    for (const auto& [id, digits] : levels) {
        desktop_->clickControl(WindowId::SensorPerformance, id);
        desktop_->type(digits, 120ms);
    }
    const auto stored = applyUntil([](const ProfileData& profile) {
        return profile.buttons[1].function == 13 && profile.dpiLevelCount == 3;
    });
    ASSERT_TRUE(stored) << errors();
    EXPECT_EQ(stored->buttons[1].function, 13) << errors();
    EXPECT_EQ(stored->buttons[1].param, 0x41);
    EXPECT_EQ(stored->dpi[0].x, 1000);
    EXPECT_EQ(stored->dpi[1].x, 2500);
    EXPECT_EQ(stored->dpi[2].x, 4000);
    EXPECT_EQ(stored->dpi[3].x, 0);
    ProfileData inSlot = *stored;
    inSlot.slotIndex = 0;
    const auto expected = device::buildDeviceImage(inSlot).bytes;
    std::string expectedHex;
    for (const uint8_t byte : expected) {
        static constexpr char kDigits[] = "0123456789abcdef";
        expectedHex += kDigits[byte >> 4];
        expectedHex += kDigits[byte & 0xF];
    }
    std::string slotHex;
    EXPECT_TRUE(waitFor([&] {
        const nlohmann::json state = mouseState();
        slotHex = state.is_null() ? std::string() : state.at("images").at(0).get<std::string>();
        return slotHex == expectedHex;
    }));

    // The mouse's own button moves to the next level; the page follows, so the next apply keeps it.
    // Pressed until it stands on another level than the stored one (it may start on any).
    int level = stored->activeDpiLevel;
    for (int press = 0; press < 3 && level == stored->activeDpiLevel; ++press) {
        std::string reply;
        ASSERT_TRUE(hid::sendSimControl(socket_, {"press", "dpi"}, reply)) << reply;
        level = mouseState().at("activeDpiLevel").get<int>() + 1;
    }
    ASSERT_NE(level, stored->activeDpiLevel);
    std::this_thread::sleep_for(500ms);
    const auto next = applyUntil([&](const ProfileData& profile) { return profile.activeDpiLevel == level; });
    ASSERT_TRUE(next);
    EXPECT_EQ(next->activeDpiLevel, level);
}

TEST_F(PagesEndToEnd, DraggingThumbsChangesTheirValuesAndOnlyTheBackgroundMovesTheWindow) {
    const auto before = mainWindowPlace();
    constexpr int kLevelThumbWidth = ui_layout::kLevelThumbSize.width;
    constexpr int kThumbWidth = ui_layout::kThumbSize.width;

    // Thumb 1 of the resolution slider (at 400) to the right end, "Point Speed" (at 6) too.
    desktop_->clickControl(WindowId::Main, 1001);
    desktop_->drag(thumbCentre(WindowId::SensorPerformance, 1022, 400, 50, 19000, kLevelThumbWidth),
                   controlEnd(WindowId::SensorPerformance, 1022, true));
    desktop_->drag(thumbCentre(WindowId::SensorPerformance, 1024, 6, 1, 11, kThumbWidth),
                   controlEnd(WindowId::SensorPerformance, 1024, true));
    // The page's own background and the quality bar hold no window move either.
    desktop_->drag(Desktop::kPageOrigin + QPoint(30, 200), Desktop::kPageOrigin + QPoint(230, 260));
    desktop_->drag(Desktop::controlCentre(WindowId::SensorPerformance, 1026),
                   Desktop::controlCentre(WindowId::SensorPerformance, 1026) + QPoint(-150, 60));
    // "Double Click" (at 800) to the left end.
    desktop_->clickControl(WindowId::Main, 1000);
    desktop_->drag(thumbCentre(WindowId::MouseSettings, 1014, 800, 200, 1400, kThumbWidth),
                   controlEnd(WindowId::MouseSettings, 1014, false));
    EXPECT_EQ(mainWindowPlace(), before);

    const auto stored = applyUntil([](const ProfileData& profile) {
        return profile.dpi[0].x == 19000 && profile.pointerSpeed == 11 && profile.doubleClickSpeed == 200;
    });
    ASSERT_TRUE(stored) << errors();
    EXPECT_EQ(stored->dpi[0].x, 19000);
    EXPECT_EQ(stored->pointerSpeed, 11);
    EXPECT_EQ(stored->doubleClickSpeed, 200);

    // A drag on the window's own background, above the pages, moves it by the pointer's way.
    const QPoint header(60, 60);
    desktop_->drag(header, header + QPoint(80, 40));
    const std::pair expected(before.first + 80, before.second + 40);
    waitFor([&] { return mainWindowPlace() == expected; });
    EXPECT_EQ(mainWindowPlace(), expected);
}

// The slot image's bytes at `offset`, as hexadecimal digits.
std::string imageBytes(const std::string& imageHex, size_t offset, size_t count) {
    return imageHex.size() >= 2 * (offset + count) ? imageHex.substr(2 * offset, 2 * count) : std::string();
}

// Whether a pixel shows a colour value (red in bits 0-7) darkened by some factor, as the preview
// shows a zone at its brightness below the mouse picture's tinted window.
bool showsDarkened(QRgb pixel, uint32_t value) {
    const double shown[] = {double(qRed(pixel)), double(qGreen(pixel)), double(qBlue(pixel))};
    const double colour[] = {double(value & 0xFF), double(value >> 8 & 0xFF), double(value >> 16 & 0xFF)};
    const double shownMax = *std::max_element(std::begin(shown), std::end(shown));
    const double colourMax = *std::max_element(std::begin(colour), std::end(colour));
    if (shownMax < 20 || colourMax == 0) {
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        if (std::abs(shown[i] / shownMax - colour[i] / colourMax) > 0.03) {
            return false;
        }
    }
    return true;
}

TEST_F(PagesEndToEnd, LightingTypedAndPickedReachesTheSlotAndThePreview) {
    constexpr int kThumbWidth = ui_layout::kThumbSize.width;
    desktop_->clickControl(WindowId::Main, 1002);
    desktop_->clickControl(WindowId::ColorSettings, 1063); // "Solid Color"
    desktop_->clickControl(WindowId::ColorSettings, 1087); // the hexadecimal edit
    desktop_->type("3366cc", 150ms);
    desktop_->clickControl(WindowId::ColorSettings, 1061); // "Breathing"
    desktop_->drag(thumbCentre(WindowId::ColorSettings, 1102, 5, 1, 5, kThumbWidth),
                   thumbCentre(WindowId::ColorSettings, 1102, 3, 1, 5, kThumbWidth));

    const auto stored = applyUntil([](const ProfileData& profile) {
        return profile.lightZones == 0x0F && profile.lightEffect == 4 && profile.lightBrightness == 3;
    });
    ASSERT_TRUE(stored) << errors();
    EXPECT_EQ(stored->lightZones, 0x0F);
    EXPECT_EQ(stored->lightEffect, 4);
    EXPECT_EQ(stored->lightBrightness, 3);
    EXPECT_EQ(stored->lightColors[0], 0xCC6633u);
    EXPECT_EQ(stored->lightColors[3], 0xCC6633u);
    EXPECT_EQ(stored->pickerColor, 0xCC6633);
    // Scroll wheel and logo: 33 66 CC at half brightness, then the effect; brightness 50 %.
    std::string slotHex;
    EXPECT_TRUE(waitFor([&] {
        const nlohmann::json state = mouseState();
        slotHex = state.is_null() ? std::string() : state.at("images").at(0).get<std::string>();
        return imageBytes(slotHex, 0x17, 4) == "19336604" && imageBytes(slotHex, 0x1B, 4) == "19336604" &&
               imageBytes(slotHex, 0x20, 1) == "32";
    })) << imageBytes(slotHex, 0x17, 10);

    // A steady light, then a drag on the hue strip and one in the colour field.
    desktop_->clickControl(WindowId::ColorSettings, 1043); // "Solid"
    const auto grabPage = [this] {
        return platform::testing::grabWindow(xvfb_.displayName(), "Talwyn PRO Software");
    };
    const QRect hexEdit =
        toQRect(*ui_layout::controlRect(WindowId::ColorSettings, 1087)).translated(Desktop::kPageOrigin);
    const QImage before = grabPage().copy(hexEdit);
    const QRect strip =
        toQRect(*ui_layout::controlRect(WindowId::ColorSettings, 1106)).translated(Desktop::kPageOrigin);
    desktop_->drag(QPoint(strip.center().x(), strip.top() + 20),
                   QPoint(strip.center().x(), strip.bottom() - 40)); // from blue toward yellow
    const QRect field =
        toQRect(*ui_layout::controlRect(WindowId::ColorSettings, 1112)).translated(Desktop::kPageOrigin);
    desktop_->drag(field.center(), field.topLeft() + QPoint(110, 30));
    const QImage after = grabPage();
    EXPECT_NE(after.copy(hexEdit), before); // the edits show the picked colour

    // A click on the page's background hands the focus to the decimal edits, which hold the
    // picked colour: the zones keep it.
    desktop_->click(Desktop::kPageOrigin + QPoint(700, 200));
    const auto picked =
        applyUntil([](const ProfileData& profile) { return profile.pickerColor != 0xCC6633; });
    ASSERT_TRUE(picked) << errors();
    const auto pickedColor = static_cast<uint32_t>(picked->pickerColor);
    EXPECT_EQ(picked->lightColors[0], pickedColor);
    EXPECT_EQ(picked->lightColors[3], pickedColor);
    EXPECT_EQ(picked->lightEffect, 1);

    // The preview's scroll wheel zone shows it, and no longer the typed colour.
    const ui_layout::Rect preview = *ui_layout::controlRect(WindowId::ColorSettings, 1085);
    const QPoint wheelZone = Desktop::kPageOrigin + QPoint(preview.x, preview.y) +
                             QPoint(ui_layout::kMouseZone1.x + ui_layout::kMouseZone1.width / 2,
                                    ui_layout::kMouseZone1.y + ui_layout::kMouseZone1.height / 2);
    const QRgb shown = grabPage().pixel(wheelZone);
    EXPECT_TRUE(showsDarkened(shown, pickedColor)) << std::hex << shown << " for " << pickedColor;
    EXPECT_FALSE(showsDarkened(shown, 0xCC6633)) << std::hex << shown;
}

TEST_F(PagesEndToEnd, LevelsTypedAtAPersonsPaceKeepEveryDigit) {
    struct Case {
        int edit;
        std::string digits;
        std::chrono::milliseconds pace;
        int16_t stored;
    };
    const Case cases[] = {
        {1107, "1234", 100ms, 1250},
        {1108, "837", 150ms, 850},
        {1109, "2512", 200ms, 2500},
        {1110, "25000", 130ms, 19000}, // cut to the maximum as it is typed
    };
    desktop_->clickControl(WindowId::Main, 1001);
    for (const Case& c : cases) {
        desktop_->clickControl(WindowId::SensorPerformance, c.edit);
        desktop_->type(c.digits, c.pace);
    }
    // The wheel still steps a level: level 5 from 19000 one notch down.
    desktop_->wheel(Desktop::controlCentre(WindowId::SensorPerformance, 1094), false);

    const auto stored = applyUntil([](const ProfileData& profile) { return profile.dpiLevelCount == 5; });
    ASSERT_TRUE(stored) << errors();
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(stored->dpi[i].x, cases[i].stored)
            << cases[i].digits << " at " << cases[i].pace.count() << " ms";
    }
    EXPECT_EQ(stored->dpi[4].x, 18950);
}

TEST_F(PagesEndToEnd, EnterDuringTheSurfaceCountdownOpensTheLastStep) {
    std::string reply;
    ASSERT_TRUE(hid::sendSimControl(socket_, {"surface", "93"}, reply)) << reply;
    desktop_->clickControl(WindowId::Main, 1001);
    desktop_->clickControl(WindowId::SensorPerformance, 1021); // "Analyze Surface"
    ASSERT_TRUE(waitFor([&] { return openPopups(xvfb_.displayName()) == 1; }));
    desktop_->press(XK_Return); // the first step: the mouse starts measuring, the countdown opens
    ASSERT_TRUE(waitFor([&] { return openPopups(xvfb_.displayName()) == 2; })) << errors();
    desktop_->press(XK_Return); // long before the count ends: straight to the last step
    desktop_->press(XK_Return); // and confirmed
    EXPECT_TRUE(waitFor([&] { return openPopups(xvfb_.displayName()) == 0; }));

    // The measurement reached the page: its quality index is stored by the next apply.
    const auto stored = applyUntil([](const ProfileData& profile) { return profile.surfaceQuality == 9; });
    ASSERT_TRUE(stored) << errors();
    EXPECT_EQ(stored->surfaceQuality, 9);
}

} // namespace
} // namespace talwyn
