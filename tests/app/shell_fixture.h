#pragma once
// The main window over the in-process simulated mouse, the platform fakes,
// stand-in dialogs and a button and support page that show what the window
// asked of them. Each test gets its own data folder.

#include "app/device_library.h"
#include "app/device_owner.h"
#include "app/main_window.h"
#include "device/device_link.h"
#include "pages/color_settings_dlg.h"
#include "pages/macro_settings_dlg.h"
#include "pages/sensor_dlg.h"
#include "sim/sim_backend.h"
#include "sim/sim_mouse.h"
#include "skins/skin_store.h"
#include "support/fake_platform.h"
#include "support/recording_sleeper.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <mutex>

namespace talwyn::app::testing {

// Deletes are always confirmed.
class ConfirmingMacroPopups final : public pages::MacroPagePopups {
public:
    bool confirmDeleteMacro(QWidget*) override { return true; }
};

// Stands for the button page's controls with one value: the wheel lines.
class FakeButtonPage final : public QWidget, public pages::ButtonPage {
public:
    explicit FakeButtonPage(QWidget* parent) : QWidget(parent) {}
    QWidget& window() override { return *this; }
    void saveToProfile(ProfileData& profile) override { profile.scrollByLine = shownLines; }
    void loadFromProfile(ProfileData& profile) override {
        shownLines = profile.scrollByLine;
        ++loads;
    }
    void applyPointerSettings(const ProfileData& profile) override {
        appliedLines.push_back(profile.scrollByLine);
    }
    void refreshMacroMenus() override { ++refreshes; }

    int32_t shownLines = 0;
    std::vector<int32_t> appliedLines;
    int refreshes = 0;
    int loads = 0;
};

class FakeSupportPage final : public QWidget, public pages::SupportPage {
public:
    explicit FakeSupportPage(QWidget* parent) : QWidget(parent) {}
    QWidget& window() override { return *this; }
    void setFirmwareVersionText(const QString& text) override { text_ = text; }
    QString firmwareVersionText() const override { return text_; }
    void checkFirmwareAtStartUp(std::function<void(bool goOn)> done) override { done(goOn); }

    bool goOn = true;

private:
    QString text_ = QStringLiteral("1.00");
};

// The surface analysis, never confirmed.
class CancelledSurfaceAnalysis final : public pages::SurfaceAnalysis {
public:
    controls::ModalResult runSteps(QWidget*) override { return controls::ModalResult::Cancel; }
    void readValue(QObject*, std::function<void(int)> show) override { show(0); }
};

class FakeSlotDialogs final : public SlotDialogs {
public:
    bool confirmReset(QWidget*) override {
        ++resetQuestions;
        return confirm;
    }
    bool renameSlot(int slot, ProfileSet& profiles, controls::CVexButton&, QWidget*) override {
        if (!newName) {
            return false;
        }
        profiles.rename(slot - 1, newName->toStdU16String());
        return true;
    }
    std::optional<std::filesystem::path> exportTarget(const std::filesystem::path& suggested,
                                                      QWidget*) override {
        suggestedExport = suggested;
        return chosenFile;
    }
    std::optional<std::filesystem::path> importSource(const std::filesystem::path&, QWidget*) override {
        return chosenFile;
    }

    bool confirm = false;
    int resetQuestions = 0;
    std::optional<QString> newName;
    std::optional<std::filesystem::path> chosenFile;
    std::filesystem::path suggestedExport;
};

// The folder a test writes into, emptied first; also the user's data folder.
std::filesystem::path freshTestFolder();

class ShellTest : public ::testing::Test {
protected:
    // `library`: the device library to load; by default one that does not exist.
    explicit ShellTest(sim::SimOptions options = {}, std::optional<std::filesystem::path> library = {});
    ~ShellTest() override;

    // Builds the window and runs its start-up sequence to the end.
    void start();
    // What the window is built with: the fakes, fake button and support pages,
    // the real sensor, lighting and macro pages, and `notifier` for device notices.
    MainWindowServices services(platform::DeviceNotifier& notifier, std::function<void(int)> quit);
    CTOLMDlg& window() { return *window_; }
    // Every set-feature report the mouse received, as hex, in order.
    std::vector<std::string> sentReports() const;
    void settle() { window_->waitForDeviceWork(); }
    // The window goes; the mouse and the fakes stay.
    void stop() { window_.reset(); }

    std::filesystem::path folder_ = freshTestFolder();
    sim::SimMouse mouse_;
    sim::SimHidBackend backend_{mouse_};
    hid::RecordingSleeper sleeper_;
    device::DeviceLink link_{backend_, sleeper_};
    skins::SkinStore skins_;
    QStringList skinFailures_;
    platform::FakeMessageBoxes messages_;
    platform::FakeTrayIcon tray_;
    platform::FakeDeviceNotifier notifier_;
    DeviceLibrary library_;
    DeviceOwner device_{link_, library_};
    FakeSlotDialogs dialogs_;
    int quitCode_ = -1;

    FakeButtonPage* buttonPage_ = nullptr;
    CancelledSurfaceAnalysis analysis_;
    ConfirmingMacroPopups macroPopups_;
    pages::CSensorDlg* sensorPage_ = nullptr;
    pages::CColorSettingsDlg* lightingPage_ = nullptr;
    pages::CMacroSettingsDlg* macroPage_ = nullptr;
    FakeSupportPage* supportPage_ = nullptr;

private:
    std::unique_ptr<CTOLMDlg> window_;
};

inline sim::SimOptions absentMouse() {
    sim::SimOptions options;
    options.present = false;
    return options;
}

// The shell with no mouse plugged in.
class AbsentMouseTest : public ShellTest {
protected:
    AbsentMouseTest() : ShellTest(absentMouse()) {}
};

} // namespace talwyn::app::testing
