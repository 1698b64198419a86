#include "platform/x11_click_watch.h"

#include "platform/display_session.h"

#include <QGuiApplication>

namespace talwyn::platform {

Qt::MouseButton qtButtonForX11Button(int button) {
    switch (button) {
    case 1:
        return Qt::LeftButton;
    case 2:
        return Qt::MiddleButton;
    case 3:
        return Qt::RightButton;
    case 8:
        return Qt::BackButton;
    case 9:
        return Qt::ForwardButton;
    default: // 4 to 7 turn the wheel
        return Qt::NoButton;
    }
}

std::unique_ptr<DesktopButtonWatch> makeDesktopButtonWatch() {
    // Through XWayland the display sees only presses on X11 windows, never
    // those on the rest of a Wayland desktop: no system-wide watch there.
    if (QGuiApplication::platformName() != QLatin1String("xcb") || onWaylandSession()) {
        return nullptr;
    }
    return std::make_unique<X11ClickWatch>();
}

X11ClickWatch::X11ClickWatch(std::string displayName)
    : recorder_(std::move(displayName), RecordedEvents::Buttons) {}

X11ClickWatch::~X11ClickWatch() {
    // Joins the recorder thread before the queue it posts to goes away.
    recorder_.stop();
}

bool X11ClickWatch::start(Callback callback) {
    if (!recorder_.running()) {
        if (!queue_.valid()) {
            return false;
        }
        const bool started = recorder_.start([this](const RecordedInput& input) {
            const Qt::MouseButton button = qtButtonForX11Button(input.detail);
            if (button == Qt::NoButton) {
                return;
            }
            const PointerButtonEvent event{button, input.kind == RecordedInput::Kind::ButtonUp,
                                           QPoint(input.rootX, input.rootY)};
            queue_.post([this, event] { deliver(event); });
        });
        if (!started) {
            return false;
        }
    }
    callback_ = std::move(callback);
    return true;
}

void X11ClickWatch::stop() {
    recorder_.stop();
    callback_ = nullptr;
}

void X11ClickWatch::deliver(const PointerButtonEvent& event) const {
    // An event queued before stop() is dropped. The callback may stop the
    // watch or hand it on, so it runs from a copy.
    if (callback_ && recorder_.running()) {
        const Callback callback = callback_;
        callback(event);
    }
}

} // namespace talwyn::platform
