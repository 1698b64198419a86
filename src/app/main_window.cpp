#include "app/main_window.h"

#include "app/device_owner.h"
#include "app/enter_key_watch.h"
#include "app/main_controls.h"
#include "app/main_tray.h"
#include "app/mouse_connection.h"
#include "app/profile_sync.h"
#include "app/slot_controller.h"
#include "controls/buttons.h"
#include "platform/message_boxes.h"
#include "skins/skin_store.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QWindow>

namespace talwyn::app {

namespace {
constexpr QRect kPageRect{0, 88, 1024, 427};
constexpr auto kWindow = ui_layout::WindowId::Main;
} // namespace

CTOLMDlg::CTOLMDlg(MainWindowServices services, QWidget* parent)
    : CVexImageDialog(parent), services_(std::move(services)),
      tray_(std::make_unique<MainTray>(*this, services_.tray, services_.messages, services_.quit)) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(QString::fromUtf16(kMainWindowCaption));
    profiles_.createSlots();
}

CTOLMDlg::~CTOLMDlg() {
    mouse_.reset(); // no event of the mouse reaches a window being torn down
    DestroyWindow();
}

void CTOLMDlg::OnInitDialog() {
    const auto iconFile = services_.skins.folder() / std::string(ui_layout::kAppIcon.name);
    const QIcon icon(QPixmap::fromImage(skins::loadImageFile(iconFile)));
    setWindowIcon(icon);
    SetBackground(services_.skins.background(kWindow));

    controls_ =
        std::make_unique<MainControls>(*this, services_.skins, [this](int id) { executeCommand(id); });
    const auto warnHere = [this](const QString& text) { warn(text); };
    // What the user changed on the pages stays with the slot it was made for.
    const auto slotInUse = [this](int slot) { slots_->select(slot); };
    slots_ = std::make_unique<SlotController>(
        SlotController::Parts{profiles_, pages_, *controls_, services_.dialogs, *this, warnHere});
    sync_ = std::make_unique<ProfileSync>(ProfileSync::Parts{
        profiles_, pages_, services_.device, *this, warnHere, slotInUse, [this] { emit applyFinished(); }});
    mouse_ = std::make_unique<MouseConnection>(MouseConnection::Parts{profiles_, pages_, services_.device,
                                                                      services_.library, services_.notifier,
                                                                      *this, warnHere, slotInUse});

    slots_->refreshAll();
    controls_->selectPageButton(main_command::kFirstPage);
    createPages();
    pages_.loadFrom(profiles_.current());

    mouse_->listenToEvents();
    tray_->add(icon);
    mouse_->watchPlugging();

    sync_->synchronize();
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
    tray_->remove();
    if (pages_.macro != nullptr && !pages_.macro->saveMacroList()) {
        warn(tr("The macro library could not be saved."));
    }
}

void CTOLMDlg::createPages() {
    pages_ = services_.makePages(this);
    for (pages::Page* page : pages_.all()) {
        page->window().setGeometry(kPageRect);
        page->window().hide();
    }
    pages_.button->window().show();
    // Enter on the lighting page stores it first, so the current profile holds what it shows.
    new EnterKeyWatch(pages_.lighting->window(),
                      [this] { pages_.lighting->saveToProfile(profiles_.current()); });
    if (pages_.macro != nullptr) {
        // Buttons that carried a deleted macro fall back to their defaults at once.
        pages_.macro->setMacroDeletedHandler([this] {
            pages_.button->saveToProfile(profiles_.current());
            pages_.button->loadFromProfile(profiles_.current());
        });
    }
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

bool CTOLMDlg::busy() const {
    return sync_ != nullptr && sync_->busy();
}

controls::CVexButton* CTOLMDlg::commandButton(int id) const {
    return controls_->button(id);
}

controls::CVexComboButton* CTOLMDlg::slotMenuButton(int slotIndex) const {
    return controls_->slotMenu(slotIndex);
}

controls::CVexMenu* CTOLMDlg::trayMenu() const {
    return tray_->menu();
}

void CTOLMDlg::executeCommand(int command) {
    using namespace main_command;
    if (isPage(command)) {
        controls_->selectPageButton(command);
        switchPage(command - kFirstPage);
    } else if (isSlot(command)) {
        slots_->select(command - kFirstSlot);
    } else if (command == kReset) {
        if (slots_->reset()) {
            sync_->apply();
        }
    } else if (command == kShowApplied) {
        slots_->showApplied();
    } else if (command == kApply) {
        sync_->apply();
    } else if (command == kHide) {
        tray_->hideWindow();
    }
}

void CTOLMDlg::onCommand(controls::ControlId first, controls::CommandValue second) {
    if (main_command::isSlotMenu(first)) {
        slots_->runMenu(main_command::kSlotMenuOfFirstSlot - first, static_cast<SlotMenuItem>(second));
    } else if (tray_->onCommand(first, second)) {
        return;
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
    pages_.storeInto(profiles_.current());
    target->window().show();
    if (target == pages_.button) {
        pages_.button->refreshMacroMenus();
    }
}

void CTOLMDlg::setTopmost(bool topmost) {
    // Changing the native window's flag keeps its place and size.
    if (QWindow* window = windowHandle()) {
        window->setFlag(Qt::WindowStaysOnTopHint, topmost);
    }
}

void CTOLMDlg::showWindow() {
    tray_->showWindow();
}

void CTOLMDlg::waitForDeviceWork() {
    services_.device.waitIdle();
    QCoreApplication::processEvents();
}

void CTOLMDlg::warn(const QString& text) {
    services_.messages.warn(text, this);
}

void CTOLMDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (pages_.macro != nullptr && pages_.macro->isRecording()) {
        return;
    }
    tray_->hideWindow();
}

void CTOLMDlg::mousePressEvent(QMouseEvent* event) {
    CVexImageDialog::mousePressEvent(event);
    drag_.press(*event);
}

void CTOLMDlg::mouseMoveEvent(QMouseEvent* event) {
    CVexImageDialog::mouseMoveEvent(event);
    drag_.move(*event);
}

void CTOLMDlg::mouseReleaseEvent(QMouseEvent* event) {
    CVexImageDialog::mouseReleaseEvent(event);
    drag_.release(*event);
}

} // namespace talwyn::app
