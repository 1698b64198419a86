#include "controls/statics.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

namespace talwyn::controls {

namespace {
Argb withAlpha(Argb colour, int alpha) {
    return (colour & 0x00FFFFFFu) | static_cast<Argb>(alpha & 0xFF) << 24;
}
} // namespace

CVexStatic::CVexStatic(QWidget* parent) : BufferedControl(parent), font_(arialFont(15)) {}

void CVexStatic::SetBackground(QImage image) {
    background_ = std::move(image);
    update();
}

void CVexStatic::AddImage(QImage image) {
    images_.push_back(std::move(image));
}

void CVexStatic::SetFontHeight(int height) {
    font_ = arialFont(height);
    update();
}

void CVexStatic::SetText(const QString& text) {
    if (texts_.empty()) {
        texts_.push_back(text);
    } else {
        texts_.front() = text;
    }
    currentText_ = 0;
    update();
}

QString CVexStatic::GetCurrentText() const {
    if (currentText_ < 0 || currentText_ >= static_cast<int>(texts_.size())) {
        return {};
    }
    return texts_[static_cast<size_t>(currentText_)];
}

void CVexStatic::setCurrentImage(int index) {
    if (index == currentImage_) {
        return;
    }
    currentImage_ = index;
    update();
}

void CVexStatic::setCurrentText(int index) {
    if (index == currentText_) {
        return;
    }
    currentText_ = index;
    update();
}

void CVexStatic::setFillColor(Argb colour) {
    fillColor_ = colour;
    update();
}

void CVexStatic::setTextColor(Argb colour) {
    textColor_ = colour;
    update();
}

void CVexStatic::setCentreHorizontally(bool centre) {
    centreHorizontally_ = centre;
    update();
}

void CVexStatic::setShowText(bool show) {
    showText_ = show;
    update();
}

void CVexStatic::renderFrame(QPainter& painter) {
    painter.fillRect(rect(), argbColor(fillColor_));
    drawStretched(painter, rect(), background_);
    if (currentImage_ >= 0 && currentImage_ < imageCount()) {
        drawStretched(painter, rect(), images_[static_cast<size_t>(currentImage_)]);
    }
    const QString text = GetCurrentText();
    if (showText_ && !text.isEmpty()) {
        DrawLabel(text, argbColor(textColor_), centreHorizontally_, true, rect(), font_, painter);
    }
}

void CVexStatic::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        sendCommand(parentWidget(), controlId(), 1);
    }
    BufferedControl::mouseDoubleClickEvent(event);
}

PreviewCounters& previewCounters() {
    static PreviewCounters counters;
    return counters;
}

CVexMouseStatic::CVexMouseStatic(QWidget* parent) : BufferedControl(parent) {
    // The mouse picture's surround is transparent: the page shows through it.
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAttribute(Qt::WA_NoSystemBackground, false);
}

void CVexMouseStatic::setMouseImage(QImage image, QRect zone1, QRect zone2) {
    mouseImage_ = std::move(image);
    zone1Rect_ = zone1;
    zone2Rect_ = zone2;
    update();
}

void CVexMouseStatic::SetZone1Color(Argb colour) {
    zone1Color_ = colour;
    zone1Saved_ = colour;
    update();
}

void CVexMouseStatic::SetZone2Color(Argb colour) {
    zone2Color_ = colour;
    zone2Saved_ = colour;
    update();
}

void CVexMouseStatic::SetZoneColors(Argb colour) {
    zone1Color_ = colour;
    zone2Color_ = colour;
    update();
}

void CVexMouseStatic::SetAlpha(int alpha) {
    zone1Color_ = withAlpha(zone1Color_, alpha);
    zone2Color_ = withAlpha(zone2Color_, alpha);
    update();
}

void CVexMouseStatic::setZoneLit(bool zone1, bool zone2) {
    zone1Lit_ = zone1;
    zone2Lit_ = zone2;
    update();
}

void CVexMouseStatic::restartEffectTimer() {
    timers_.stop(kEffectTimer);
    const auto interval = effectInterval(effect_);
    effectRunning_ = interval.has_value();
    effectInterval_ = interval.value_or(std::chrono::milliseconds(0));
    resumeTimers();
}

void CVexMouseStatic::stopEffectTimer() {
    effectRunning_ = false;
    timers_.stop(kEffectTimer);
}

void CVexMouseStatic::resumeTimers() {
    if (!isVisible()) {
        return;
    }
    if (effectRunning_ && !timers_.isActive(kEffectTimer)) {
        timers_.start(kEffectTimer, effectInterval_);
    }
    if (cycleRunning_ && !timers_.isActive(kColorCycleTimer)) {
        timers_.start(kColorCycleTimer, kColorCycleInterval);
    }
}

void CVexMouseStatic::showEvent(QShowEvent* event) {
    BufferedControl::showEvent(event);
    resumeTimers();
}

void CVexMouseStatic::hideEvent(QHideEvent* event) {
    timers_.stop(kEffectTimer);
    timers_.stop(kColorCycleTimer);
    BufferedControl::hideEvent(event);
}

void CVexMouseStatic::SetLevel(int level) {
    level_ = clampLevel(level);
    stopEffectTimer();
    if (effect_ == static_cast<int>(LightEffect::Solid)) {
        SetAlpha(levelAlpha(level_));
    }
    restartEffectTimer();
}

void CVexMouseStatic::SetEffect(int effect) {
    stopEffectTimer();
    effect_ = effect;
    if (effect_ == static_cast<int>(LightEffect::Solid)) {
        SetAlpha(levelAlpha(level_));
    }
    restartEffectTimer();
}

void CVexMouseStatic::startColorCycle() {
    cycleRunning_ = true;
    timers_.stop(kColorCycleTimer);
    resumeTimers();
}

void CVexMouseStatic::stopColorCycle() {
    cycleRunning_ = false;
    timers_.stop(kColorCycleTimer);
}

void CVexMouseStatic::effectTick() {
    if (!isVisible()) {
        return;
    }
    const EffectTick tick = controls::effectTick(previewCounters(), effect_, levelAlpha(level_));
    if (tick.alpha) {
        SetAlpha(*tick.alpha);
    }
    if (tick.stopTimer) {
        stopEffectTimer();
    }
}

void CVexMouseStatic::colorCycleTick() {
    const Rgb rgb = controls::colorCycleTick(previewCounters());
    const Argb colour = (zone1Color_ & 0xFF000000u) | static_cast<Argb>(rgb.red) << 16 |
                        static_cast<Argb>(rgb.green) << 8 | static_cast<Argb>(rgb.blue);
    zone1Color_ = colour;
    zone2Color_ = colour;
    update();
}

void CVexMouseStatic::timerEvent(QTimerEvent* event) {
    switch (timers_.numberOf(event->timerId())) {
    case kEffectTimer:
        effectTick();
        break;
    case kColorCycleTimer:
        colorCycleTick();
        break;
    default:
        BufferedControl::timerEvent(event);
        break;
    }
}

void CVexMouseStatic::renderFrame(QPainter& painter) {
    // The buffer starts clear, so the page shows around the picture; behind its
    // zone windows a light shows over black, as an LED does.
    painter.fillRect(zone1Rect_, Qt::black);
    painter.fillRect(zone2Rect_, Qt::black);
    if (zone1Lit_) {
        painter.fillRect(zone1Rect_, argbColor(zone1Color_));
    }
    if (zone2Lit_) {
        painter.fillRect(zone2Rect_, argbColor(zone2Color_));
    }
    drawStretched(painter, rect(), mouseImage_);
}

CKytColorStatic::CKytColorStatic(QWidget* parent) : BufferedControl(parent) {
    setMouseTracking(true);
}

void CKytColorStatic::setOverlay(QImage image) {
    overlay_ = std::move(image);
    update();
}

void CKytColorStatic::setBaseColor(uint32_t colour) {
    if (colour == base_) {
        return;
    }
    base_ = colour;
    update();
}

const QImage& CKytColorStatic::field() {
    if (field_.size() != size() || fieldBase_ != base_) {
        field_ = QImage(size(), QImage::Format_RGB32);
        for (int y = 0; y < height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(field_.scanLine(y));
            for (int x = 0; x < width(); ++x) {
                const Rgb c = colorFieldPixel(x, y, width(), height(), base_);
                line[x] = qRgb(c.red, c.green, c.blue);
            }
        }
        fieldBase_ = base_;
    }
    return field_;
}

void CKytColorStatic::renderFrame(QPainter& painter) {
    const QImage& shaded = field();
    painter.drawImage(0, 0, shaded);
    if (pressed_ || released_ || left_) {
        // A drag that left the field reads the nearest field pixel.
        const QPoint probe(std::clamp(marker_.x, 0, std::max(0, width() - 1)),
                           std::clamp(marker_.y, 0, std::max(0, height() - 1)));
        if (shaded.valid(probe)) {
            const QRgb pixel = shaded.pixel(probe);
            picked_ = snapFieldColor(qRed(pixel), qGreen(pixel), qBlue(pixel));
        }
        markerOutline_ = markerOrigin(marker_, {0, 0, width(), height()});
        painter.setBrush(Qt::NoBrush);
        painter.setPen(Qt::white);
        painter.drawRect(markerOutline_.x, markerOutline_.y, 7, 7);
        painter.setPen(argbColor(0xFF252525));
        painter.drawRect(markerOutline_.x + 1, markerOutline_.y + 1, 5, 5);
        released_ = false;
        left_ = false;
    }
    drawStretched(painter, rect(), overlay_);
}

void CKytColorStatic::moveMarker(QPoint point) {
    marker_ = {point.x(), point.y()};
    update();
    sendCommand(parentWidget(), controlId(), 0);
}

void CKytColorStatic::leave() {
    if (hover_.move(false) == HoverChange::Left) {
        left_ = true;
        released_ = true;
        update();
    }
}

void CKytColorStatic::mouseMoveEvent(QMouseEvent* event) {
    BufferedControl::mouseMoveEvent(event);
    const QPoint p = event->position().toPoint();
    if (pressed_ && !released_) {
        moveMarker(p);
    }
    if (rect().contains(p)) {
        hover_.move(true);
    } else {
        leave();
    }
}

void CKytColorStatic::leaveEvent(QEvent* event) {
    BufferedControl::leaveEvent(event);
    leave();
}

void CKytColorStatic::mousePressEvent(QMouseEvent* event) {
    BufferedControl::mousePressEvent(event);
    if (event->button() != Qt::LeftButton) {
        return;
    }
    pressed_ = true;
    if (hover_.tracking()) {
        moveMarker(event->position().toPoint());
    }
}

void CKytColorStatic::mouseReleaseEvent(QMouseEvent* event) {
    BufferedControl::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) {
        return;
    }
    pressed_ = false;
    released_ = true;
    if (hover_.tracking()) {
        moveMarker(event->position().toPoint());
    }
}

void CKytColorStatic::focusInEvent(QFocusEvent* event) {
    BufferedControl::focusInEvent(event);
    update();
}

void CKytColorStatic::focusOutEvent(QFocusEvent* event) {
    BufferedControl::focusOutEvent(event);
    update();
}

} // namespace talwyn::controls
