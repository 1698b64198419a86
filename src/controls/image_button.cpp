#include "controls/image_button.h"

#include "controls/paint_support.h"

#include <QMouseEvent>
#include <QPainter>

namespace talwyn::controls {

ImageSlot chooseButtonImage(const ImageChoice& c) {
    if (c.disabled && c.hasDisable) {
        return ImageSlot::Disable;
    }
    if (c.selected && c.hasDown) {
        return ImageSlot::Down;
    }
    if (c.state == VisualState::Down && c.hasDown) {
        return ImageSlot::Down;
    }
    if (c.state == VisualState::Normal && c.hasNormal) {
        return ImageSlot::Normal;
    }
    if (c.state == VisualState::Over && c.hasOver) {
        return ImageSlot::Over;
    }
    return ImageSlot::None;
}

CVexImageButton::CVexImageButton(QWidget* parent) : QAbstractButton(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
    // A disabled button still keeps presses from reaching the window's move.
    setAttribute(Qt::WA_NoMousePropagation);
}

void CVexImageButton::SetImages(QImage normal, QImage over, QImage down, QImage disable) {
    images_ = {std::move(normal), std::move(over), std::move(down), std::move(disable)};
    update();
}

const QImage& CVexImageButton::currentImage() const {
    static const QImage none;
    const ImageChoice choice{!isEnabled(),
                             selectedLook(),
                             visualState_,
                             !images_.normal.isNull(),
                             !images_.over.isNull(),
                             !images_.down.isNull(),
                             !images_.disable.isNull()};
    switch (chooseButtonImage(choice)) {
    case ImageSlot::Normal:
        return images_.normal;
    case ImageSlot::Over:
        return images_.over;
    case ImageSlot::Down:
        return images_.down;
    case ImageSlot::Disable:
        return images_.disable;
    case ImageSlot::None:
        break;
    }
    return none;
}

void CVexImageButton::setVisualState(VisualState state) {
    visualState_ = state;
    update();
}

void CVexImageButton::trackHover(bool inside, bool leftHeld) {
    switch (hover_.move(inside)) {
    case HoverChange::Left:
        pressed_ = false;
        setVisualState(VisualState::Normal);
        break;
    case HoverChange::Entered:
        pressed_ = leftHeld;
        setVisualState(VisualState::Over);
        cursorEntered();
        break;
    case HoverChange::None:
        break;
    }
}

void CVexImageButton::mouseMoveEvent(QMouseEvent* event) {
    QAbstractButton::mouseMoveEvent(event);
    trackHover(rect().contains(event->position().toPoint()), (event->buttons() & Qt::LeftButton) != 0);
}

void CVexImageButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    trackHover(false, false);
}

void CVexImageButton::mousePressEvent(QMouseEvent* event) {
    QAbstractButton::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        setVisualState(VisualState::Down);
    }
}

void CVexImageButton::mouseReleaseEvent(QMouseEvent* event) {
    // The click handler runs inside the default processing and may close the window.
    const QPointer<CVexImageButton> alive(this);
    QAbstractButton::mouseReleaseEvent(event);
    if (alive && event->button() == Qt::LeftButton) {
        pressed_ = false;
        setVisualState(VisualState::Normal);
    }
}

void CVexImageButton::focusInEvent(QFocusEvent* event) {
    QAbstractButton::focusInEvent(event);
    update();
}

void CVexImageButton::focusOutEvent(QFocusEvent* event) {
    QAbstractButton::focusOutEvent(event);
    update();
}

void CVexImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintButton(painter);
}

void CVexImageButton::paintButton(QPainter& painter) {
    drawStretched(painter, rect(), currentImage());
}

} // namespace talwyn::controls
