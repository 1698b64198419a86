// The program on a private X server with its simulated mouse, driven by
// synthetic pointer and keyboard input as a person drives it: a key assigned
// to button 2 and resolution levels set through the pages reach the mouse's
// slot on "Apply"; slider thumbs drag their values without moving the window;
// numbers typed at a person's pace keep every digit; Enter walks through the
// surface measurement; the mouse's own resolution button moves the sensor
// page's indicator.

#include "pages_xvfb_fixture.h"

#include <iterator>

namespace talwyn {
namespace {

using namespace pages_e2e;

// A point of a control's own row near its right (or left) end, inside it.
QPoint controlEnd(ui_layout::WindowId window, int id, bool right) {
    const ui_layout::Rect r = *ui_layout::controlRect(window, id);
    return Desktop::kPageOrigin + QPoint(right ? r.x + r.width - 2 : r.x + 2, r.y + r.height / 2);
}

// How many pop-ups are open: viewable top-level windows of the pop-up size.
int openPopups(const std::string& displayName) {
    const QSize popupSize(ui_layout::kPopupSize.width, ui_layout::kPopupSize.height);
    return countTopWindows(displayName, [&](const std::string&, QSize size) { return size == popupSize; });
}

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
