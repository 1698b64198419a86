#include "platform/key_capture.h"

#include "platform/app_key_capture.h"
#include "platform/x11_event_recorder.h"
#include "platform/x11_key_capture.h"

#include <QGuiApplication>

namespace talwyn::platform {

std::unique_ptr<KeyCapture> makeKeyCapture() {
    if (QGuiApplication::platformName() == QLatin1String("xcb") && X11EventRecorder::available({})) {
        return std::make_unique<X11KeyCapture>();
    }
    return std::make_unique<AppKeyCapture>();
}

} // namespace talwyn::platform
