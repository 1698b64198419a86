#include "platform/app_key_capture.h"

#include "platform/qt_virtual_keys.h"
#include "platform/virtual_keys.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <utility>

namespace talwyn::platform {

AppKeyCapture::AppKeyCapture(std::function<void()> notice) : notice_(std::move(notice)) {}

AppKeyCapture::~AppKeyCapture() {
    remove();
}

bool AppKeyCapture::install(QObject* receiver) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) {
        return false;
    }
    if (!installed_) {
        if (notice_) {
            std::exchange(notice_, {})();
        }
        app->installEventFilter(this);
        installed_ = true;
    }
    target_.set(receiver);
    return true;
}

void AppKeyCapture::remove() {
    if (installed_) {
        if (QCoreApplication* app = QCoreApplication::instance()) {
            app->removeEventFilter(this);
        }
        installed_ = false;
    }
    pressed_.reset();
    target_.clear();
}

bool AppKeyCapture::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::KeyPress;
    // A key event reaches its top-level window first and is then passed down
    // and up the widget chain; counting it at the window counts it once.
    if ((press || event->type() == QEvent::KeyRelease) && watched->isWindowType()) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        // Held keys repeat their press only, as a system-wide hook sees them.
        if (press || !key->isAutoRepeat()) {
            const uint8_t virtualKey = virtualKeyForQtKey(key->key(), key->modifiers());
            if (virtualKey != vk::kNone && (press || pressed_.test(virtualKey))) {
                pressed_.set(virtualKey, press);
                target_.post(virtualKey, !press);
            }
        }
    }
    return false; // never withholds the key
}

} // namespace talwyn::platform
