#include "controls/color_selector_wnd.h"

#include "controls/color_slider_wnd.h"
#include "controls/color_well_wnd.h"
#include "controls/draw_helper.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace talwyn::controls {

using color::ColorValue;
using color::Pixel;

namespace {

ColorValue hsvColor(double hue, double saturation, double value) {
    if (saturation < 0) {
        return 0;
    }
    double red = 0;
    double green = 0;
    double blue = 0;
    if (color::HsvToRgb(hue, saturation, value, red, green, blue) != color::kStatusOk) {
        return 0;
    }
    return color::UnitRgbToColor(red, green, blue);
}

// ceil(numerator / denominator) for a non-negative numerator and a positive denominator.
constexpr int ceilDiv(int numerator, int denominator) {
    return (numerator + denominator - 1) / denominator;
}

} // namespace

HxColorSelectorWnd::HxColorSelectorWnd(QWidget* parent, const QRect& rect, ControlId id)
    : PickerWindow(parent, rect, id) {
    setFocusPolicy(Qt::ClickFocus);
    SetMode(picker::kModeRed);
}

void HxColorSelectorWnd::setSlider(HxColorSliderWnd* slider) {
    slider_ = slider;
}

void HxColorSelectorWnd::setWell(HxColorWellWnd* well) {
    well_ = well;
}

Box HxColorSelectorWnd::fieldRect() const {
    return {3, 3, width() - 3, height() - 3};
}

Box HxColorSelectorWnd::frameRect() const {
    return {2, 2, width() - 2, height() - 2};
}

void HxColorSelectorWnd::SetMode(int mode) {
    mode = picker::withoutReversed(mode);
    const auto ranges = picker::rangesOf(mode);
    // An unknown mode has no ranges to map the pointer with: it is refused.
    if (mode == mode_ || !ranges) {
        return;
    }
    mode_ = mode;
    z_ = x_ = y_ = 0;
    xMax_ = ranges->xMax;
    yMax_ = ranges->yMax;
    update();
}

ColorValue HxColorSelectorWnd::GetColor() const {
    return colorAt(z_, x_, y_);
}

ColorValue HxColorSelectorWnd::colorAt(int z, int x, int y) const {
    switch (mode_) {
    case picker::kModeRed:
        return picker::packColor(z, y, x);
    case picker::kModeGreen:
        return picker::packColor(y, z, x);
    case picker::kModeBlue:
        return picker::packColor(x, y, z);
    case picker::kModeHue:
        return hsvColor(z / 10.0, static_cast<double>(x) / xMax_, static_cast<double>(y) / yMax_);
    case picker::kModeSaturation:
        return hsvColor(x / 10.0, z / 1000.0, static_cast<double>(y) / yMax_);
    case picker::kModeValue:
        return hsvColor(x / 10.0, static_cast<double>(y) / yMax_, z / 1000.0);
    default:
        return 0;
    }
}

void HxColorSelectorWnd::SetColor(ColorValue color) {
    const int red = static_cast<int>(color & 0xFF);
    const int green = static_cast<int>((color >> 8) & 0xFF);
    const int blue = static_cast<int>((color >> 16) & 0xFF);
    int z = 0;
    int x = 0;
    int y = 0;
    switch (mode_) {
    case picker::kModeRed:
        z = red, x = blue, y = green;
        break;
    case picker::kModeGreen:
        z = green, x = blue, y = red;
        break;
    case picker::kModeBlue:
        z = blue, x = red, y = green;
        break;
    case picker::kModeHue:
    case picker::kModeSaturation:
    case picker::kModeValue: {
        double hue = 0;
        double saturation = 0;
        double value = 0;
        color::RgbToHsv(red / 255.0, green / 255.0, blue / 255.0, hue, saturation, value);
        const int h = static_cast<int>(std::ceil(hue * 10));
        const int s = static_cast<int>(std::ceil(saturation * 1000));
        const int v = static_cast<int>(std::ceil(value * 1000));
        if (mode_ == picker::kModeHue) {
            z = h, x = s, y = v;
        } else if (mode_ == picker::kModeSaturation) {
            z = s, x = h, y = v;
        } else {
            z = v, x = h, y = s;
        }
        break;
    }
    default:
        break;
    }
    if (z == z_ && x == x_ && y == y_) {
        return;
    }
    z_ = z;
    x_ = x;
    y_ = y;
    changed();
}

int HxColorSelectorWnd::NotifyChange(uint32_t value) {
    if (controlId() == 0) {
        return -1;
    }
    notify(slider_.data(), value);
    notify(well_.data(), value);
    return notifyParent(value);
}

int HxColorSelectorWnd::onPickerChanged(const PickerNotifyInfo& info) {
    const auto* slider = dynamic_cast<const HxColorSliderWnd*>(info.hwndFrom);
    const auto ranges = picker::rangesOf(mode_);
    if (slider == nullptr || !ranges) {
        return 0;
    }
    const int z = slider->reversed() ? slider->maxPos() - slider->pos() : slider->pos();
    if (z < 0 || z > ranges->zMax) {
        return 0;
    }
    z_ = z;
    changed();
    return 0;
}

void HxColorSelectorWnd::changed() {
    lastColor_ = GetColor();
    update();
    NotifyChange(lastColor_);
}

void HxColorSelectorWnd::moveTo(int x, int y) {
    x = std::clamp(x, 0, xMax_);
    y = std::clamp(y, 0, yMax_);
    if (x == x_ && y == y_) {
        return;
    }
    x_ = x;
    y_ = y;
    changed();
}

void HxColorSelectorWnd::pickAt(QPoint point) {
    const Box field = fieldRect();
    if (field.width() <= 0 || field.height() <= 0) {
        return;
    }
    // The far edges belong to the field here, so both maxima can be reached.
    const int px = std::clamp(point.x(), field.left, field.right);
    const int py = std::clamp(point.y(), field.top, field.bottom);
    moveTo(ceilDiv((px - field.left) * xMax_, field.width()),
           ceilDiv((field.bottom - py) * yMax_, field.height()));
}

void HxColorSelectorWnd::mousePressEvent(QMouseEvent* event) {
    const Qt::MouseButton button = event->button();
    if (button != Qt::LeftButton && button != Qt::MiddleButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    if (!dragging_ && fieldRect().contains(point.x(), point.y())) {
        grabMouse();
        dragging_ = true;
        dragButton_ = button;
        pickAt(point);
    }
}

void HxColorSelectorWnd::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton && event->button() != Qt::MiddleButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
}

void HxColorSelectorWnd::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) {
        pickAt(event->position().toPoint());
    }
}

void HxColorSelectorWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    if (!dragging_ || event->button() != dragButton_) {
        return;
    }
    releaseMouse();
    dragging_ = false;
    dragButton_ = Qt::NoButton;
    lastColor_ = GetColor();
    NotifyChange(lastColor_);
}

void HxColorSelectorWnd::keyPressEvent(QKeyEvent* event) {
    if (dragging_) {
        return;
    }
    switch (event->key()) {
    case Qt::Key_PageUp:
        moveTo(xMax_, yMax_);
        break;
    case Qt::Key_PageDown:
        moveTo(xMax_, 0);
        break;
    case Qt::Key_End:
        moveTo(0, 0);
        break;
    case Qt::Key_Home:
        moveTo(0, yMax_);
        break;
    case Qt::Key_Left:
        moveTo(x_ - 1, y_);
        break;
    case Qt::Key_Right:
        moveTo(x_ + 1, y_);
        break;
    case Qt::Key_Up:
        moveTo(x_, y_ + 1);
        break;
    case Qt::Key_Down:
        moveTo(x_, y_ - 1);
        break;
    default:
        event->ignore();
        break;
    }
}

void HxColorSelectorWnd::draw(QImage& image) {
    {
        QPainter painter(&image);
        painter.fillRect(image.rect(), palette().color(QPalette::Button));
        HxDrawHelper().DrawFrame(painter, frameRect(), HxDrawHelper::kSunken | HxDrawHelper::kInnerBlack);
    }
    drawField(image);
    drawMarker(image);
}

void HxColorSelectorWnd::drawField(QImage& image) const {
    const Box field = fieldRect();
    const int n = field.width();
    if (n <= 0 || field.height() <= 0) {
        return;
    }
    // One pixel more than the field is wide: pixel k then shows x = k * xMax / n,
    // the far end (x = xMax) lying on the field's right edge as the pointer maps it.
    std::vector<Pixel> row(static_cast<size_t>(n) + 1);
    for (int py = field.top; py < field.bottom; ++py) {
        const int y = ceilDiv((field.bottom - py) * yMax_, field.height());
        const double yUnit = static_cast<double>(y) / yMax_;
        switch (mode_) {
        case picker::kModeSaturation:
            color::FillHueStrip(z_ / 1000.0, yUnit, row);
            break;
        case picker::kModeValue:
            color::FillHueStrip(yUnit, z_ / 1000.0, row);
            break;
        default:
            // Along a row every other mode is linear in red, green and blue.
            color::FillLinearGradient(colorAt(z_, 0, y), colorAt(z_, xMax_, y), row);
            break;
        }
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(py)) + field.left;
        for (int k = 0; k < n; ++k) {
            line[k] = row[static_cast<size_t>(k)] | 0xFF000000u;
        }
    }
}

void HxColorSelectorWnd::drawMarker(QImage& image) const {
    const Box field = fieldRect();
    if (field.width() <= 0 || field.height() <= 0) {
        return;
    }
    const int cx = field.left + field.width() * x_ / xMax_;
    const int cy = field.bottom - field.height() * y_ / yMax_;
    const ColorValue shown = GetColor();
    const int brightest =
        static_cast<int>(std::max({shown & 0xFF, (shown >> 8) & 0xFF, (shown >> 16) & 0xFF}));
    QPainter painter(&image);
    painter.setClipRect(QRect(field.left, field.top, field.width(), field.height()));
    painter.setPen(brightest >= 128 ? Qt::black : Qt::white);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPoint(cx, cy), 5, 5);
}

} // namespace talwyn::controls
