#include "app/window_drag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace talwyn::app {

void WindowDrag::press(const QMouseEvent& event) {
    if (event.button() != Qt::LeftButton || exclusion_.contains(event.position().toPoint())) {
        return;
    }
    QWindow* window = window_.windowHandle();
    if (window != nullptr && window->startSystemMove()) {
        return;
    }
    offset_ = event.globalPosition().toPoint() - window_.pos();
}

void WindowDrag::move(const QMouseEvent& event) {
    if (offset_ && (event.buttons() & Qt::LeftButton)) {
        window_.move(event.globalPosition().toPoint() - *offset_);
    }
}

void WindowDrag::release(const QMouseEvent& event) {
    if (event.button() == Qt::LeftButton) {
        offset_.reset();
    }
}

} // namespace talwyn::app
