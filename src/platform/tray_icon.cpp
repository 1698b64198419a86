#include "platform/tray_icon.h"

#include <QCursor>

namespace talwyn::platform {

TrayAction trayActionFor(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return TrayAction::ShowWindow;
    case QSystemTrayIcon::Context:
        return TrayAction::OpenMenu;
    case QSystemTrayIcon::DoubleClick: // its first click has shown the window already
    case QSystemTrayIcon::MiddleClick:
    case QSystemTrayIcon::Unknown:
        break;
    }
    return TrayAction::None;
}

SystemTrayIcon::SystemTrayIcon(QObject* parent) : TrayIcon(parent) {
    connect(&icon_, &QSystemTrayIcon::activated, this, &SystemTrayIcon::onActivated);
}

bool SystemTrayIcon::add(const QIcon& icon, const QString& toolTip) {
    icon_.setIcon(icon);
    icon_.setToolTip(toolTip);
    // Shown even without a notification area: the icon then appears when
    // one starts later.
    icon_.show();
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTrayIcon::remove() {
    icon_.hide();
}

bool SystemTrayIcon::isHosted() const {
    return icon_.isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason) {
    switch (trayActionFor(reason)) {
    case TrayAction::ShowWindow:
        emit showWindowRequested();
        break;
    case TrayAction::OpenMenu:
        emit menuRequested(QCursor::pos());
        break;
    case TrayAction::None:
        break;
    }
}

} // namespace talwyn::platform
