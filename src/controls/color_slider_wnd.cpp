#include "controls/color_slider_wnd.h"

#include "controls/color_selector_wnd.h"
#include "controls/draw_helper.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace talwyn::controls {

using color::ColorValue;

namespace {

// The slider's background, colour value 0x00151312.
const QColor kBackground(0x12, 0x13, 0x15);

} // namespace

HxColorSliderWnd::HxColorSliderWnd(QWidget* parent, const QRect& rect, ControlId id)
    : PickerWindow(parent, rect, id) {
    setFocusPolicy(Qt::ClickFocus);
    SetMode(picker::kModeGreen);
}

void HxColorSliderWnd::setBuddy(HxColorSelectorWnd* buddy) {
    buddy_ = buddy;
}

void HxColorSliderWnd::setStyle(int style) {
    style_ = style;
    update();
}

bool HxColorSliderWnd::stripReversed() const {
    return ((style_ & kStyleReverseStrip) != 0 && !reversed()) || (horizontal() && reversed());
}

Box HxColorSliderWnd::stripRect() const {
    Box box{2, 2, width() - 3, height() - 3};
    const int before = (style_ & kStyleArrowBefore) != 0 ? kArrowSize + 1 : 0;
    const int after = (style_ & kStyleArrowAfter) != 0 ? kArrowSize + 1 : 0;
    const int widen = kArrowSize - 3;
    if (horizontal()) {
        box.top += before;
        box.bottom -= after;
        box.left -= widen;
        box.right += widen;
    } else {
        box.left += before;
        box.right -= after;
        box.top -= widen;
        box.bottom += widen;
    }
    return box;
}

Box HxColorSliderWnd::innerRect() const {
    const Box strip = stripRect();
    return {strip.left + 2, strip.top + 2, strip.right - 2, strip.bottom - 2};
}

int HxColorSliderWnd::stripLength() const {
    const Box inner = innerRect();
    return horizontal() ? inner.width() + 1 : inner.height() + 1;
}

void HxColorSliderWnd::SetMode(int mode) {
    const int base = picker::withoutReversed(mode);
    if (base < 0 || base > 6) {
        return;
    }
    mode_ = mode;
    if (base <= picker::kModeBlue) {
        maxPos_ = 255, lineStep_ = 1, pageStep_ = 10;
    } else if (base == picker::kModeHue) {
        maxPos_ = 3599, lineStep_ = 10, pageStep_ = 100;
    } else if (base <= picker::kModeValue) {
        maxPos_ = 1000, lineStep_ = 10, pageStep_ = 100;
    }
    minPos_ = 0;
    pos_ = reversed() ? maxPos_ : minPos_;
    otherA_ = otherB_ = 0;
    update();
}

int HxColorSliderWnd::NotifyChange(int32_t position) {
    const auto value = static_cast<uint32_t>(position);
    if (buddy_) {
        return notify(buddy_.data(), value);
    }
    return notifyParent(value);
}

int HxColorSliderWnd::onPickerChanged(const PickerNotifyInfo& info) {
    const int base = picker::withoutReversed(mode_);
    const auto* selector = dynamic_cast<const HxColorSelectorWnd*>(info.hwndFrom);
    if (base > picker::kModeValue || selector == nullptr) {
        return 0;
    }
    const bool rgb = base <= picker::kModeBlue;
    const int a = rgb ? selector->y() : selector->x();
    const int b = rgb ? selector->x() : selector->y();
    const int limitA = rgb ? 255 : base == picker::kModeHue ? 1000 : 3599;
    const int limitB = rgb ? 255 : 1000;
    if (a != otherA_ && a >= 0 && a <= limitA) {
        otherA_ = a;
        update();
    }
    if (b != otherB_ && b >= 0 && b <= limitB) {
        otherB_ = b;
        update();
    }
    // Following the selector never notifies back: that ends the chain.
    const int32_t z = selector->z();
    const int32_t p =
        std::clamp(reversed() ? maxPos_ - z : z, std::min(minPos_, maxPos_), std::max(minPos_, maxPos_));
    if (p != pos_) {
        pos_ = p;
        update();
    }
    return 0;
}

void HxColorSliderWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    const Box active{2, 2, width() - 3, height() - 3};
    if (!dragging_ && active.contains(point.x(), point.y())) {
        grabMouse();
        dragging_ = true;
        dragTo(point);
    }
}

void HxColorSliderWnd::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) {
        dragTo(event->position().toPoint());
    }
}

void HxColorSliderWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_) {
        event->ignore();
        return;
    }
    releaseMouse();
    dragging_ = false;
    NotifyChange(pos_);
}

void HxColorSliderWnd::dragTo(QPoint point) {
    const Box inner = innerRect();
    const int start = horizontal() ? inner.left : inner.top;
    const int end = horizontal() ? inner.right : inner.bottom;
    const int length = end - start;
    if (length <= 0) {
        return;
    }
    const int t = std::clamp(horizontal() ? point.x() : point.y(), start, end) - start;
    const double rounding = minPos_ > maxPos_ ? -0.5 : 0.5;
    const auto position =
        minPos_ + static_cast<int32_t>(static_cast<double>(t) / length * (maxPos_ - minPos_) + rounding);
    if (position == pos_) {
        return;
    }
    pos_ = position;
    update();
    NotifyChange(pos_);
}

void HxColorSliderWnd::keyPressEvent(QKeyEvent* event) {
    if (dragging_) {
        return;
    }
    int32_t step = 0;
    std::optional<int32_t> target;
    switch (event->key()) {
    case Qt::Key_PageUp:
        step = -pageStep_;
        break;
    case Qt::Key_PageDown:
        step = pageStep_;
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        step = -lineStep_;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        step = lineStep_;
        break;
    case Qt::Key_End:
        target = maxPos_;
        break;
    case Qt::Key_Home:
        target = minPos_;
        break;
    default:
        event->ignore();
        return;
    }
    const int32_t moved = target.value_or(maxPos_ > minPos_ ? pos_ + step : pos_ - step);
    const int32_t position = std::clamp(moved, std::min(minPos_, maxPos_), std::max(minPos_, maxPos_));
    if (position == pos_) {
        return;
    }
    pos_ = position;
    NotifyChange(pos_);
    update();
}

void HxColorSliderWnd::focusInEvent(QFocusEvent* event) {
    update();
    PickerWindow::focusInEvent(event);
}

void HxColorSliderWnd::focusOutEvent(QFocusEvent* event) {
    update();
    PickerWindow::focusOutEvent(event);
}

void HxColorSliderWnd::fillStrip() {
    strip_.assign(static_cast<size_t>(std::max(stripLength(), 0)), 0);
    switch (picker::withoutReversed(mode_)) {
    case picker::kModeRed:
        color::FillLinearGradient(picker::packColor(0, otherA_, otherB_),
                                  picker::packColor(255, otherA_, otherB_), strip_);
        break;
    case picker::kModeGreen:
        color::FillLinearGradient(picker::packColor(otherA_, 0, otherB_),
                                  picker::packColor(otherA_, 255, otherB_), strip_);
        break;
    case picker::kModeBlue:
        color::FillLinearGradient(picker::packColor(otherB_, otherA_, 0),
                                  picker::packColor(otherB_, otherA_, 255), strip_);
        break;
    case picker::kModeHue:
        color::FillHueStrip(1.0, 1.0, strip_);
        break;
    case picker::kModeSaturation:
        color::FillSaturationRamp(otherA_ / 10.0, otherB_ / 1000.0, strip_);
        break;
    case picker::kModeValue:
        color::FillValueRamp(otherA_ / 10.0, otherB_ / 1000.0, strip_);
        break;
    default:
        break;
    }
    if (stripReversed()) {
        std::reverse(strip_.begin(), strip_.end());
    }
}

void HxColorSliderWnd::drawStrip(QImage& image) const {
    const Box inner = innerRect();
    // Across the strip: clipped to the client area.
    const int acrossStart = std::max(horizontal() ? inner.top : inner.left, 0);
    const int acrossEnd =
        std::min(horizontal() ? inner.bottom : inner.right, horizontal() ? height() : width());
    for (size_t k = 0; k < strip_.size(); ++k) {
        const QRgb pixel = strip_[k] | 0xFF000000u;
        const int along = static_cast<int>(k);
        if (horizontal()) {
            const int column = inner.left + along;
            if (column < 0 || column >= width()) {
                continue;
            }
            for (int row = acrossStart; row < acrossEnd; ++row) {
                reinterpret_cast<QRgb*>(image.scanLine(row))[column] = pixel;
            }
        } else {
            // Entry 0 lies at the bottom.
            const int row = inner.bottom - along;
            if (row < 0 || row >= height() || acrossStart >= acrossEnd) {
                continue;
            }
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
            std::fill(line + acrossStart, line + acrossEnd, pixel);
        }
    }
}

void HxColorSliderWnd::drawMarks(QPainter& painter) const {
    const Box strip = stripRect();
    const Box inner = innerRect();
    const int length = horizontal() ? inner.width() : inner.height();
    const int32_t span = maxPos_ - minPos_;
    const double t = span == 0 ? 0.0 : static_cast<double>(pos_ - minPos_) / span;
    const int offset = static_cast<int>(t * length);
    const QColor pen = palette().color(QPalette::WindowText);
    const QColor fill = palette().color(QPalette::Window);
    const HxDrawHelper helper;
    using Direction = HxDrawHelper::ArrowDirection;
    if (horizontal()) {
        const int column = inner.left + offset;
        if ((style_ & kStyleArrowBefore) != 0) {
            helper.DrawArrow(painter, {column, strip.top - 2}, Direction::Down, kArrowSize, pen, fill);
        }
        if ((style_ & kStyleArrowAfter) != 0) {
            helper.DrawArrow(painter, {column, strip.bottom + 1}, Direction::Up, kArrowSize, pen, fill);
        }
    } else {
        const int row = inner.top + offset;
        if ((style_ & kStyleArrowBefore) != 0) {
            helper.DrawArrow(painter, {strip.left - 2, row}, Direction::Right, kArrowSize, pen, fill);
        }
        if ((style_ & kStyleArrowAfter) != 0) {
            helper.DrawArrow(painter, {strip.right + 1, row}, Direction::Left, kArrowSize, pen, fill);
        }
    }
}

void HxColorSliderWnd::draw(QImage& image) {
    {
        QPainter painter(&image);
        painter.fillRect(image.rect(), kBackground);
        HxDrawHelper().DrawFrame(painter, stripRect(), HxDrawHelper::kSunken | HxDrawHelper::kInnerBlack);
    }
    fillStrip();
    drawStrip(image);
    QPainter painter(&image);
    drawMarks(painter);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, width() - 1, height() - 1);
    }
}

} // namespace talwyn::controls
