#include "platform/key_capture.h"

#include "platform/app_key_capture.h"
#include "platform/display_session.h"
#include "platform/x11_event_recorder.h"
#include "platform/x11_key_capture.h"

#include <QGuiApplication>

namespace talwyn::platform {

std::unique_ptr<KeyCapture> makeKeyCapture(std::function<void()> focusOnlyNotice) {
    if (QGuiApplication::platformName() == QLatin1String("xcb") && !onWaylandSession() &&
        X11EventRecorder::available({})) {
        return std::make_unique<X11KeyCapture>();
    }
    return std::make_unique<AppKeyCapture>(std::move(focusOnlyNotice));
}

} // namespace talwyn::platform
