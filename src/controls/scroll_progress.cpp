#include "controls/scroll_progress.h"

#include "controls/paint_support.h"

#include <QMouseEvent>
#include <QPainter>

namespace talwyn::controls {

namespace {
Extent extentOf(const QImage& image) {
    return {image.width(), image.height()};
}
} // namespace

CVexScrollCtrl::CVexScrollCtrl(QWidget* parent) : BufferedControl(parent) {
    setMouseTracking(true);
}

void CVexScrollCtrl::SetImages(ScrollImages images) {
    images_ = std::move(images);
    layout_ = layoutScroll({width(), height()}, extentOf(images_.first), extentOf(images_.second),
                           extentOf(images_.thumb));
    update();
}

void CVexScrollCtrl::SetPos(int32_t position) {
    position_ = std::clamp(position, range_.minimum, std::max(range_.minimum, range_.maximum));
    placeScrollThumb(layout_, position_, range_);
    update();
    sendCommand(parentWidget(), controlId(), position_);
}

void CVexScrollCtrl::positionFromPoint(QPoint point) {
    const int along = layout_.horizontal ? point.x() : point.y();
    SetPos(
        valueFromPointer(along, layout_.trackStart(), layout_.trackLength(), layout_.thumbLength(), range_));
}

void CVexScrollCtrl::trackHover(bool inside, bool leftHeld) {
    switch (hover_.move(inside)) {
    case HoverChange::Left:
        pressed_ = false;
        state_ = VisualState::Normal;
        update();
        break;
    case HoverChange::Entered:
        pressed_ = leftHeld;
        state_ = VisualState::Over;
        update();
        break;
    case HoverChange::None:
        break;
    }
}

void CVexScrollCtrl::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint p = event->position().toPoint();
    pressed_ = true;
    state_ = VisualState::Down;
    pressedPart_ = scrollPartAt(layout_, p.x(), p.y());
    if (inTrack(p)) {
        positionFromPoint(p);
    }
    update();
}

void CVexScrollCtrl::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    const QPoint p = event->position().toPoint();
    if (state_ == VisualState::Down && inTrack(p)) {
        positionFromPoint(p);
        update();
    }
    trackHover(rect().contains(p), (event->buttons() & Qt::LeftButton) != 0);
}

void CVexScrollCtrl::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    trackHover(false, false);
}

void CVexScrollCtrl::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint p = event->position().toPoint();
    if (inTrack(p)) {
        positionFromPoint(p);
    }
    // The end buttons jump to the ends of the range; the parent hears it twice.
    if (pressedPart_ == ScrollPart::FirstButton) {
        sendCommand(parentWidget(), controlId(), range_.minimum);
        SetPos(range_.minimum);
    } else if (pressedPart_ == ScrollPart::SecondButton) {
        sendCommand(parentWidget(), controlId(), range_.maximum);
        SetPos(range_.maximum);
    }
    pressed_ = false;
    state_ = VisualState::Normal;
    pressedPart_ = ScrollPart::None;
    update();
}

void CVexScrollCtrl::renderFrame(QPainter& painter) {
    drawStretched(painter, rect(), images_.background);
    const auto pick = [this](ScrollPart part, const QImage& normal, const QImage& pressed) -> const QImage& {
        return pressedPart_ == part && !pressed.isNull() ? pressed : normal;
    };
    drawStretched(painter, toQRect(layout_.first),
                  pick(ScrollPart::FirstButton, images_.first, images_.firstPressed));
    drawStretched(painter, toQRect(layout_.second),
                  pick(ScrollPart::SecondButton, images_.second, images_.secondPressed));
    drawStretched(painter, toQRect(layout_.thumb),
                  pick(ScrollPart::Thumb, images_.thumb, images_.thumbPressed));
}

CVexProgressCtrl::CVexProgressCtrl(QWidget* parent) : BufferedControl(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CVexProgressCtrl::setImages(QImage background, QImage fill) {
    background_ = std::move(background);
    fill_ = std::move(fill);
    update();
}

void CVexProgressCtrl::setRange(int32_t minimum, int32_t maximum) {
    range_ = {minimum, maximum};
    update();
}

void CVexProgressCtrl::setPosition(int32_t position) {
    if (position == position_) {
        return;
    }
    position_ = position;
    update();
}

void CVexProgressCtrl::setVertical(bool vertical) {
    if (vertical == vertical_) {
        return;
    }
    vertical_ = vertical;
    update();
}

void CVexProgressCtrl::renderFrame(QPainter& painter) {
    drawStretched(painter, rect(), background_);
    const BarFill fill = progressFill({width(), height()}, position_, range_, vertical_);
    if (fill_.isNull() || fill.source.width() <= 0 || fill.source.height() <= 0) {
        return;
    }
    // The piece keeps its own size: the bar shows the fill image, it does not stretch it.
    painter.drawImage(QPoint(fill.target.left, fill.target.top), fill_, toQRect(fill.source));
}

} // namespace talwyn::controls
