#include "controls/image_dialog.h"

#include "controls/paint_support.h"

#include <QPaintEvent>
#include <QPainter>

namespace talwyn::controls {

CVexImageDialog::CVexImageDialog(QWidget* parent) : QDialog(parent) {
    // A page's background keeps its presses: only the main window's own
    // background moves the window.
    setAttribute(Qt::WA_NoMousePropagation);
}

void CVexImageDialog::SetBackground(const QImage& image) {
    // Shared, not copied: a whole window's picture is the largest thing a
    // window holds, and the image detaches should anyone change it.
    background_ = image;
    // With a background every pixel is ours: no system erase before painting.
    setAttribute(Qt::WA_OpaquePaintEvent, !background_.isNull());
    if (!background_.isNull()) {
        resize(background_.size());
    }
    update();
}

void CVexImageDialog::SetBackgroundOnShow(QSize size, std::function<QImage()> make) {
    makeBackground_ = std::move(make);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    resize(size);
}

void CVexImageDialog::makeBackground() {
    if (makeBackground_) {
        SetBackground(std::exchange(makeBackground_, {})());
    }
}

bool CVexImageDialog::event(QEvent* event) {
    // ShowToParent too: a page shown inside a window that is not on screen
    // (an off-screen render) never gets Show.
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::Show) {
        makeBackground();
    }
    return QDialog::event(event);
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
    makeBackground(); // rendered without being shown
    if (background_.isNull()) {
        QDialog::paintEvent(event);
        return;
    }
    // Straight onto the widget, clipped to what needs painting: a pressed
    // button repaints only its own corner of the window.
    QPainter painter(this);
    if (background_.size() == size() && !background_.hasAlphaChannel()) {
        painter.drawImage(event->rect().topLeft(), background_, event->rect());
        return;
    }
    painter.fillRect(event->rect(), Qt::black);
    drawStretched(painter, rect(), background_);
}

} // namespace talwyn::controls
