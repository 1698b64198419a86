#include "pages/support_dlg.h"

#include "controls/edits.h"
#include "device/user_texts.h"
#include "pages/popup_dlg.h"
#include "pages/skinning.h"
#include "ui_layout/control_table.h"

namespace talwyn::pages {

namespace {

constexpr auto kWindow = ui_layout::WindowId::Support;
constexpr int kVersionFontHeight = 13;
constexpr controls::Argb kVersionTextColor = 0xFFD2D2D2;

constexpr char kUpdaterFolder[] = "Talwyn PRO firmware update software";
constexpr char kUpdaterConfig[] = "Config.ini";
constexpr char kUpdaterProgram[] = "Talwyn PRO firmware updater";

const QString kUpdateDueArgument = QStringLiteral("1");
const QString kUpdateNotDueArgument = QStringLiteral("2");

QString pathText(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

} // namespace

SupportAddresses SupportAddresses::maker() {
    return {QStringLiteral("https://www.orvane.com/support"),
            QStringLiteral("https://www.orvane.com/support/downloads"),
            QStringLiteral("https://www.orvane.com/support/faq")};
}

std::filesystem::path updaterConfigPath(const std::filesystem::path& programFolder) {
    return programFolder / kUpdaterFolder / kUpdaterConfig;
}

std::filesystem::path updaterProgramPath(const std::filesystem::path& programFolder) {
    return programFolder / kUpdaterFolder / kUpdaterProgram;
}

int configuredFirmwareNumber(const platform::IniReader& ini, const std::filesystem::path& programFolder) {
    const auto value =
        ini.value(updaterConfigPath(programFolder), QStringLiteral("Firmware"), QStringLiteral("Version"));
    return value ? controls::leadingInteger(*value) : kUnconfiguredFirmwareNumber;
}

CSupportDlg::CSupportDlg(SupportServices services, QWidget* parent)
    : controls::CVexImageDialog(parent), services_(std::move(services)), workers_(services_.launcher) {
    setWindowFlags(Qt::Widget);
    layOut();
}

controls::CVexButton* CSupportDlg::makeButton(controls::ControlId id) {
    auto* button = new controls::CVexButton(this);
    button->setControlId(id);
    skinButtonWhenShown(*button, services_.skins, kWindow, id);
    return button;
}

controls::CVexStatic* CSupportDlg::makeVersionLabel(controls::ControlId id) {
    auto* label = new controls::CVexStatic(this);
    label->setControlId(id);
    skinStaticWhenShown(*label, services_.skins, kWindow, tableRect(kWindow, id));
    label->SetFontHeight(kVersionFontHeight);
    label->setTextColor(kVersionTextColor);
    return label;
}

void CSupportDlg::layOut() {
    skinPageBackground(*this, services_.skins, kWindow);
    const std::pair<controls::ControlId, QString> links[] = {
        {support_id::kOnlineSupport, services_.addresses.onlineSupport},
        {support_id::kCheckUpdates, services_.addresses.checkUpdates},
        {support_id::kFaq, services_.addresses.faq},
    };
    for (const auto& [id, address] : links) {
        connect(makeButton(id), &QAbstractButton::clicked, this,
                [this, address = address] { openInBrowser(address); });
    }
    connect(makeButton(support_id::kCheckFirmware), &QAbstractButton::clicked, this,
            [this] { checkFirmware(); });
    softVersion_ = makeVersionLabel(support_id::kSoftVersion);
    softVersion_->SetText(QString::fromUtf16(kSoftwareVersion));
    firmVersion_ = makeVersionLabel(support_id::kFirmVersion);
    firmVersion_->SetText(QString::fromLatin1(device::kNoFirmwareVersion));
}

void CSupportDlg::initialize(std::function<void(bool goOn)> done) {
    services_.device.findFirmware(this, [this, done = std::move(done)](std::optional<int> number) {
        if (!number) {
            firmVersion_->SetText(QString::fromLatin1(device::kNoFirmwareVersion));
            done(true);
            return;
        }
        firmVersion_->SetText(QString::fromStdString(device::firmwareVersionText(*number)));
        done(offerFirmwareUpdate(*number) != FirmwareOffer::Declined);
    });
}

void CSupportDlg::reject() {
    // A page is never closed; Escape on it does nothing.
}

void CSupportDlg::setFirmwareVersionText(const QString& text) {
    firmVersion_->SetText(text);
}

QString CSupportDlg::firmwareVersionShown() const {
    return firmVersion_->GetCurrentText();
}

QString CSupportDlg::softwareVersionShown() const {
    return softVersion_->GetCurrentText();
}

void CSupportDlg::openInBrowser(const QString& address) {
    workers_.open(address);
}

int CSupportDlg::configuredNumber() const {
    return configuredFirmwareNumber(services_.ini, services_.folders.programFolder());
}

void CSupportDlg::startUpdater(const QString& argument) {
    // A missing updater is not reported: the page simply goes on.
    services_.launcher.startProgram(pathText(updaterProgramPath(services_.folders.programFolder())),
                                    argument);
}

FirmwareOffer CSupportDlg::offerFirmwareUpdate(int mouseNumber) {
    if (!firmwareUpdateDue(mouseNumber, configuredNumber())) {
        return FirmwareOffer::NotDue;
    }
    CPopDlg offer(PopMode::UpdateWarn, PopupServices{services_.skins, services_.messages}, this);
    if (offer.runModal() != controls::ModalResult::Ok) {
        return FirmwareOffer::Declined;
    }
    startUpdater(kUpdateDueArgument);
    return FirmwareOffer::UpdaterStarted;
}

int CSupportDlg::runFirmwareUpdater(int mouseNumber) {
    const bool due = firmwareUpdateDue(mouseNumber, configuredNumber());
    startUpdater(due ? kUpdateDueArgument : kUpdateNotDueArgument);
    return due ? 1 : 0;
}

void CSupportDlg::checkFirmware() {
    // Without a mouse the click does nothing.
    services_.device.findFirmware(this, [this](std::optional<int> number) {
        if (number) {
            runFirmwareUpdater(*number);
        }
    });
}

} // namespace talwyn::pages
