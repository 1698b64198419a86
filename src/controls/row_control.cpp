#include "controls/row_control.h"

#include "controls/macro_commands.h"

namespace talwyn::controls {

namespace {
constexpr int kDefaultScrollWidth = 18;
}

RowControl::RowControl(QWidget* parent) : BufferedControl(parent), scroll_(this) {
    scroll_.setControlId(macro_command::kScroll);
    glueScrollControl();
}

void RowControl::SetBackground(QImage image) {
    background_ = std::move(image);
    update();
}

void RowControl::setScrollImages(ScrollImages images) {
    const int width = images.background.isNull() ? kDefaultScrollWidth : images.background.width();
    scroll_.resize(width, height());
    glueScrollControl();
    scroll_.SetImages(std::move(images));
}

void RowControl::glueScrollControl() {
    const int width = scroll_.width() > 0 ? scroll_.width() : kDefaultScrollWidth;
    scroll_.setGeometry(this->width() - width, 0, width, height());
}

void RowControl::resizeEvent(QResizeEvent* event) {
    BufferedControl::resizeEvent(event);
    glueScrollControl();
}

} // namespace talwyn::controls
