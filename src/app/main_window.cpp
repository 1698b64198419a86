#include "app/main_window.h"

#include "app/device_events.h"
#include "app/device_owner.h"
#include "app/interface_path.h"
#include "app/skin_store.h"
#include "controls/buttons.h"
#include "controls/combo_button.h"
#include "controls/menu.h"
#include "controls/statics.h"
#include "device/user_texts.h"
#include "platform/device_notifier.h"
#include "platform/message_boxes.h"
#include "platform/tray_icon.h"
#include "profiles/utf16.h"
#include "ui_layout/control_table.h"
#include "ui_layout/qt_rect.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QWindow>

namespace talwyn::app {

namespace {

using controls::CVexButton;
using controls::CVexComboButton;
using ui_layout::ControlEntry;
using ui_layout::ControlKind;

constexpr QRect kPageRect{0, 88, 1024, 427};
constexpr int kSlotMenuWidth = 170;
constexpr int kTrayMenuWidth = 120;
constexpr int kVersionFontHeight = 13;

// Skin indices of the main window's controls; every one of them is cut from
// the Main sheets, so the index only names the control to the skin store.
int skinIndexOf(int id) {
    switch (id) {
    case 1000:
        return 1;
    case 1001:
        return 2;
    case 1002:
        return 3;
    case 1003:
        return 4;
    case 1004:
        return 5;
    case 1007:
        return 6;
    case 1008:
        return 7;
    case 1009:
        return 8;
    case 1010:
        return 9;
    case 1011:
        return 10;
    case 1020:
        return 11;
    case 1019:
        return 12;
    case 1018:
        return 13;
    case 1017:
        return 14;
    case 1016:
        return 15;
    case 1031:
        return 16;
    case 1041:
        return 18;
    case 1042:
        return 19;
    case 1044:
        return 20;
    default:
        return 21;
    }
}

QString fromU16(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// For the user only: the path itself keeps its bytes.
QString shownPath(const std::filesystem::path& path) {
    return fromU16(fromPath(path));
}

bool isSlotMenu(int id) {
    return id <= main_command::kSlotMenuOfFirstSlot &&
           id > main_command::kSlotMenuOfFirstSlot - ProfileSet::kSlotCount;
}

} // namespace

CTOLMDlg::CTOLMDlg(MainWindowServices services, QWidget* parent)
    : CVexImageDialog(parent), services_(std::move(services)) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(QString::fromUtf16(kMainWindowCaption));
    profiles_.createSlots();
}

CTOLMDlg::~CTOLMDlg() {
    DeviceEventRelay::setListener({});
    DestroyWindow();
}

void CTOLMDlg::OnInitDialog() {
    const auto iconFile = services_.skins.folder() / std::string(ui_layout::kAppIcon.name);
    const QIcon icon(QPixmap::fromImage(loadImageFile(iconFile)));
    setWindowIcon(icon);
    SetBackground(services_.skins.skinImage(0, 0));

    // Events arrive on the library's reader thread; the window handles them on its own.
    DeviceEventRelay::setListener([this](uint8_t code, std::optional<uint8_t> payload) {
        uiQueue_.post([this, code, payload] { onDeviceEvent(code, payload); });
    });

    buildControls();
    createPages();
    loadPages(profiles_.current());

    if (services_.library.load()) {
        captureDeviceEvents();
    }

    services_.tray.add(icon, QString::fromUtf16(kTrayToolTip));
    connect(&services_.tray, &platform::TrayIcon::showWindowRequested, this, &CTOLMDlg::showWindow);
    connect(&services_.tray, &platform::TrayIcon::menuRequested, this, &CTOLMDlg::openTrayMenu);

    connect(&services_.notifier, &platform::DeviceNotifier::deviceArrived, this, &CTOLMDlg::onDeviceArrived);
    connect(&services_.notifier, &platform::DeviceNotifier::deviceRemoved, this, &CTOLMDlg::onDeviceRemoved);
    if (!services_.notifier.start()) {
        warn(QString::fromUtf16(kRegistrationFailed));
    }

    syncWithMouse();
    pages_.support->checkFirmwareAtStartUp([this](bool goOn) {
        if (goOn) {
            emit startUpFinished();
        } else {
            services_.quit(0);
        }
    });
}

void CTOLMDlg::DestroyWindow() {
    if (destroyed_) {
        return;
    }
    destroyed_ = true;
    services_.tray.remove();
    if (pages_.macro != nullptr && !pages_.macro->saveMacroList()) {
        warn(tr("The macro library could not be saved."));
    }
}

void CTOLMDlg::buildControls() {
    SkinStore& skins = services_.skins;
    for (const ControlEntry& entry : ui_layout::layoutOf(ui_layout::WindowId::Main).controls) {
        const QRect rect = ui_layout::toQRect(entry.rect);
        const int index = skinIndexOf(entry.id);
        if (entry.kind == ControlKind::ComboButton) {
            auto* menu = new CVexComboButton(this);
            menu->setControlId(entry.id);
            menu->setGeometry(rect);
            menu->SetImages(skins.skinImage(index, 0, rect), skins.skinImage(index, 1, rect),
                            skins.skinImage(index, 2, rect));
            menu->setShowCaption(false);
            menu->SetMenuWidth(kSlotMenuWidth);
            menu->AddItem(static_cast<int32_t>(SlotMenuItem::Rename), tr("Rename"));
            menu->AddItem(static_cast<int32_t>(SlotMenuItem::Save), tr("Save current settings"));
            menu->AddItem(static_cast<int32_t>(SlotMenuItem::Export), tr("Export Profile"));
            menu->AddItem(static_cast<int32_t>(SlotMenuItem::Import), tr("Import Profile"));
            menu->AddItem(static_cast<int32_t>(SlotMenuItem::ToggleEnabled), tr("Disable/Enable"));
            slotMenus_[static_cast<size_t>(main_command::kSlotMenuOfFirstSlot - entry.id)] = menu;
            continue;
        }
        if (entry.kind == ControlKind::Static) {
            versionLabel_ = new controls::CVexStatic(this);
            versionLabel_->setControlId(entry.id);
            versionLabel_->setGeometry(rect);
            versionLabel_->SetBackground(skins.skinImage(index, 0, rect));
            versionLabel_->SetFontHeight(kVersionFontHeight);
            versionLabel_->SetText(QStringLiteral("1.00"));
            continue;
        }
        auto* button = new CVexButton(this);
        button->setControlId(entry.id);
        button->setGeometry(rect);
        if (entry.id == main_command::kHide) {
            // The close cross idles in its Over look and lights up in its Normal one.
            button->SetImages(skins.skinImage(index, 1, rect), skins.skinImage(index, 0, rect),
                              skins.skinImage(index, 2, rect));
        } else {
            button->SetImages(skins.skinImage(index, 0, rect), skins.skinImage(index, 1, rect),
                              skins.skinImage(index, 2, rect), skins.skinImage(index, 3, rect));
        }
        if (entry.captionBy == ui_layout::CaptionSource::Control) {
            button->SetCaption(
                QString::fromUtf8(entry.caption.data(), static_cast<qsizetype>(entry.caption.size())));
        }
        const int id = entry.id;
        connect(button, &QAbstractButton::clicked, this, [this, id] { executeCommand(id); });
        if (id >= main_command::kFirstPage && id < main_command::kFirstPage + 5) {
            pageButtons_[static_cast<size_t>(id - main_command::kFirstPage)] = button;
        } else if (id >= main_command::kFirstSlot && id < main_command::kFirstSlot + ProfileSet::kSlotCount) {
            slotButtons_[static_cast<size_t>(id - main_command::kFirstSlot)] = button;
        } else {
            commandButtons_.push_back(button);
        }
    }
    for (int i = 0; i < ProfileSet::kSlotCount; ++i) {
        refreshSlotButton(i);
    }
    pageButtons_[0]->SetSelected(true);
    highlightSlot(profiles_.currentIndex());
}

void CTOLMDlg::createPages() {
    pages_ = services_.makePages(this);
    for (pages::Page* page : pages_.all()) {
        page->window().setGeometry(kPageRect);
        page->window().hide();
    }
    pages_.button->window().show();
}

int CTOLMDlg::visiblePage() const {
    const auto all = pages_.all();
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i] != nullptr && all[i]->window().isVisibleTo(this)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

CVexButton* CTOLMDlg::commandButton(int id) const {
    for (CVexButton* button : commandButtons_) {
        if (button->controlId() == id) {
            return button;
        }
    }
    for (CVexButton* button : pageButtons_) {
        if (button != nullptr && button->controlId() == id) {
            return button;
        }
    }
    for (CVexButton* button : slotButtons_) {
        if (button != nullptr && button->controlId() == id) {
            return button;
        }
    }
    return nullptr;
}

CVexComboButton* CTOLMDlg::slotMenuButton(int slotIndex) const {
    return slotMenus_.at(static_cast<size_t>(slotIndex));
}

void CTOLMDlg::executeCommand(int command) {
    using namespace main_command;
    if (command >= kFirstPage && command < kFirstPage + 5) {
        for (CVexButton* button : pageButtons_) {
            button->SetSelected(button->controlId() == command);
        }
        switchPage(command - kFirstPage);
    } else if (command >= kFirstSlot && command < kFirstSlot + ProfileSet::kSlotCount) {
        highlightSlot(command - kFirstSlot);
        selectSlot(command - kFirstSlot);
    } else if (command == kReset) {
        reset();
    } else if (command == kShowApplied) {
        loadPages(profiles_.slot(profiles_.appliedIndex()));
    } else if (command == kApply) {
        startApply();
    } else if (command == kHide) {
        hideToTray();
    }
}

void CTOLMDlg::onCommand(controls::ControlId first, controls::CommandValue second) {
    if (isSlotMenu(first)) {
        runSlotMenu(main_command::kSlotMenuOfFirstSlot - first, static_cast<SlotMenuItem>(second));
    } else if (first == main_command::kTrayMenu) {
        if (second == static_cast<int>(TrayMenuItem::ConfigMouse)) {
            showWindow();
        } else if (second == static_cast<int>(TrayMenuItem::Exit)) {
            services_.quit(0);
        }
    } else if (first == controls::command::kMenuClosing) {
        setTopmost(second == 1);
    }
    // Anything else is a hover notice of a button: nothing to do.
}

void CTOLMDlg::switchPage(int page) {
    pages::Page* target = pages_.all().at(static_cast<size_t>(page));
    if (target->window().isVisibleTo(this)) {
        return;
    }
    for (pages::Page* each : pages_.all()) {
        each->window().hide();
    }
    storePages(profiles_.current());
    target->window().show();
    if (target == pages_.button) {
        pages_.button->refreshMacroMenus();
    }
}

void CTOLMDlg::selectSlot(int index) {
    storePages(profiles_.current());
    profiles_.selectSlot(index);
    loadPages(profiles_.current());
}

void CTOLMDlg::makeSlotCurrent(int index) {
    // What the user changed on the pages stays with the slot it was made for.
    selectSlot(index);
    highlightSlot(index);
}

void CTOLMDlg::highlightSlot(int index) {
    for (size_t i = 0; i < slotButtons_.size(); ++i) {
        slotButtons_[i]->SetSelected(static_cast<int>(i) == index);
    }
}

void CTOLMDlg::refreshSlotButton(int index) {
    const ProfileData& slot = profiles_.slot(index);
    CVexButton* button = slotButtons_.at(static_cast<size_t>(index));
    button->SetCaption(fromU16(slot.name));
    button->setEnabled(slot.enabled != 0);
}

void CTOLMDlg::storePages(ProfileData& profile) {
    for (pages::ProfilePage* page : pages_.profilePages()) {
        page->saveToProfile(profile);
    }
}

void CTOLMDlg::loadPages(ProfileData& profile) {
    for (pages::ProfilePage* page : pages_.profilePages()) {
        page->loadFromProfile(profile);
    }
}

void CTOLMDlg::runSlotMenu(int index, SlotMenuItem item) {
    const int slotNumber = index + 1;
    switch (item) {
    case SlotMenuItem::Rename:
        if (services_.dialogs.renameSlot(slotNumber, profiles_, *slotButtons_.at(static_cast<size_t>(index)),
                                         this)) {
            refreshSlotButton(index);
        }
        break;
    case SlotMenuItem::Save:
        if (!profiles_.saveSlot(index)) {
            warn(tr("The profile could not be saved to %1.").arg(shownPath(profiles_.slot(index).filePath)));
        }
        break;
    case SlotMenuItem::Export:
        if (const auto chosen = services_.dialogs.exportTarget(profiles_.suggestedExportPath(index), this)) {
            if (!profiles_.exportSlot(index, *chosen)) {
                warn(tr("The profile could not be exported to %1.")
                         .arg(QString::fromStdString(ProfileSet::exportTarget(*chosen).string())));
            }
        }
        break;
    case SlotMenuItem::Import:
        if (const auto source = services_.dialogs.importSource(ProfileSet::exchangeFolder(), this)) {
            const ProfileLoad result = profiles_.importSlot(index, *source);
            loadPages(profiles_.slot(index));
            refreshSlotButton(index);
            if (result != ProfileLoad::Loaded) {
                warn(tr("The profile could not be imported from %1: %2.")
                         .arg(QString::fromStdString(source->string()),
                              QString::fromUtf8(describe(result).data(),
                                                static_cast<qsizetype>(describe(result).size()))));
            }
        }
        break;
    case SlotMenuItem::ToggleEnabled:
        profiles_.toggleEnabled(index);
        refreshSlotButton(index);
        break;
    }
}

void CTOLMDlg::reset() {
    if (!services_.dialogs.confirmReset(this)) {
        return;
    }
    profiles_.resetAll();
    for (int i = 0; i < ProfileSet::kSlotCount; ++i) {
        refreshSlotButton(i);
    }
    highlightSlot(profiles_.currentIndex());
    loadPages(profiles_.current());
    startApply();
}

void CTOLMDlg::setTopmost(bool topmost) {
    // Changing the native window's flag keeps its place and size.
    if (QWindow* window = windowHandle()) {
        window->setFlag(Qt::WindowStaysOnTopHint, topmost);
    }
}

void CTOLMDlg::showWindow() {
    show();
    raise();
    activateWindow();
}

void CTOLMDlg::openTrayMenu(QPoint globalPos) {
    if (trayMenu_ == nullptr) {
        trayMenu_ = new controls::CVexMenu(this, main_command::kTrayMenu, QRect(0, 0, kTrayMenuWidth, 10));
        trayMenu_->setWindowTitle(QStringLiteral("menu"));
        trayMenu_->AddItem(static_cast<int32_t>(TrayMenuItem::ConfigMouse), tr("Config Mouse"), 0, true,
                           false);
        trayMenu_->AddItem(static_cast<int32_t>(TrayMenuItem::Exit), tr("Exit"), 0, true, false);
    }
    trayMenu_->TrackPopup(controls::PopupMode::BottomRight, globalPos.x(), globalPos.y());
}

// ---- Apply -------------------------------------------------------------

void CTOLMDlg::startApply() {
    ++busy_;
    ProfileData& current = profiles_.current();
    storePages(current);
    pages_.button->applyPointerSettings(current);
    // The library belongs to the macro page and changes on this thread only,
    // so it is written here rather than by the worker.
    const bool macrosSaved = pages_.macro->saveMacroList();
    services_.device.apply(
        this, profiles_, [this](int applied) { profiles_.setApplied(applied); },
        [this, macrosSaved](const ApplyOutcome& outcome) { finishApply(outcome, macrosSaved); });
}

void CTOLMDlg::finishApply(const ApplyOutcome& outcome, bool macrosSaved) {
    if (!outcome.unsavedSlots.empty() || !macrosSaved) {
        QStringList lost;
        for (int index : outcome.unsavedSlots) {
            lost << shownPath(profiles_.slot(index).filePath);
        }
        if (!macrosSaved) {
            lost << tr("the macro library");
        }
        warn(tr("Could not save: %1").arg(lost.join(QStringLiteral(", "))));
    }
    if (!outcome.mouseFound) {
        warn(QString::fromLatin1(device::kMouseNotFound));
    }
    --busy_;
    emit applyFinished();
}

// ---- The mouse ---------------------------------------------------------

void CTOLMDlg::syncWithMouse() {
    services_.device.synchronize(this, [this](int slot) { makeSlotCurrent(slot); });
}

void CTOLMDlg::captureDeviceEvents() {
    services_.library.capture(DeviceEventRelay::callback());
}

void CTOLMDlg::onDeviceArrived(const QString& interfacePath) {
    if (!isTalwynInterfacePath(interfacePath)) {
        return;
    }
    services_.device.arrive(
        this,
        [this](std::optional<int> number) {
            setFirmwareVersionText(QString::fromStdString(number ? device::firmwareVersionText(*number)
                                                                 : device::kNoFirmwareVersion));
        },
        [this](int slot) { makeSlotCurrent(slot); });
}

void CTOLMDlg::onDeviceRemoved(const QString& interfacePath) {
    if (!isTalwynInterfacePath(interfacePath)) {
        return;
    }
    services_.device.remove(
        this, [this] { setFirmwareVersionText(QString::fromLatin1(device::kNoFirmwareVersion)); });
}

void CTOLMDlg::onDeviceEvent(uint8_t code, std::optional<uint8_t> payload) {
    const auto change = interpretDeviceEvent(code, payload);
    if (!change) {
        return;
    }
    profiles_.current().activeDpiLevel = change->activeDpiLevel;
    if (change->indicator) {
        pages_.sensor->setActiveLevelIndicator(*change->indicator);
    }
}

void CTOLMDlg::setFirmwareVersionText(const QString& text) {
    pages_.support->setFirmwareVersionText(text);
}

void CTOLMDlg::waitForDeviceWork() {
    services_.device.waitIdle();
    QCoreApplication::processEvents();
}

void CTOLMDlg::warn(const QString& text) {
    services_.messages.warn(text, this);
}

// ---- Window ------------------------------------------------------------

void CTOLMDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (pages_.macro != nullptr && pages_.macro->isRecording()) {
        return;
    }
    hideToTray();
}

void CTOLMDlg::hideToTray() {
    if (services_.tray.isHosted()) {
        hide();
        return;
    }
    // Hidden without a tray icon the program could neither be shown nor ended.
    warn(QString::fromUtf16(kNoTrayNotice));
    services_.quit(0);
}

void CTOLMDlg::mousePressEvent(QMouseEvent* event) {
    CVexImageDialog::mousePressEvent(event);
    const QPoint at = event->position().toPoint();
    if (event->button() != Qt::LeftButton || kDragExclusion.contains(at)) {
        return;
    }
    QWindow* window = windowHandle();
    if (window != nullptr && window->startSystemMove()) {
        return;
    }
    // Without a window manager to do it, the window follows the pointer itself.
    dragOffset_ = event->globalPosition().toPoint() - pos();
}

void CTOLMDlg::mouseMoveEvent(QMouseEvent* event) {
    CVexImageDialog::mouseMoveEvent(event);
    if (dragOffset_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *dragOffset_);
    }
}

void CTOLMDlg::mouseReleaseEvent(QMouseEvent* event) {
    CVexImageDialog::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        dragOffset_.reset();
    }
}

} // namespace talwyn::app
