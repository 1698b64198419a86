#include "pages/popup_dlg.h"

#include "app/device_owner.h"
#include "device/device_link.h"
#include "pages/popup_fixture.h"
#include "pages/skinning.h"
#include "platform/app_key_capture.h"
#include "platform/virtual_keys.h"
#include "sim/sim_backend.h"
#include "support/fake_platform.h"
#include "support/recording_sleeper.h"

#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace talwyn::pages {
namespace {

using controls::ModalResult;
using testing::clickControl;
using testing::findControl;
using testing::testSkins;
using testing::whenModal;
namespace vk = platform::vk;

struct PopupTest : ::testing::Test {
    platform::FakeMessageBoxes messages;
    platform::FakeKeyCapture capture;
    PopupServices services{testSkins(), messages, &capture, nullptr};
};

// A window whose drop-down button opens the key-capture pop-up from its
// "Single key assign..." pick, as the button page does.
struct AssignKeyHost : QWidget, controls::CommandReceiver {
    static constexpr int32_t kAssignPick = 14;

    explicit AssignKeyHost(PopupServices services) : services_(services) {
        button = new controls::CVexComboButton(this);
        button->setControlId(1012);
        button->AddItem(kAssignPick, QStringLiteral("Single key assign..."));
        button->SetCaption(QStringLiteral("Right click"), 2, 0);
    }
    void onCommand(controls::ControlId, controls::CommandValue code) override {
        if (code == kAssignPick) {
            CPopDlg popup(PopMode::AssignKey, services_, this);
            popup.setTarget(button);
            result = popup.runModal();
        }
    }
    // The user picks "Single key assign..." in the button's menu.
    void pickAssign() { button->onCommand(0, kAssignPick); }

    controls::CVexComboButton* button = nullptr;
    ModalResult result = ModalResult::Cancel;

private:
    PopupServices services_;
};

TEST_F(PopupTest, EveryModeLaysOutItsTableOnItsOwnPicture) {
    for (const PopMode mode : kAllPopModes) {
        SCOPED_TRACE(static_cast<int>(mode));
        CPopDlg popup(mode, services);
        EXPECT_EQ(popup.size(), QSize(404, 190));
        const QImage normal = testSkins().background(windowOf(mode));
        EXPECT_EQ(popup.background(), normal);
        for (const auto& entry : ui_layout::layoutOf(windowOf(mode)).controls) {
            QWidget* control = findControl<QWidget>(popup, entry.id);
            ASSERT_NE(control, nullptr) << entry.id;
            QRect expected = skins::toQRect(entry.rect);
            if (mode == PopMode::AssignKey && entry.id == popup_id::kTime) {
                expected.setWidth(kKeyNameWidth);
            }
            EXPECT_EQ(control->geometry(), expected) << entry.id;
        }
        if (auto* ok = findControl(popup, popup_id::kOk)) {
            // Its look is the Normal sheet's piece at its place.
            EXPECT_EQ(ok->images().normal, normal.copy(ok->geometry()));
            EXPECT_EQ(ok->isEnabled(), mode != PopMode::SensorSqat2);
        }
        EXPECT_EQ(findControl(popup, popup_id::kCancel) != nullptr, mode != PopMode::SensorSqat3);
        const bool showsTime = mode == PopMode::SensorSqat2 || mode == PopMode::AssignKey;
        EXPECT_EQ(findControl<controls::CVexStatic>(popup, popup_id::kTime) != nullptr, showsTime);
        EXPECT_EQ(popup.countdownRunning(), mode == PopMode::SensorSqat2);
    }
}

TEST_F(PopupTest, ButtonsAndKeysEndThePlainModes) {
    struct Case {
        const char* name;
        std::function<void(CPopDlg&)> act;
        ModalResult expected;
    };
    const Case cases[] = {
        {"OK", [](CPopDlg& p) { clickControl(p, popup_id::kOk); }, ModalResult::Ok},
        {"Cancel", [](CPopDlg& p) { clickControl(p, popup_id::kCancel); }, ModalResult::Cancel},
        {"Close", [](CPopDlg& p) { clickControl(p, popup_id::kClose); }, ModalResult::Cancel},
        {"Enter", [](CPopDlg& p) { QTest::keyClick(&p, Qt::Key_Return); }, ModalResult::Ok},
        {"Escape", [](CPopDlg& p) { QTest::keyClick(&p, Qt::Key_Escape); }, ModalResult::Cancel},
        {"window closed", [](CPopDlg& p) { p.close(); }, ModalResult::Cancel},
    };
    for (const PopMode mode :
         {PopMode::LeftClickWarn, PopMode::DeleteMacro, PopMode::ResetWarn, PopMode::UpdateWarn}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(static_cast<int>(mode)) + " " + c.name);
            CPopDlg popup(mode, services);
            whenModal<CPopDlg>(&popup, nullptr, c.act);
            EXPECT_EQ(popup.runModal(), c.expected);
        }
    }
}

TEST_F(PopupTest, KeyCaptureShowsTheKeyTouchedLastAndAssignsIt) {
    AssignKeyHost host(services);
    whenModal<CPopDlg>(&host, nullptr, [this](CPopDlg& popup) {
        EXPECT_TRUE(capture.isInstalled());
        capture.press(0x41);
        capture.press(vk::kLShift);
        capture.release(vk::kLShift);
        QTRY_COMPARE(popup.timeText(), QStringLiteral("Left SHIFT"));
        EXPECT_EQ(popup.capturedKey(), vk::kLShift);
        clickControl(popup, popup_id::kOk);
    });
    host.pickAssign();
    EXPECT_EQ(host.result, ModalResult::Ok);
    EXPECT_EQ(host.button->caption(), QStringLiteral("Left SHIFT"));
    EXPECT_EQ(host.button->selectedCode(), kSingleKeyFunction);
    EXPECT_EQ(host.button->selectedParameter(), vk::kLShift);
    // The pop-up released the capture when it went away.
    EXPECT_FALSE(capture.isInstalled());
    EXPECT_EQ(capture.removals, 1);
}

TEST_F(PopupTest, KeyCaptureLeavesTheButtonAsItWasWhenDismissed) {
    const std::function<void(CPopDlg&)> dismissals[] = {
        [](CPopDlg& p) { clickControl(p, popup_id::kClose); },
        [](CPopDlg& p) { clickControl(p, popup_id::kCancel); },
        [](CPopDlg& p) { p.close(); },
    };
    for (const auto& dismiss : dismissals) {
        AssignKeyHost host(services);
        whenModal<CPopDlg>(&host, nullptr, [this, &dismiss](CPopDlg& popup) {
            capture.press(vk::kLShift);
            QTRY_COMPARE(popup.capturedKey(), int{vk::kLShift});
            dismiss(popup);
        });
        host.pickAssign();
        EXPECT_EQ(host.result, ModalResult::Cancel);
        EXPECT_EQ(host.button->caption(), QStringLiteral("Right click"));
        EXPECT_EQ(host.button->selectedCode(), 2);
        EXPECT_EQ(host.button->selectedParameter(), 0);
        // The next ordinary pick updates the caption again.
        EXPECT_TRUE(host.button->updateCaption());
    }
}

TEST_F(PopupTest, KeyCaptureTakesEnterAndEscapeAsKeysWithoutClosing) {
    // The program's own key capture: keys the pop-up's window receives.
    platform::AppKeyCapture ownKeys;
    services.keyCapture = &ownKeys;
    CPopDlg popup(PopMode::AssignKey, services);
    bool sawEscape = false;
    whenModal<CPopDlg>(&popup, nullptr, [&](CPopDlg& p) {
        QTest::keyClick(p.windowHandle(), Qt::Key_Escape);
        QTRY_COMPARE(p.timeText(), QStringLiteral("ESC"));
        sawEscape = p.isVisible();
        QTest::keyClick(p.windowHandle(), Qt::Key_Return);
        QTRY_COMPARE(p.timeText(), QStringLiteral("ENTER"));
        EXPECT_TRUE(p.isVisible());
        EXPECT_EQ(p.capturedKey(), vk::kReturn);
        clickControl(p, popup_id::kCancel);
    });
    EXPECT_EQ(popup.runModal(), ModalResult::Cancel);
    EXPECT_TRUE(sawEscape);
}

TEST_F(PopupTest, KeyCaptureThatCannotStartSaysSoAndAssignsNoKey) {
    platform::FakeKeyCapture broken(false);
    services.keyCapture = &broken;
    AssignKeyHost host(services);
    whenModal<CPopDlg>(&host, nullptr, [](CPopDlg& popup) { clickControl(popup, popup_id::kOk); });
    host.pickAssign();
    EXPECT_EQ(messages.shown(), QStringList{QStringLiteral("set hook failed.")});
    EXPECT_EQ(host.result, ModalResult::Ok);
    EXPECT_EQ(host.button->caption(), QString());
    EXPECT_EQ(host.button->selectedCode(), kSingleKeyFunction);
    EXPECT_EQ(host.button->selectedParameter(), 0);
}

TEST_F(PopupTest, OtherModesIgnoreCapturedKeys) {
    CPopDlg popup(PopMode::ResetWarn, services);
    platform::CapturedKeyEvent key(vk::kLShift, false);
    QCoreApplication::sendEvent(&popup, &key);
    EXPECT_EQ(popup.capturedKey(), 0);
}

TEST_F(PopupTest, CountdownRunsFromNineToZeroThenOpensTheLastStep) {
    CPopDlg popup(PopMode::SensorSqat2, services);
    ASSERT_EQ(popup.timeText(), QStringLiteral("10"));
    EXPECT_EQ(popup.countdownPicture(), 0);
    auto* ok = findControl(popup, popup_id::kOk);
    ASSERT_NE(ok, nullptr);

    QStringList shown;
    std::vector<int> pictures;
    PopMode opened{};
    bool okEnabledAfterLastTick = false;
    bool countdownStoppedAfterLastTick = false;
    whenModal<CPopDlg>(&popup, &popup, [&](CPopDlg& next) {
        opened = next.mode();
        // Timer ticks reach the pop-up beneath: the count is over, so "OK" comes on.
        popup.countdownTick();
        okEnabledAfterLastTick = ok->isEnabled();
        countdownStoppedAfterLastTick = !popup.countdownRunning();
        clickControl(next, popup_id::kOk);
    });
    whenModal<CPopDlg>(&popup, nullptr, [&](CPopDlg&) {
        for (int tick = 0; tick < CPopDlg::kCountdownStart; ++tick) {
            popup.countdownTick();
            shown << popup.timeText();
            pictures.push_back(popup.countdownPicture());
            EXPECT_FALSE(ok->isEnabled());
        }
    });
    EXPECT_EQ(popup.runModal(), ModalResult::Ok);
    EXPECT_EQ(shown, QString("9 8 7 6 5 4 3 2 1 0").split(' '));
    EXPECT_EQ(pictures, (std::vector<int>{1, 2, 0, 1, 2, 0, 1, 2, 0, 1}));
    EXPECT_EQ(opened, PopMode::SensorSqat3);
    EXPECT_TRUE(okEnabledAfterLastTick);
    EXPECT_TRUE(countdownStoppedAfterLastTick);
}

TEST_F(PopupTest, CountdownCancelledEndsWithTwoAndStopsCounting) {
    CPopDlg popup(PopMode::SensorSqat2, services);
    whenModal<CPopDlg>(&popup, nullptr, [&](CPopDlg& p) {
        // Timer 1 ticks once a second by itself.
        QTRY_COMPARE_WITH_TIMEOUT(p.timeText(), QStringLiteral("9"), 1500);
        clickControl(p, popup_id::kCancel);
    });
    EXPECT_EQ(popup.runModal(), ModalResult::Cancel);
    EXPECT_EQ(popup.timeText(), QStringLiteral("9"));
    EXPECT_FALSE(popup.countdownRunning());
}

TEST_F(PopupTest, EnterDuringTheCountdownOpensTheLastStep) {
    CPopDlg popup(PopMode::SensorSqat2, services);
    PopMode opened = popup.mode();
    QString countdownWhenOpened;
    whenModal<CPopDlg>(&popup, &popup, [&](CPopDlg& last) {
        opened = last.mode();
        countdownWhenOpened = popup.timeText();
        QTest::keyClick(&last, Qt::Key_Return);
    });
    whenModal<CPopDlg>(&popup, nullptr, [](CPopDlg& p) {
        EXPECT_TRUE(p.countdownRunning());
        QTest::keyClick(&p, Qt::Key_Return);
    });
    EXPECT_EQ(popup.runModal(), ModalResult::Ok);
    EXPECT_EQ(opened, PopMode::SensorSqat3);
    EXPECT_NE(countdownWhenOpened, QStringLiteral("0")); // opened by Enter, not by the count's end
}

// The whole surface-analysis chain over the in-process simulated mouse.
struct SurfaceChainTest : PopupTest {
    sim::SimMouse mouse;
    sim::SimHidBackend backend{mouse};
    hid::RecordingSleeper sleeper;
    device::DeviceLink link{backend, sleeper};
    app::DeviceLibrary library{"absent"};
    app::DeviceOwner owner{link, library};

    SurfaceChainTest() { services.device = &owner; }

    bool sawStartCommand() const {
        const auto log = mouse.wireLog();
        return std::any_of(log.begin(), log.end(), [](const std::string& line) {
            return line.starts_with("set_feature") && line.find(" a10501") != std::string::npos;
        });
    }
};

TEST_F(SurfaceChainTest, AllThreeConfirmedGiveOne) {
    CPopDlg first(PopMode::SensorSqat1, services);
    whenModal<CPopDlg>(&first, &first, [&](CPopDlg& second) {
        EXPECT_EQ(second.mode(), PopMode::SensorSqat2);
        whenModal<CPopDlg>(&second, &second, [](CPopDlg& third) {
            EXPECT_EQ(third.mode(), PopMode::SensorSqat3);
            clickControl(third, popup_id::kOk);
        });
        for (int tick = 0; tick <= CPopDlg::kCountdownStart; ++tick) {
            second.countdownTick();
        }
        clickControl(second, popup_id::kOk);
    });
    whenModal<CPopDlg>(&first, nullptr, [](CPopDlg& p) { clickControl(p, popup_id::kOk); });
    EXPECT_EQ(first.runModal(), ModalResult::Ok);
    EXPECT_TRUE(link.connected());
    EXPECT_TRUE(sawStartCommand());
}

TEST_F(SurfaceChainTest, ACancelledStepGivesTwo) {
    CPopDlg first(PopMode::SensorSqat1, services);
    whenModal<CPopDlg>(&first, &first, [](CPopDlg& second) { clickControl(second, popup_id::kClose); });
    whenModal<CPopDlg>(&first, nullptr, [](CPopDlg& p) { clickControl(p, popup_id::kOk); });
    EXPECT_EQ(first.runModal(), ModalResult::Cancel);
    EXPECT_TRUE(sawStartCommand());
}

TEST_F(SurfaceChainTest, MissingMouseIsReportedAndThePopUpStaysOpen) {
    mouse.unplug();
    CPopDlg first(PopMode::SensorSqat1, services);
    whenModal<CPopDlg>(&first, nullptr, [&](CPopDlg& p) {
        clickControl(p, popup_id::kOk);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !messages.shown().isEmpty(); }));
        EXPECT_TRUE(p.isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), &p);
        clickControl(p, popup_id::kCancel);
    });
    EXPECT_EQ(first.runModal(), ModalResult::Cancel);
    EXPECT_EQ(messages.shown(), QStringList{QStringLiteral("Talwyn PRO mouse not found !")});
    EXPECT_FALSE(link.connected());
    EXPECT_FALSE(sawStartCommand());
}

} // namespace
} // namespace talwyn::pages
