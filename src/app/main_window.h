#pragma once
// CTOLMDlg, the program's only top-level window: it hosts the five pages and
// its own controls, and hands each of its jobs to the part that does it: the
// slots, the apply and synchronization, the mouse's connection, the tray
// icon and dragging.
//
// Threads: everything here runs on the UI thread; the device commands
// (apply, synchronization with the mouse, arrival and removal) run on the
// device owner's worker and answer back. Profiles are only ever touched on
// the UI thread; an apply works on its own copy.

#include "app/device_library.h"
#include "app/main_commands.h"
#include "app/main_texts.h"
#include "app/page_set.h"
#include "app/slot_dialogs.h"
#include "app/window_drag.h"
#include "controls/image_dialog.h"
#include "profiles/profile_set.h"

#include <functional>
#include <memory>

namespace talwyn::platform {
class DeviceNotifier;
class MessageBoxes;
class TrayIcon;
} // namespace talwyn::platform

namespace talwyn::skins {
class SkinStore;
}

namespace talwyn::controls {
class CVexButton;
class CVexComboButton;
class CVexMenu;
} // namespace talwyn::controls

namespace talwyn::app {

class DeviceOwner;
class MainControls;
class MainTray;
class MouseConnection;
class ProfileSync;
class SlotController;

// The bottom strip where a press never drags the window.
inline constexpr QRect kDragExclusion{0, 516, 1024, 60};

struct MainWindowServices {
    skins::SkinStore& skins;
    platform::MessageBoxes& messages;
    platform::TrayIcon& tray;
    platform::DeviceNotifier& notifier;
    DeviceOwner& device;
    DeviceLibrary& library;
    SlotDialogs& dialogs;
    PageFactory makePages;
    // Ends the program's event loop with the exit code.
    std::function<void(int)> quit;
};

class CTOLMDlg final : public controls::CVexImageDialog {
    Q_OBJECT
public:
    // Creates the five slots, each loaded from its slot file.
    explicit CTOLMDlg(MainWindowServices services, QWidget* parent = nullptr);
    ~CTOLMDlg() override;

    // The start-up sequence: controls, pages, library, tray, notices, then
    // the synchronization with the mouse (queued on the device worker).
    // Emits startUpFinished once the support page's firmware check lets the
    // program go on.
    void OnInitDialog();
    // Removes the tray icon and writes the macro library (a failure is shown).
    void DestroyWindow();

    // WM_COMMAND.
    void executeCommand(int command);
    // WM_SYSCOMMAND from controls and menus: slot menus, tray menu, 2234.
    void onCommand(controls::ControlId first, controls::CommandValue second) override;

    void showWindow();

    ProfileSet& profiles() { return profiles_; }
    // The page shown (0 to 4), or -1 before OnInitDialog.
    int visiblePage() const;
    bool busy() const;
    controls::CVexButton* commandButton(int id) const;
    controls::CVexComboButton* slotMenuButton(int slotIndex) const;
    controls::CVexMenu* trayMenu() const;
    // Blocks until the device jobs queued so far have run and their outcome
    // has reached this window.
    void waitForDeviceWork();

signals:
    // The start-up checks are done and the program goes on: time to show the window.
    void startUpFinished();
    // An apply has finished and told the user what went wrong, if anything.
    void applyFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Enter, Escape and the close request never end this window.
    void accept() override {}
    void reject() override {}

private:
    void createPages();
    void switchPage(int page);
    void setTopmost(bool topmost);
    void warn(const QString& text);

    MainWindowServices services_;
    ProfileSet profiles_;
    PageSet pages_;
    std::unique_ptr<MainControls> controls_;
    std::unique_ptr<SlotController> slots_;
    std::unique_ptr<ProfileSync> sync_;
    std::unique_ptr<MouseConnection> mouse_;
    std::unique_ptr<MainTray> tray_;
    WindowDrag drag_{*this, kDragExclusion};
    bool destroyed_ = false;
};

} // namespace talwyn::app
