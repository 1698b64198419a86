#pragma once
// CTOLMDlg, the program's only top-level window: the five slots and the five
// pages, the apply, the mouse's arrival and removal, its events, the
// controls, the slot menus, the tray icon and dragging.
//
// Threads: everything here runs on the UI thread; the device commands
// (apply, synchronization with the mouse, arrival and removal) run on the
// device owner's worker and answer back. Profiles are only ever touched on
// the UI thread; an apply works on its own copy.

#include "app/device_library.h"
#include "app/page_set.h"
#include "app/slot_dialogs.h"
#include "controls/image_dialog.h"
#include "platform/owner_thread_queue.h"
#include "profiles/profile_set.h"

#include <QPoint>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace talwyn::platform {
class DeviceNotifier;
class MessageBoxes;
class TrayIcon;
} // namespace talwyn::platform

namespace talwyn::controls {
class CVexButton;
class CVexComboButton;
class CVexMenu;
class CVexStatic;
} // namespace talwyn::controls

namespace talwyn::app {

class DeviceOwner;
class SkinStore;
struct ApplyOutcome;

inline constexpr char16_t kMainWindowCaption[] = u"Talwyn PRO Software";
inline constexpr char16_t kTrayToolTip[] = u"Talwyn PRO Gaming Mouse";
inline constexpr char16_t kRegistrationFailed[] = u"RegisterDeviceNotification Failed!";
inline constexpr char16_t kNoTrayNotice[] =
    u"This desktop has no notification area to keep Talwyn PRO Software in, so closing the window ends "
    u"the program.";

// Commands of the main window (WM_COMMAND numbers).
namespace main_command {
inline constexpr int kFirstPage = 1000; // 1000..1004: button, sensor, lighting, macro, support
inline constexpr int kFirstSlot = 1007; // 1007..1011: slots 1..5
inline constexpr int kReset = 1031;
inline constexpr int kShowApplied = 1041;
inline constexpr int kApply = 1042;
inline constexpr int kHide = 1044;
inline constexpr int kVersionLabel = 1080;
// Slot menu buttons: 1020 is slot 1 ... 1016 is slot 5.
inline constexpr int kSlotMenuOfFirstSlot = 1020;
inline constexpr int kTrayMenu = 1200;
} // namespace main_command

// Codes of the slot menus and the tray menu.
enum class SlotMenuItem : int { Rename = 1, Save = 2, Export = 3, Import = 4, ToggleEnabled = 5 };
enum class TrayMenuItem : int { ConfigMouse = 100, Exit = 101 };

// The bottom strip where a press never drags the window.
inline constexpr QRect kDragExclusion{0, 516, 1024, 60};

struct MainWindowServices {
    SkinStore& skins;
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
    void openTrayMenu(QPoint globalPos);

    ProfileSet& profiles() { return profiles_; }
    // The page shown (0 to 4), or -1 before OnInitDialog.
    int visiblePage() const;
    bool busy() const { return busy_ > 0; }
    controls::CVexButton* commandButton(int id) const;
    controls::CVexComboButton* slotMenuButton(int slotIndex) const;
    controls::CVexMenu* trayMenu() const { return trayMenu_; }
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
    void buildControls();
    void createPages();
    void switchPage(int page);
    void selectSlot(int index);
    void makeSlotCurrent(int index);
    void highlightSlot(int index);
    void refreshSlotButton(int index);
    void storePages(ProfileData& profile);
    void loadPages(ProfileData& profile);
    void runSlotMenu(int index, SlotMenuItem item);
    void reset();
    void setTopmost(bool topmost);

    void startApply();
    void finishApply(const ApplyOutcome& outcome, bool macrosSaved);
    void syncWithMouse();
    void onDeviceArrived(const QString& interfacePath);
    void onDeviceRemoved(const QString& interfacePath);
    void onDeviceEvent(uint8_t code, std::optional<uint8_t> payload);
    void captureDeviceEvents();
    void setFirmwareVersionText(const QString& text);
    void warn(const QString& text);
    // Closing hides the window into the tray; without one it would be lost.
    void hideToTray();

    MainWindowServices services_;
    ProfileSet profiles_;
    PageSet pages_;
    std::array<controls::CVexButton*, 5> pageButtons_{};
    std::array<controls::CVexButton*, ProfileSet::kSlotCount> slotButtons_{};
    std::array<controls::CVexComboButton*, ProfileSet::kSlotCount> slotMenus_{};
    std::vector<controls::CVexButton*> commandButtons_;
    controls::CVexStatic* versionLabel_ = nullptr;
    controls::CVexMenu* trayMenu_ = nullptr;
    int busy_ = 0;
    bool destroyed_ = false;
    std::optional<QPoint> dragOffset_;
    platform::OwnerThreadQueue uiQueue_;
};

} // namespace talwyn::app
