#include "controls/image_dialog.h"

#include "controls/paint_support.h"

#include <QPainter>

namespace talwyn::controls {

CVexImageDialog::CVexImageDialog(QWidget* parent) : QDialog(parent) {
    // A page's background keeps its presses: only the main window's own
    // background moves the window.
    setAttribute(Qt::WA_NoMousePropagation);
}

void CVexImageDialog::SetBackground(const QImage& image) {
    background_ = image.copy();
    // With a background every pixel is ours: no system erase before painting.
    setAttribute(Qt::WA_OpaquePaintEvent, !background_.isNull());
    if (!background_.isNull()) {
        resize(background_.size());
    }
    update();
}

ModalResult CVexImageDialog::runModal() {
    return exec() == static_cast<int>(ModalResult::Ok) ? ModalResult::Ok : ModalResult::Cancel;
}

void CVexImageDialog::endModal(ModalResult result) {
    done(static_cast<int>(result));
}

void CVexImageDialog::onCommand(ControlId, CommandValue) {}

void CVexImageDialog::reject() {
    endModal(ModalResult::Cancel);
}

void CVexImageDialog::paintEvent(QPaintEvent* event) {
    if (background_.isNull()) {
        QDialog::paintEvent(event);
        return;
    }
    QImage buffer(size(), QImage::Format_ARGB32_Premultiplied);
    buffer.fill(Qt::black);
    {
        QPainter offscreen(&buffer);
        drawStretched(offscreen, buffer.rect(), background_);
    }
    QPainter(this).drawImage(0, 0, buffer);
}

} // namespace talwyn::controls
