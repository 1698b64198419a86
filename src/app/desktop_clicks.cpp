#include "app/desktop_clicks.h"

#include <QApplication>

namespace talwyn::app {

using controls::PointerMessage;

PointerMessage pointerMessageOf(const platform::PointerButtonEvent& event) {
    switch (event.button) {
    case Qt::LeftButton:
        return event.released ? PointerMessage::LeftUp : PointerMessage::LeftDown;
    case Qt::RightButton:
        return event.released ? PointerMessage::RightUp : PointerMessage::RightDown;
    case Qt::MiddleButton:
        return event.released ? PointerMessage::MiddleUp : PointerMessage::MiddleDown;
    default:
        return event.released ? PointerMessage::OtherUp : PointerMessage::OtherDown;
    }
}

DesktopPressSource::DesktopPressSource(platform::DesktopButtonWatch& watch, controls::PressSink sink)
    : watch_(watch) {
    // A watch that cannot start leaves the in-application watch on its own.
    watch_.start([sink = std::move(sink)](const platform::PointerButtonEvent& event) {
        if (QApplication::topLevelAt(event.globalPos) == nullptr) {
            sink(pointerMessageOf(event), event.globalPos);
        }
    });
}

DesktopPressSource::~DesktopPressSource() {
    watch_.stop();
}

DesktopClicks::DesktopClicks(std::unique_ptr<platform::DesktopButtonWatch> watch) : watch_(std::move(watch)) {
    if (watch_ == nullptr) {
        return;
    }
    controls::OpenMenuClickWatch::instance().setSystemSourceFactory(
        [this](controls::PressSink sink) -> std::unique_ptr<controls::SystemPressSource> {
            return std::make_unique<DesktopPressSource>(*watch_, std::move(sink));
        });
}

DesktopClicks::~DesktopClicks() {
    if (watch_ != nullptr) {
        controls::OpenMenuClickWatch::instance().setSystemSourceFactory({});
    }
}

} // namespace talwyn::app
