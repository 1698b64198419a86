#pragma once
// Pointer button presses anywhere on the screen, so that an open skinned
// menu learns of a click outside the program's windows. Presses are only
// watched, never withheld.

#include <QPoint>
#include <Qt>

#include <functional>
#include <memory>

namespace talwyn::platform {

struct PointerPress {
    Qt::MouseButton button;
    QPoint globalPos;
};

class OutsideClickWatch {
public:
    // Runs on the UI thread, once per press, in order.
    using Callback = std::function<void(const PointerPress&)>;

    virtual ~OutsideClickWatch() = default;
    // Starts watching, or hands the running watch to a new callback. False
    // when the display offers no system-wide watch.
    virtual bool start(Callback callback) = 0;
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
};

// The mouse button Qt calls X pointer button `button`; Qt::NoButton for the
// wheel and other buttons that are no click.
Qt::MouseButton qtButtonForX11Button(int button);

// The X11 watch; nullptr where the program does not run on X11.
std::unique_ptr<OutsideClickWatch> makeOutsideClickWatch();

} // namespace talwyn::platform
