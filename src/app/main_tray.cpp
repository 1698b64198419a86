#include "app/main_tray.h"

#include "app/main_commands.h"
#include "app/main_texts.h"
#include "controls/menu.h"
#include "platform/message_boxes.h"
#include "platform/tray_icon.h"

#include <QIcon>
#include <QWidget>

namespace talwyn::app {

namespace {
constexpr int kMenuWidth = 120;
} // namespace

MainTray::MainTray(QWidget& window, platform::TrayIcon& tray, platform::MessageBoxes& messages,
                   std::function<void(int exitCode)> quit)
    : window_(window), tray_(tray), messages_(messages), quit_(std::move(quit)) {}

void MainTray::add(const QIcon& icon) {
    tray_.add(icon, QString::fromUtf16(kTrayToolTip));
    QObject::connect(&tray_, &platform::TrayIcon::showWindowRequested, &window_, [this] { showWindow(); });
    QObject::connect(&tray_, &platform::TrayIcon::menuRequested, &window_,
                     [this](QPoint globalPos) { openMenu(globalPos); });
}

void MainTray::remove() {
    tray_.remove();
}

void MainTray::showWindow() {
    window_.show();
    window_.raise();
    window_.activateWindow();
}

void MainTray::hideWindow() {
    if (tray_.isHosted()) {
        window_.hide();
        return;
    }
    messages_.warn(QString::fromUtf16(kNoTrayNotice), &window_);
    quit_(0);
}

void MainTray::openMenu(QPoint globalPos) {
    if (menu_ == nullptr) {
        menu_ = new controls::CVexMenu(&window_, main_command::kTrayMenu, QRect(0, 0, kMenuWidth, 10));
        menu_->setWindowTitle(QStringLiteral("menu"));
        menu_->AddItem(static_cast<int32_t>(TrayMenuItem::ConfigMouse), QObject::tr("Config Mouse"), 0, true,
                       false);
        menu_->AddItem(static_cast<int32_t>(TrayMenuItem::Exit), QObject::tr("Exit"), 0, true, false);
    }
    menu_->TrackPopup(controls::PopupMode::BottomRight, globalPos.x(), globalPos.y());
}

bool MainTray::onCommand(controls::ControlId first, controls::CommandValue second) {
    if (first != main_command::kTrayMenu) {
        return false;
    }
    if (second == static_cast<int>(TrayMenuItem::ConfigMouse)) {
        showWindow();
    } else if (second == static_cast<int>(TrayMenuItem::Exit)) {
        quit_(0);
    }
    return true;
}

} // namespace talwyn::app
