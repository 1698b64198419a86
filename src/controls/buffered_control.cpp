#include "controls/buffered_control.h"

#include <QPainter>

namespace talwyn::controls {

BufferedControl::BufferedControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // A press on a control, enabled or not, is never handed up to the window,
    // where it would start moving the window.
    setAttribute(Qt::WA_NoMousePropagation);
}

const QImage& BufferedControl::frame() {
    if (buffer_.size() != size()) {
        renderIntoBuffer();
    }
    return buffer_;
}

void BufferedControl::renderIntoBuffer() {
    if (buffer_.size() != size()) {
        buffer_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    }
    buffer_.fill(initialFill());
    QPainter painter(&buffer_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    renderFrame(painter);
}

void BufferedControl::paintEvent(QPaintEvent*) {
    renderIntoBuffer();
    QPainter(this).drawImage(0, 0, buffer_);
}

} // namespace talwyn::controls
