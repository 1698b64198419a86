#include "controls/color_well_wnd.h"

#include "controls/color_selector_wnd.h"
#include "controls/draw_helper.h"

#include <QMouseEvent>
#include <QPainter>

namespace talwyn::controls {

HxColorWellWnd::HxColorWellWnd(QWidget* parent, const QRect& rect, PickedColorOwner* owner, ControlId id)
    : PickerWindow(parent, rect, id), owner_(owner) {
    hide();
}

void HxColorWellWnd::setSource(HxColorSelectorWnd* source) {
    source_ = source;
}

int HxColorWellWnd::onPickerChanged(const PickerNotifyInfo&) {
    if (source_) {
        color_ = source_->lastColor();
    }
    if (owner_ != nullptr) {
        owner_->colorPicked();
    }
    update();
    return 0;
}

void HxColorWellWnd::draw(QImage& image) {
    QPainter painter(&image);
    painter.fillRect(image.rect(), palette().color(QPalette::Button));
    const int red = static_cast<int>(color_ & 0xFF);
    const int green = static_cast<int>((color_ >> 8) & 0xFF);
    const int blue = static_cast<int>((color_ >> 16) & 0xFF);
    painter.fillRect(QRect(2, 2, width() - 2, height() - 2), QColor(red, green, blue));
    HxDrawHelper().DrawFrame(painter, Box{1, 1, width() - 1, height() - 1},
                             HxDrawHelper::kSunken | HxDrawHelper::kInnerBlack);
}

void HxColorWellWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        grabMouse();
    }
}

void HxColorWellWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        releaseMouse();
    }
}

} // namespace talwyn::controls
