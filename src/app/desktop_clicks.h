#pragma once
// Lets open skinned menus hear presses anywhere on the desktop, so a press on
// another program or on the desktop closes them, also the tray menu opened
// while the window is hidden. Where the platform offers no desktop-wide
// watch, the menus keep the in-application watch alone.

#include "controls/open_menu_click_watch.h"
#include "platform/desktop_button_watch.h"

#include <memory>

namespace talwyn::app {

// The platform watch as the menus' desktop-wide source: running while it
// exists. Presses on the program's own windows are left to the
// in-application watch, which sees them first.
class DesktopPressSource final : public controls::SystemPressSource {
public:
    DesktopPressSource(platform::DesktopButtonWatch& watch, controls::PressSink sink);
    ~DesktopPressSource() override;
    DesktopPressSource(const DesktopPressSource&) = delete;
    DesktopPressSource& operator=(const DesktopPressSource&) = delete;

private:
    platform::DesktopButtonWatch& watch_;
};

// The menu message of a platform press or release.
controls::PointerMessage pointerMessageOf(const platform::PointerButtonEvent& event);

// Owns the platform's desktop-wide watch while the program runs and hands it
// to every menu chain that opens.
class DesktopClicks {
public:
    // `watch` null: the platform has none; the menus use the in-application watch.
    explicit DesktopClicks(std::unique_ptr<platform::DesktopButtonWatch> watch);
    ~DesktopClicks();
    DesktopClicks(const DesktopClicks&) = delete;
    DesktopClicks& operator=(const DesktopClicks&) = delete;

private:
    std::unique_ptr<platform::DesktopButtonWatch> watch_;
};

} // namespace talwyn::app
