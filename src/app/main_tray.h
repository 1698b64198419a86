#pragma once
// The main window's place in the notification area: the icon, its menu, and
// hiding the window there. Without a notification area closing the window
// ends the program, since a hidden window could neither be shown nor ended.

#include "controls/framework.h"

#include <QPoint>

#include <functional>

class QIcon;
class QWidget;

namespace talwyn::platform {
class MessageBoxes;
class TrayIcon;
} // namespace talwyn::platform

namespace talwyn::controls {
class CVexMenu;
}

namespace talwyn::app {

class MainTray {
public:
    MainTray(QWidget& window, platform::TrayIcon& tray, platform::MessageBoxes& messages,
             std::function<void(int exitCode)> quit);

    void add(const QIcon& icon);
    void remove();

    void showWindow();
    void hideWindow();
    void openMenu(QPoint globalPos);
    controls::CVexMenu* menu() const { return menu_; }
    // The tray menu's choice; false for a command of another sender.
    bool onCommand(controls::ControlId first, controls::CommandValue second);

private:
    QWidget& window_;
    platform::TrayIcon& tray_;
    platform::MessageBoxes& messages_;
    std::function<void(int exitCode)> quit_;
    controls::CVexMenu* menu_ = nullptr;
};

} // namespace talwyn::app
