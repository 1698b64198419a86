#pragma once
// CSupportDlg: the "Support" page. Shows the program's and the mouse's
// firmware versions, opens three pages of the maker's web site, and starts
// the firmware updater beside the program, offering it at start-up when the
// mouse's firmware is older than the one the updater carries.

#include "controls/buttons.h"
#include "controls/image_dialog.h"
#include "controls/statics.h"
#include "pages/device_access.h"
#include "pages/support_link_workers.h"
#include "platform/folders.h"
#include "platform/ini_file.h"
#include "platform/launcher.h"
#include "platform/message_boxes.h"
#include "skins/skin_store.h"

#include <filesystem>
#include <functional>

namespace talwyn::pages {

namespace support_id {
inline constexpr controls::ControlId kOnlineSupport = 1071;
inline constexpr controls::ControlId kCheckUpdates = 1072;
inline constexpr controls::ControlId kCheckFirmware = 1073;
inline constexpr controls::ControlId kSoftVersion = 1081;
inline constexpr controls::ControlId kFirmVersion = 1082;
inline constexpr controls::ControlId kFaq = 1086;
} // namespace support_id

inline constexpr char16_t kSoftwareVersion[] = u"1.00";
// The updater's own firmware number when its configuration names none.
inline constexpr int kUnconfiguredFirmwareNumber = 1000;
// Mice at this firmware number or later are never offered an update.
inline constexpr int kFirstCurrentFirmwareNumber = 101;

// The maker's pages behind the three links.
struct SupportAddresses {
    QString onlineSupport;
    QString checkUpdates;
    QString faq;

    static SupportAddresses maker();
};

// The updater's files below the program folder.
std::filesystem::path updaterConfigPath(const std::filesystem::path& programFolder);
std::filesystem::path updaterProgramPath(const std::filesystem::path& programFolder);

// The firmware number the updater carries: [Firmware] Version of its
// configuration read as a decimal integer (leading blanks and a sign allowed,
// 0 without digits), 1000 when the file, the section or the key is missing.
int configuredFirmwareNumber(const platform::IniReader& ini, const std::filesystem::path& programFolder);

// Whether the mouse's firmware number is older than both the first current
// one and the one the updater carries.
constexpr bool firmwareUpdateDue(int mouseNumber, int configuredNumber) {
    return mouseNumber < kFirstCurrentFirmwareNumber && mouseNumber < configuredNumber;
}

// What the page uses of the program; every object must outlive the page.
struct SupportServices {
    skins::SkinStore& skins;
    DeviceAccess& device;
    platform::Launcher& launcher;
    platform::IniReader& ini;
    platform::Folders& folders;
    platform::MessageBoxes& messages;
    SupportAddresses addresses = SupportAddresses::maker();
};

// What became of the firmware update offer.
enum class FirmwareOffer { NotDue, UpdaterStarted, Declined };

class CSupportDlg : public controls::CVexImageDialog {
    Q_OBJECT
public:
    explicit CSupportDlg(SupportServices services, QWidget* parent = nullptr);

    // The page's set-up, run once at start-up: asks the device worker for the
    // mouse's firmware, shows it and, when an update is due, offers it.
    // `done` learns whether the program goes on: not when the user declined.
    void initialize(std::function<void(bool goOn)> done);

    // The firmware version display; the main window rewrites it when the
    // mouse arrives or leaves.
    void setFirmwareVersionText(const QString& text);
    QString firmwareVersionShown() const;
    QString softwareVersionShown() const;

    // Opens `address` in the browser on a worker of its own; does not wait.
    void openInBrowser(const QString& address);
    // Offers a due update modally and starts the updater when accepted.
    FirmwareOffer offerFirmwareUpdate(int mouseNumber);
    // Starts the updater with "1" when an update is due, "2" when not;
    // returns 1 when it was due, else 0.
    int runFirmwareUpdater(int mouseNumber);

    // Web-link workers still running.
    std::size_t pendingLinks() const { return workers_.pending(); }
    const LinkWorkers& linkWorkers() const { return workers_; }

    void reject() override;

private:
    void layOut();
    controls::CVexButton* makeButton(controls::ControlId id);
    controls::CVexStatic* makeVersionLabel(controls::ControlId id);
    void checkFirmware();
    void startUpdater(const QString& argument);
    int configuredNumber() const;

    SupportServices services_;
    LinkWorkers workers_;
    controls::CVexStatic* softVersion_ = nullptr;
    controls::CVexStatic* firmVersion_ = nullptr;
};

} // namespace talwyn::pages
