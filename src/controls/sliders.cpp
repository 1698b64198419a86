#include "controls/sliders.h"

#include "controls/paint_support.h"

#include <QMouseEvent>
#include <QPainter>

namespace talwyn::controls {

namespace {
Extent extentOf(const QImage& image) {
    return {image.width(), image.height()};
}

Box clientBox(const QWidget& widget) {
    return {0, 0, widget.width(), widget.height()};
}
} // namespace

void SliderPointer::setDisabled(bool disabled) {
    state_ = disabled ? VisualState::Disabled : VisualState::Normal;
    previous_ = VisualState::Normal;
    pressed_ = false;
}

void SliderPointer::press() {
    state_ = VisualState::Down;
    previous_ = VisualState::Down;
    pressed_ = true;
}

bool SliderPointer::move(bool inside, bool leftHeld) {
    switch (hover_.move(inside)) {
    case HoverChange::Left:
        previous_ = state_;
        state_ = VisualState::Normal;
        pressed_ = false;
        return true;
    case HoverChange::Entered:
        pressed_ = leftHeld;
        state_ = leftHeld ? previous_ : VisualState::Over;
        return true;
    case HoverChange::None:
        break;
    }
    return false;
}

void SliderPointer::release() {
    state_ = VisualState::Normal;
    previous_ = VisualState::Normal;
    pressed_ = false;
}

CVexSliderCtrl3D::CVexSliderCtrl3D(QWidget* parent) : BufferedControl(parent) {
    setMouseTracking(true);
}

void CVexSliderCtrl3D::SetImages(QImage background, std::array<QImage, kMaxThumbs> thumbs,
                                 QImage disabledThumb) {
    background_ = std::move(background);
    thumbs_ = std::move(thumbs);
    disabledThumb_ = std::move(disabledThumb);
    update();
}

void CVexSliderCtrl3D::setThumbCount(int count) {
    if (count == thumbCount_) {
        return;
    }
    thumbCount_ = count;
    update();
}

void CVexSliderCtrl3D::setRange(int32_t minimum, int32_t maximum) {
    range_ = {minimum, maximum};
    update();
}

void CVexSliderCtrl3D::SetValue(int thumb, int32_t value) {
    if (thumb < 1 || thumb > kMaxThumbs) {
        return;
    }
    value = std::clamp(value, range_.minimum, std::max(range_.minimum, range_.maximum));
    if (value == lastReported_[thumb - 1]) {
        return;
    }
    values_[thumb - 1] = value;
    lastReported_[thumb - 1] = value;
    update();
    sendCommand(parentWidget(), controlId(), sliderCommandValue(value, thumb));
}

void CVexSliderCtrl3D::setDisabledLook(bool disabled) {
    if (disabled == pointer_.disabled()) {
        return;
    }
    pointer_.setDisabled(disabled);
    activeThumb_ = 0;
    update();
}

int32_t CVexSliderCtrl3D::value(int thumb) const {
    return thumb >= 1 && thumb <= kMaxThumbs ? values_[thumb - 1] : 0;
}

Extent CVexSliderCtrl3D::thumbExtent(int thumb) const {
    return thumb >= 1 && thumb <= kMaxThumbs ? extentOf(thumbs_[thumb - 1]) : Extent{};
}

Box CVexSliderCtrl3D::thumbRect(int thumb) const {
    return sliderThumbRect(clientBox(*this), value(thumb), range_, thumbExtent(1), thumbExtent(thumb),
                           thumbExtent(3));
}

void CVexSliderCtrl3D::renderFrame(QPainter& painter) {
    drawStretched(painter, rect(), background_);
    if (thumbCount_ < 1 || thumbCount_ > kMaxThumbs) {
        return;
    }
    for (int k = 1; k <= thumbCount_; ++k) {
        const bool disabledSingle = thumbCount_ == 1 && pointer_.disabled() && !disabledThumb_.isNull();
        drawStretched(painter, toQRect(thumbRect(k)), disabledSingle ? disabledThumb_ : thumbs_[k - 1]);
    }
}

void CVexSliderCtrl3D::dragThumb(int x) {
    if (activeThumb_ == 0) {
        return;
    }
    const int k = activeThumb_;
    const int32_t raw = valueFromPointer(x, 0, width(), thumbExtent(k).width, range_);
    const int32_t v = snapToStep(raw, step_, range_);
    values_[k - 1] = v;
    if (v == lastReported_[k - 1]) {
        return;
    }
    sendCommand(parentWidget(), controlId(), sliderCommandValue(v, k));
    lastReported_[k - 1] = v;
}

void CVexSliderCtrl3D::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    if (pointer_.disabled() || event->button() != Qt::LeftButton) {
        return;
    }
    pointer_.press();
    const QPoint p = event->position().toPoint();
    activeThumb_ = 0;
    for (int k = 1; k <= std::min(thumbCount_, kMaxThumbs); ++k) {
        if (thumbRect(k).contains(p.x(), p.y())) {
            activeThumb_ = k;
            break;
        }
    }
    dragThumb(p.x());
    update();
}

void CVexSliderCtrl3D::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    if (pointer_.disabled()) {
        return;
    }
    const QPoint p = event->position().toPoint();
    if (pointer_.dragging()) {
        dragThumb(p.x());
        update();
    }
    if (pointer_.move(rect().contains(p), (event->buttons() & Qt::LeftButton) != 0)) {
        update();
    }
}

void CVexSliderCtrl3D::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (!pointer_.disabled() && pointer_.move(false, false)) {
        update();
    }
}

void CVexSliderCtrl3D::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (pointer_.disabled() || event->button() != Qt::LeftButton) {
        return;
    }
    // After the pointer left, the release belongs to no drag any more.
    if (pointer_.tracking()) {
        dragThumb(event->position().toPoint().x());
    }
    activeThumb_ = 0;
    pointer_.release();
    update();
}

CVexSliderCtrlVer::CVexSliderCtrlVer(QWidget* parent) : BufferedControl(parent), font_(arialFont(13)) {
    setMouseTracking(true);
}

void CVexSliderCtrlVer::SetImages(QImage background, QImage thumb, QImage activeThumb, QImage disabledThumb) {
    background_ = std::move(background);
    thumb_ = std::move(thumb);
    activeThumb_ = std::move(activeThumb);
    disabledThumb_ = std::move(disabledThumb);
    update();
}

void CVexSliderCtrlVer::setRange(int32_t minimum, int32_t maximum) {
    range_ = {minimum, maximum};
    update();
}

void CVexSliderCtrlVer::setValue(int32_t value) {
    value = std::clamp(value, range_.minimum, std::max(range_.minimum, range_.maximum));
    if (value == value_) {
        return;
    }
    value_ = value;
    lastReported_ = value;
    update();
}

void CVexSliderCtrlVer::setShowValue(bool show) {
    if (show == showValue_) {
        return;
    }
    showValue_ = show;
    update();
}

void CVexSliderCtrlVer::setDisabledLook(bool disabled) {
    if (disabled == pointer_.disabled()) {
        return;
    }
    pointer_.setDisabled(disabled);
    update();
}

Box CVexSliderCtrlVer::thumbRect() const {
    return verticalThumbRect(clientBox(*this), value_, range_, extentOf(thumb_));
}

void CVexSliderCtrlVer::renderFrame(QPainter& painter) {
    drawStretched(painter, rect(), background_);
    const Box thumb = thumbRect();
    const QImage* image = &thumb_;
    if (pointer_.state() == VisualState::Over || pointer_.state() == VisualState::Down) {
        image = &activeThumb_;
    } else if (pointer_.disabled()) {
        image = &disabledThumb_;
    }
    if (!image->isNull()) {
        painter.drawImage(QPoint(thumb.left, thumb.top), *image);
    }
    if (showValue_) {
        const int centreY = thumb.top + thumb.height() / 2;
        const int left = std::max(0, thumb.left - thumb.width());
        const int right = std::min(width(), thumb.left + thumb.width());
        const QRect box(left, centreY + thumb.height(), right - left, 20);
        DrawLabel(QString::number(value_), argbColor(kDefaultValueColor), true, false, box, font_, painter);
    }
}

void CVexSliderCtrlVer::drag(int y) {
    const int32_t raw = valueFromPointer(y, 0, height(), thumb_.height(), range_);
    const int32_t v = snapToStep(raw, step_, range_);
    value_ = v;
    if (v == lastReported_) {
        return;
    }
    // Only pixels of this window can be read; a pointer beyond it picks nothing.
    const QImage& shown = frame();
    const QPoint probe(width() / 2, y);
    if (shown.valid(probe)) {
        const QRgb pixel = shown.pixel(probe);
        if (isPickableColor(qRed(pixel), qGreen(pixel), qBlue(pixel))) {
            pickedColor_ = static_cast<uint32_t>(qRed(pixel)) | static_cast<uint32_t>(qGreen(pixel)) << 8 |
                           static_cast<uint32_t>(qBlue(pixel)) << 16;
        }
    }
    sendCommand(parentWidget(), controlId(), v);
    lastReported_ = v;
}

void CVexSliderCtrlVer::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    if (pointer_.disabled() || event->button() != Qt::LeftButton) {
        return;
    }
    pointer_.press();
    drag(event->position().toPoint().y());
    update();
}

void CVexSliderCtrlVer::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    if (pointer_.disabled()) {
        return;
    }
    const QPoint p = event->position().toPoint();
    if (pointer_.dragging()) {
        drag(p.y());
        update();
    }
    if (pointer_.move(rect().contains(p), (event->buttons() & Qt::LeftButton) != 0)) {
        update();
    }
}

void CVexSliderCtrlVer::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (!pointer_.disabled() && pointer_.move(false, false)) {
        update();
    }
}

void CVexSliderCtrlVer::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (pointer_.disabled() || event->button() != Qt::LeftButton) {
        return;
    }
    if (pointer_.tracking()) {
        drag(event->position().toPoint().y());
    }
    pointer_.release();
    update();
}

} // namespace talwyn::controls
