// The main window over the in-process simulated mouse: start-up, apply,
// device changes and events, tray and dragging.

#include "shell_fixture.h"

#include "app/device_events.h"
#include "controls/buttons.h"
#include "controls/combo_button.h"
#include "controls/menu.h"
#include "device/device_commands.h"
#include "device/device_image.h"
#include "macros/macro_files.h"
#include "profiles/profile_file.h"
#include "sim/sim_server.h"

#include <QTest>

#include <algorithm>
#include <fstream>

namespace talwyn::app::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr char kMousePath[] =
    R"(\\?\HID#VID_22D4&PID_1329&MI_00#7&1a2b3c4d&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";

// The upload (a0 08) and activation (a1 04) reports, as "upload <slot> <part>" and "activate <slot>".
std::vector<std::string> applySteps(const std::vector<std::string>& reports) {
    std::vector<std::string> steps;
    for (const std::string& hex : reports) {
        if (hex.starts_with("a008")) {
            steps.push_back("upload " + hex.substr(10, 2) + " " + hex.substr(12, 2));
        } else if (hex.starts_with("a104")) {
            steps.push_back("activate " + hex.substr(10, 2));
        }
    }
    return steps;
}

TEST_F(ShellTest, StartUpShowsButtonPageAddsTrayAndFollowsTheMousesSlot) {
    // The mouse runs slot 3 before the program starts.
    ASSERT_EQ(link_.open(), 1);
    ASSERT_EQ(device::ActivateProfile(link_, 2), device::CommandStatus::Done);
    link_.close();

    start();

    EXPECT_TRUE(tray_.shown());
    EXPECT_EQ(tray_.toolTip(), "Talwyn PRO Gaming Mouse");
    EXPECT_TRUE(notifier_.started());
    EXPECT_EQ(window().visiblePage(), 0);
    EXPECT_TRUE(window().commandButton(1000)->selected());
    EXPECT_EQ(window().profiles().currentIndex(), 2);
    for (int slot = 0; slot < 5; ++slot) {
        auto* button = window().commandButton(1007 + slot);
        EXPECT_EQ(button->caption(), QStringLiteral("Profile%1").arg(slot + 1));
        EXPECT_EQ(button->selected(), slot == 2) << slot;
    }
    EXPECT_TRUE(link_.connected());
    // Without the library the program runs on, silently.
    EXPECT_FALSE(library_.ready());
    EXPECT_TRUE(messages_.shown().isEmpty());
    EXPECT_TRUE(skinFailures_.isEmpty());
    EXPECT_EQ(window().windowTitle(), "Talwyn PRO Software");
}

TEST_F(ShellTest, FailedNotificationRegistrationIsReportedAndTheProgramGoesOn) {
    platform::FakeDeviceNotifier failing(false);
    CTOLMDlg window(services(failing, [](int) {}));
    window.OnInitDialog();
    window.waitForDeviceWork();
    EXPECT_EQ(messages_.shown(), QStringList{"RegisterDeviceNotification Failed!"});
    EXPECT_TRUE(tray_.shown());
}

TEST_F(ShellTest, TwoQuickAppliesRunOneAfterTheOther) {
    start();
    mouse_.clearWireLog();
    buttonPage_->shownLines = 7;
    window().executeCommand(main_command::kApply);
    buttonPage_->shownLines = 9;
    window().executeCommand(main_command::kApply);
    EXPECT_TRUE(window().busy());
    settle();

    EXPECT_FALSE(window().busy());
    const std::vector<std::string> expected = {"upload 00 00", "upload 00 01", "activate 00",
                                               "upload 00 00", "upload 00 01", "activate 00"};
    EXPECT_EQ(applySteps(sentReports()), expected);
    // Each apply set the desktop from the values it stored, in order.
    EXPECT_EQ(buttonPage_->appliedLines, (std::vector<int32_t>{7, 9}));
    // The second apply's values are the ones the mouse keeps.
    EXPECT_EQ(mouse_.snapshot().images[0], device::buildDeviceImage(window().profiles().current()).bytes);
    EXPECT_EQ(window().profiles().current().scrollByLine, 9);
    EXPECT_TRUE(messages_.shown().isEmpty());
}

TEST_F(AbsentMouseTest, ApplyWritesTheFiveSlotFilesThenReportsTheMissingMouse) {
    start();
    window().profiles().rename(3, u"Gaming");
    std::vector<bool> filesAtMessage;
    messages_.onWarn([&](const QString&) {
        for (int slot = 0; slot < 5; ++slot) {
            filesAtMessage.push_back(fs::exists(ProfileSet::slotFilePath(slot)));
        }
    });
    window().executeCommand(main_command::kApply);
    settle();

    EXPECT_EQ(messages_.shown(), QStringList{"Talwyn PRO mouse not found !"});
    EXPECT_EQ(filesAtMessage, std::vector<bool>(5, true));
    ProfileData stored;
    ASSERT_EQ(loadProfile(ProfileSet::slotFilePath(3), stored), ProfileLoad::Loaded);
    EXPECT_EQ(stored.name, u"Gaming");
    EXPECT_TRUE(fs::exists(folder_ / "macros" / "macroList.dat"));
    EXPECT_FALSE(link_.connected());
    EXPECT_FALSE(window().busy());
    // Nothing reached the mouse, so nothing counts as applied but the start.
    EXPECT_EQ(window().profiles().appliedIndex(), 0);
}

// Buttons that carried a deleted macro must fall back at once: the button
// page stores what it shows into the current profile and shows it again.
TEST_F(AbsentMouseTest, DeletingAMacroStoresAndReloadsTheButtonPage) {
    MacroLibrary saved;
    saved.append({{}, 16, u"Fire", {}});
    ASSERT_TRUE(MacroFolder(folder_ / "macros").save(saved));
    start();
    window().executeCommand(main_command::kFirstPage + 3);
    buttonPage_->shownLines = 7;
    const int loadsBefore = buttonPage_->loads;

    controls::CVexButton& remove = macroPage_->button(pages::CMacroSettingsDlg::kDeleteId);
    QTest::mouseClick(&remove, Qt::LeftButton, {}, remove.rect().center());

    EXPECT_TRUE(macroPage_->macroLibrary().empty());
    EXPECT_EQ(window().profiles().current().scrollByLine, 7);
    EXPECT_EQ(buttonPage_->loads, loadsBefore + 1);
}

// A file where `folder` should be makes every save into it fail.
void blockFolder(const fs::path& folder) {
    fs::create_directories(folder.parent_path());
    fs::remove_all(folder);
    std::ofstream blocker(folder);
}

TEST_F(AbsentMouseTest, SlotFilesThatCannotBeWrittenAreReported) {
    start();
    blockFolder(ProfileSet::slotFilePath(0).parent_path());
    window().executeCommand(main_command::kApply);
    settle();

    ASSERT_EQ(messages_.shown().size(), 2);
    EXPECT_TRUE(messages_.shown()[0].startsWith("Could not save:"));
    EXPECT_TRUE(messages_.shown()[0].contains("Default5.profile"));
    EXPECT_EQ(messages_.shown()[1], "Talwyn PRO mouse not found !");
}

// The files are written while and after the mouse takes the profile; their
// failures still reach the user once the apply is over.
TEST_F(ShellTest, FilesThatCannotBeWrittenAreReportedAlsoWhenTheMouseTookTheProfile) {
    start();
    blockFolder(ProfileSet::slotFilePath(0).parent_path());
    blockFolder(folder_ / "macros");
    window().executeCommand(main_command::kApply);
    settle();

    ASSERT_EQ(messages_.shown().size(), 1);
    EXPECT_TRUE(messages_.shown()[0].startsWith("Could not save:"));
    EXPECT_TRUE(messages_.shown()[0].contains("Default5.profile"));
    EXPECT_TRUE(messages_.shown()[0].endsWith("the macro library"));
    EXPECT_EQ(mouse_.snapshot().images[0], device::buildDeviceImage(window().profiles().current()).bytes);
    EXPECT_FALSE(window().busy());
}

TEST_F(ShellTest, OkAfterSelectingAnotherSlotShowsTheAppliedProfile) {
    start();
    buttonPage_->shownLines = 7;
    window().executeCommand(main_command::kApply);
    settle();
    ASSERT_EQ(window().profiles().appliedIndex(), 0);

    window().executeCommand(main_command::kFirstSlot + 2);
    EXPECT_EQ(window().profiles().currentIndex(), 2);
    EXPECT_EQ(buttonPage_->shownLines, window().profiles().slot(2).scrollByLine);

    window().executeCommand(main_command::kShowApplied);
    EXPECT_EQ(buttonPage_->shownLines, 7);
    EXPECT_EQ(window().profiles().currentIndex(), 2);
    EXPECT_TRUE(window().commandButton(main_command::kFirstSlot + 2)->selected());
}

TEST_F(ShellTest, SelectingASlotKeepsThePageValuesWithTheSlotTheyWereMadeFor) {
    start();
    buttonPage_->shownLines = 5;
    window().executeCommand(main_command::kFirstSlot + 1);
    EXPECT_EQ(window().profiles().slot(0).scrollByLine, 5);
    EXPECT_TRUE(window().commandButton(main_command::kFirstSlot + 1)->selected());
    EXPECT_FALSE(window().commandButton(main_command::kFirstSlot)->selected());
}

TEST_F(AbsentMouseTest, ArrivalNoticesOfOtherDevicesChangeNothing) {
    start();
    mouse_.plug();
    const QString foreign[] = {
        R"(\\?\HID#VID_046D&PID_C077&MI_00#7&2a&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})",
        R"(\\?\HID#VID_22D4&PID_1329&MI_01#7&2a&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})",
        R"(\\?\HID#VID_22D4&PID_1328&MI_00#7&2a&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})",
        "22D4&1329&MI_00", // the marks must come after the first character
    };
    for (const QString& path : foreign) {
        notifier_.arrive(path);
        settle();
        EXPECT_FALSE(link_.connected()) << path.toStdString();
    }
    EXPECT_TRUE(sleeper_.pauses.empty());
    EXPECT_EQ(supportPage_->firmwareVersionText(), "1.00");
}

TEST_F(AbsentMouseTest, ArrivalAndRemovalUpdateTheFirmwareVersion) {
    start();
    mouse_.plug();
    notifier_.arrive(kMousePath);
    settle();
    EXPECT_TRUE(link_.connected());
    EXPECT_EQ(supportPage_->firmwareVersionText(), "1.05");
    EXPECT_EQ(sleeper_.pauses.front(), 900ms);

    mouse_.unplug();
    notifier_.depart(kMousePath);
    settle();
    EXPECT_FALSE(link_.connected());
    EXPECT_EQ(supportPage_->firmwareVersionText(), "-.--");
}

TEST_F(AbsentMouseTest, ArrivalWithoutAnOpenableMouseShowsNoVersion) {
    start();
    supportPage_->setFirmwareVersionText("1.05");
    notifier_.arrive(kMousePath);
    settle();
    EXPECT_FALSE(link_.connected());
    EXPECT_EQ(supportPage_->firmwareVersionText(), "-.--");
}

TEST_F(ShellTest, ArrivalMakesTheMousesSlotCurrent) {
    start();
    ASSERT_EQ(window().profiles().currentIndex(), 0);
    ASSERT_EQ(link_.ensureOpen(), 1);
    ASSERT_EQ(device::ActivateProfile(link_, 4), device::CommandStatus::Done);
    link_.close();
    notifier_.arrive(kMousePath);
    settle();
    EXPECT_EQ(window().profiles().currentIndex(), 4);
    EXPECT_TRUE(window().commandButton(main_command::kFirstSlot + 4)->selected());
}

struct EventCase {
    const char* name;
    uint8_t code;
    std::vector<uint8_t> data;
    uint8_t activeDpiLevel; // of the current profile afterwards (it starts at 2)
    int indicator;          // the one set afterwards, -1: as before (level 2's)
};

class DeviceEventTest : public ShellTest, public ::testing::WithParamInterface<EventCase> {};

TEST_P(DeviceEventTest, ResolutionEventsMoveTheActiveLevel) {
    start();
    const EventCase& c = GetParam();
    ASSERT_EQ(window().profiles().current().activeDpiLevel, 2);
    ASSERT_TRUE(sensorPage_->levelIndicatorSet(1));

    const int32_t length = static_cast<int32_t>(c.data.size());
    // The library calls from its reader thread.
    std::thread reader([&] { DeviceEventRelay::callback()(&c.code, c.data.data(), &length); });
    reader.join();
    QCoreApplication::processEvents();

    EXPECT_EQ(window().profiles().current().activeDpiLevel, c.activeDpiLevel);
    const int expectedIndicator = c.indicator < 0 ? 1 : c.indicator;
    for (int level = 0; level < 5; ++level) {
        EXPECT_EQ(sensorPage_->levelIndicatorSet(level), level == expectedIndicator) << level;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Events, DeviceEventTest,
    ::testing::Values(EventCase{"level4", 2, {3}, 4, 3}, EventCase{"level1", 2, {0}, 1, 0},
                      EventCase{"level5", 2, {4}, 5, 4}, EventCase{"outOfRange", 2, {7}, 2, -1},
                      EventCase{"code5", 5, {3}, 2, -1}, EventCase{"code1", 1, {3}, 2, -1},
                      EventCase{"noData", 2, {}, 2, -1}),
    [](const auto& generated) { return std::string(generated.param.name); });

TEST_F(ShellTest, EventsAfterTheWindowIsGoneAreDropped) {
    start();
    stop();
    const uint8_t code = 2, data = 3;
    const int32_t length = 1;
    EXPECT_EQ(DeviceEventRelay::callback()(&code, &data, &length), 1);
    EXPECT_EQ(DeviceEventRelay::callback()(&code, nullptr, nullptr), 1);
    QCoreApplication::processEvents();
}

// The program's library over the simulated mouse, served on a socket as in --simulate.
class LibraryEventsTest : public ShellTest {
protected:
    LibraryEventsTest() : ShellTest({}, fs::path(TALWYN_BIN_DIR) / std::string(deviceLibraryFileName())) {}
};

TEST_F(LibraryEventsTest, TheMousesResolutionButtonReachesTheCurrentProfileAndThePage) {
    const fs::path socket = fs::temp_directory_path() /
                            ("talwyn-app-events-" + std::to_string(QCoreApplication::applicationPid()));
    sim::SimServer server(mouse_);
    std::string error;
    ASSERT_TRUE(server.start(socket, &error)) << error;
    qputenv("TALWYN_HID", QByteArray::fromStdString("sim:" + socket.string()));
    start();
    ASSERT_TRUE(library_.ready());
    window().executeCommand(main_command::kApply);
    settle();

    mouse_.pressDpi();
    const int level = mouse_.snapshot().activeDpiLevel;
    ASSERT_NE(level + 1, window().profiles().current().activeDpiLevel);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return window().profiles().current().activeDpiLevel == level + 1; }, 5000));
    for (int indicator = 0; indicator < 5; ++indicator) {
        EXPECT_EQ(sensorPage_->levelIndicatorSet(indicator), indicator == level) << indicator;
    }
    library_.closeDevice();
    qunsetenv("TALWYN_HID");
}

TEST_F(ShellTest, PageButtonsSwitchPagesAndStoreTheShownValues) {
    start();
    buttonPage_->shownLines = 6;
    window().executeCommand(main_command::kFirstPage + 1);
    EXPECT_EQ(window().visiblePage(), 1);
    EXPECT_EQ(window().profiles().current().scrollByLine, 6);
    EXPECT_TRUE(window().commandButton(1001)->selected());
    EXPECT_FALSE(window().commandButton(1000)->selected());

    const int refreshes = buttonPage_->refreshes;
    window().executeCommand(main_command::kFirstPage);
    EXPECT_EQ(buttonPage_->refreshes, refreshes + 1);
    window().executeCommand(main_command::kFirstPage); // already shown: nothing
    EXPECT_EQ(buttonPage_->refreshes, refreshes + 1);
}

TEST_F(ShellTest, EnterOnTheLightingPageStoresItIntoTheCurrentProfile) {
    start();
    window().show();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    window().executeCommand(main_command::kFirstPage + 2);
    ASSERT_EQ(window().visiblePage(), 2);
    QTest::mouseClick(&lightingPage_->modeButton(pages::LightingMode::SolidColor), Qt::LeftButton);
    const int32_t before = window().profiles().current().lightZones;
    ASSERT_NE(before, 0x0F);

    controls::CVexEdit& hex = lightingPage_->hexEdit();
    hex.setFocus();
    ASSERT_TRUE(hex.hasFocus());
    QTest::keyClick(&hex, Qt::Key_A); // any other key leaves the profile alone
    EXPECT_EQ(window().profiles().current().lightZones, before);
    QTest::keyClick(&hex, Qt::Key_Return);
    EXPECT_EQ(window().profiles().current().lightZones, 0x0F);

    // Enter on another page stores nothing of the lighting page.
    window().executeCommand(main_command::kFirstPage + 1);
    window().profiles().current().lightZones = before;
    sensorPage_->levelEdit(0).setFocus();
    QTest::keyClick(&sensorPage_->levelEdit(0), Qt::Key_Enter);
    EXPECT_EQ(window().profiles().current().lightZones, before);
}

TEST_F(ShellTest, TrayIconAndMenuShowTheWindowAndExitEndsTheProgram) {
    start();
    window().executeCommand(main_command::kHide);
    EXPECT_FALSE(window().isVisible());
    tray_.leftClick();
    EXPECT_TRUE(window().isVisible());

    window().hide();
    tray_.rightClick(QPoint(600, 500));
    controls::CVexMenu* menu = window().trayMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->geometry().bottomRight() + QPoint(1, 1), QPoint(600, 500));
    ASSERT_EQ(menu->entries().size(), 2u);
    EXPECT_EQ(menu->entries()[0].text, "Config Mouse");
    EXPECT_EQ(menu->entries()[1].text, "Exit");

    const auto clickEntry = [menu](int index) {
        const auto& box = menu->entries()[static_cast<size_t>(index)].rect;
        const QPoint at(box.left + 5, (box.top + box.bottom) / 2);
        QTest::mouseMove(menu, at);
        QTest::mouseClick(menu, Qt::LeftButton, {}, at);
    };
    clickEntry(0);
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(quitCode_, -1);

    tray_.rightClick(QPoint(600, 500));
    clickEntry(1);
    EXPECT_EQ(quitCode_, 0);
}

TEST_F(ShellTest, CloseRequestHidesTheWindowAndEscapeKeepsIt) {
    start();
    window().show();
    QTest::keyClick(&window(), Qt::Key_Escape);
    EXPECT_TRUE(window().isVisible());
    window().close();
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(quitCode_, -1);
}

TEST_F(ShellTest, PressesInTheBottomStripDoNotMoveTheWindow) {
    start();
    window().move(100, 100);
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    const QPoint origin = window().pos();

    const auto drag = [this](QPoint from, QPoint by) {
        QTest::mousePress(&window(), Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(from + by), QPointF(window().mapToGlobal(from + by)),
                         Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(&window(), &move);
        QTest::mouseRelease(&window(), Qt::LeftButton, {}, from + by);
    };
    drag(QPoint(500, 530), QPoint(40, 20));
    drag(QPoint(10, 575), QPoint(40, 20));
    EXPECT_EQ(window().pos(), origin);

    drag(QPoint(500, 10), QPoint(40, 20));
    EXPECT_EQ(window().pos(), origin + QPoint(40, 20));
}

TEST_F(ShellTest, MenusOpeningAndClosingToggleTopmost) {
    start();
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    const QRect before = window().geometry();
    window().onCommand(controls::command::kMenuClosing, 1);
    EXPECT_TRUE(window().windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    window().onCommand(controls::command::kMenuClosing, 0);
    EXPECT_FALSE(window().windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window().geometry(), before);
}

} // namespace
} // namespace talwyn::app::testing
