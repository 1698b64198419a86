#pragma once
// The program as it runs on the desktop: every service the main window and
// its pages use, made once, and the three ways to run (normal, screenshots,
// start-up report).

#include "app/desktop_clicks.h"
#include "app/device_library.h"
#include "app/device_owner.h"
#include "app/main_window.h"
#include "app/qt_slot_dialogs.h"
#include "device/device_link.h"
#include "hid/hid_backend.h"
#include "hid/interruptible_sleeper.h"
#include "platform/device_notifier.h"
#include "platform/folders.h"
#include "platform/ini_file.h"
#include "platform/key_capture.h"
#include "platform/launcher.h"
#include "platform/message_boxes.h"
#include "platform/pointer/pointer_settings.h"
#include "platform/tray_icon.h"

#include <QElapsedTimer>

#include <filesystem>
#include <memory>
#include <optional>

namespace talwyn::app {

struct ProgramOptions {
    bool simulate = false;
    // Render the pictures into this folder and end.
    std::filesystem::path screenshotFolder;
    // End after the main window's first paint, printing how long it took.
    bool startupReport = false;
};

class Program {
public:
    // `started` runs since the process began.
    Program(const ProgramOptions& options, QElapsedTimer started);
    ~Program();

    // Runs the chosen way; the exit code.
    int run();

private:
    std::unique_ptr<CTOLMDlg> makeWindow();
    int runScreenshots();
    int runStartupReport();

    ProgramOptions options_;
    QElapsedTimer started_;
    platform::SystemFolders folders_;
    std::unique_ptr<platform::MessageBoxes> messages_;
    platform::SystemTrayIcon tray_;
    std::unique_ptr<platform::DeviceNotifier> notifier_;
    std::unique_ptr<hid::HidBackend> backend_;
    // Real pauses that quitting cuts short.
    hid::InterruptibleSleeper pauses_;
    std::unique_ptr<device::DeviceLink> link_;
    DeviceLibrary library_;
    std::unique_ptr<platform::KeyCapture> keyCapture_;
    platform::DesktopLauncher launcher_;
    platform::FileIniReader ini_;
    std::unique_ptr<platform::PointerSettings> pointerSettings_;
    std::unique_ptr<QtSlotDialogs> dialogs_;
    std::optional<DesktopClicks> desktopClicks_;
    // Last: gone first, before the link and the library it uses.
    std::unique_ptr<DeviceOwner> device_;
};

} // namespace talwyn::app
