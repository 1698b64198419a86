#pragma once
// Pointer button presses and releases anywhere on the screen, so that an
// open skinned menu learns of a click outside the program's windows. Buttons
// are only watched, never withheld; pointer moves and wheel turns are left out.
// The controls' open-menu click watch takes this as its desktop-wide source.

#include <QPoint>
#include <Qt>

#include <functional>
#include <memory>

namespace talwyn::platform {

struct PointerButtonEvent {
    Qt::MouseButton button;
    bool released;
    QPoint globalPos; // screen pixels
};

class DesktopButtonWatch {
public:
    // Runs on the UI thread, once per press or release, in order.
    using Callback = std::function<void(const PointerButtonEvent&)>;

    virtual ~DesktopButtonWatch() = default;
    // Starts watching, or hands the running watch to a new callback. False
    // when the display offers no system-wide watch.
    virtual bool start(Callback callback) = 0;
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
};

// The mouse button Qt calls X pointer button `button`; Qt::NoButton for the
// wheel and other buttons that are no click.
Qt::MouseButton qtButtonForX11Button(int button);

// The X11 watch; nullptr where the program does not run on an X11 session.
std::unique_ptr<DesktopButtonWatch> makeDesktopButtonWatch();

} // namespace talwyn::platform
