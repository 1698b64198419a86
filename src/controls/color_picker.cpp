#include "controls/color_picker.h"

#include <QPainter>

namespace talwyn::controls {

namespace picker {

std::optional<ComponentRanges> rangesOf(int mode) {
    switch (withoutReversed(mode)) {
    case kModeRed:
    case kModeGreen:
    case kModeBlue:
        return ComponentRanges{255, 255, 255};
    case kModeHue:
        return ComponentRanges{3599, 1000, 1000};
    case kModeSaturation:
    case kModeValue:
        return ComponentRanges{1000, 3599, 1000};
    default:
        return std::nullopt;
    }
}

} // namespace picker

PickerWindow::PickerWindow(QWidget* parent, const QRect& rect, ControlId id) : QWidget(parent) {
    // The whole client area is drawn from the off-screen image every time.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_NoMousePropagation);
    setCursor(Qt::ArrowCursor);
    setControlId(id);
    setGeometry(rect);
}

const QImage& PickerWindow::render() {
    if (image_.size() != size()) {
        image_ = QImage(size(), QImage::Format_RGB32);
    }
    draw(image_);
    return image_;
}

void PickerWindow::paintEvent(QPaintEvent*) {
    render();
    QPainter(this).drawImage(0, 0, image_);
}

int PickerWindow::notify(PickerListener* target, uint32_t value) {
    if (controlId() == 0 || target == nullptr) {
        return -1;
    }
    const PickerNotifyInfo info{this, controlId(), value};
    return target->onPickerChanged(info);
}

int PickerWindow::notifyParent(uint32_t value) {
    if (controlId() == 0 || parentWidget() == nullptr) {
        return -1;
    }
    sendCommand(parentWidget(), controlId(), value);
    return 0;
}

} // namespace talwyn::controls
