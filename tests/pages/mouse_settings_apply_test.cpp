// Both pages driven with synthetic input, the profile they store uploaded to
// the in-process simulated mouse, and the slot compared byte for byte.
#include "device/device_commands.h"
#include "macros/macro_library.h"
#include "pages/mouse_settings_popups.h"
#include "pages/mouse_settings_support.h"
#include "pages/sensor_surface_analysis.h"
#include "sim/sim_backend.h"
#include "support/fake_platform.h"
#include "support/recording_sleeper.h"

#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace talwyn::pages {
namespace {

// Clicks the menu entry with `code` the way the user would.
void clickMenuItem(controls::CVexMenu& menu, int32_t code) {
    for (const controls::MenuEntry& entry : menu.entries()) {
        if (entry.code == code) {
            const QPoint centre(entry.rect.left + 5, (entry.rect.top + entry.rect.bottom) / 2);
            QTest::mouseMove(&menu, centre);
            QTest::mouseClick(&menu, Qt::LeftButton, {}, centre);
            return;
        }
    }
    ADD_FAILURE() << "no menu entry " << code;
}

void openAndPick(controls::CVexComboButton& button, int32_t code) {
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(button.menu()->isVisible());
    clickMenuItem(*button.menu(), code);
}

controls::CVexButton* popupButton(controls::ControlId id) {
    QWidget* popup = QApplication::activeModalWidget();
    if (popup == nullptr) {
        return nullptr;
    }
    for (auto* button : popup->findChildren<controls::CVexButton*>()) {
        if (button->controlId() == id) {
            return button;
        }
    }
    return nullptr;
}

// Runs `step` once a modal pop-up has opened.
void whenPopupOpens(QObject* context, std::function<void()> step) {
    auto* poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, step] {
        if (QApplication::activeModalWidget() != nullptr) {
            poll->stop();
            poll->deleteLater();
            step();
        }
    });
    poll->start(10);
}

void typeLevel(CSensorDlg& page, int index, const QString& value) {
    controls::CKYTEdit& edit = page.levelEdit(index);
    page.activateWindow(); // a closed menu may leave no window active
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    edit.setFocus();
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&edit, value);
    QTest::qWait(3 * CSensorDlg::kEditTrackingInterval.count()); // the edit tracking carries it over
}

struct PagesToMouse : ::testing::Test {
    platform::FakeKeyCapture capture;
    platform::FakeMessageBoxes messages;
    sim::SimMouse mouse;
    sim::SimHidBackend backend{mouse};
    hid::RecordingSleeper sleeper;
    device::DeviceLink link{backend, sleeper};
    PopupServices services{testing::testSkins(), messages, &capture};
    PopDlgMouseSettingsPopups popups{services};
    PopDlgSurfaceAnalysis analysis{services};
    MacroLibrary macros;
    LoggingPointerSettings pointer;
    CMouseSettingsDlg buttonPage{nullptr, testing::testSkins(), macros, popups, pointer};
    CSensorDlg sensorPage{nullptr, testing::testSkins(), analysis};
};

TEST_F(PagesToMouse, KeyAndLevelsSetInThePagesReachTheSlotImage) {
    ProfileData profile;
    profile.slotIndex = 1;
    buttonPage.loadFromProfile(profile);
    sensorPage.loadFromProfile(profile);

    buttonPage.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&buttonPage));
    // Inside the key pop-up: press "A", then confirm with its OK button.
    whenPopupOpens(&buttonPage, [this] {
        capture.press(0x41);
        capture.release(0x41);
        QTimer::singleShot(50, [] {
            controls::CVexButton* ok = popupButton(popup_id::kOk);
            ASSERT_NE(ok, nullptr);
            QTest::mouseClick(ok, Qt::LeftButton, {}, QPoint(5, 5));
        });
    });
    openAndPick(buttonPage.functionButton(1), 13);
    EXPECT_EQ(buttonPage.functionButton(1).caption(), "A");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    sensorPage.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sensorPage));
    openAndPick(sensorPage.stepsButton(), 3);
    typeLevel(sensorPage, 0, "1000");
    typeLevel(sensorPage, 1, "2512");
    typeLevel(sensorPage, 2, "4000");

    buttonPage.saveToProfile(profile);
    sensorPage.saveToProfile(profile);
    ASSERT_EQ(link.open(), 1);
    ASSERT_EQ(device::UploadProfileImage(link, profile), device::CommandStatus{1});

    ProfileData expected;
    expected.slotIndex = 1;
    expected.buttons[1].function = 13;
    expected.buttons[1].param = 0x41;
    expected.dpiLevelCount = 3;
    expected.dpi[0].x = 1000;
    expected.dpi[1].x = 2500;
    expected.dpi[2].x = 4000;
    expected.dpi[3].x = 0;
    expected.dpi[4].x = 0;
    for (int i = 0; i < kDpiLevels; ++i) {
        EXPECT_EQ(profile.dpi[i].x, expected.dpi[i].x) << "level " << i + 1;
    }
    EXPECT_EQ(profile, expected);
    EXPECT_EQ(mouse.snapshot().images[1], device::buildDeviceImage(expected).bytes);
}

} // namespace
} // namespace talwyn::pages
