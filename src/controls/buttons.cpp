#include "controls/buttons.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace talwyn::controls {

Argb buttonCaptionColor(bool disabled, bool selected, VisualState state, Argb textColor, Argb selectedColor) {
    if (disabled) {
        return CVexButton::kDisabledTextColor;
    }
    if (selected) {
        return selectedColor;
    }
    if (state == VisualState::Over) {
        return 0xFFFFFFFF;
    }
    return textColor;
}

CVexButton::CVexButton(QWidget* parent) : CVexImageButton(parent), font_(arialFont(15)) {}

void CVexButton::SetCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void CVexButton::SetSelected(bool selected) {
    if (selected == selected_) {
        return;
    }
    selected_ = selected;
    update();
}

void CVexButton::setTextColors(Argb text, Argb selectedText) {
    textColor_ = text;
    selectedColor_ = selectedText;
    update();
}

void CVexButton::setCaptionFont(const QFont& font) {
    font_ = font;
    update();
}

void CVexButton::cursorEntered() {
    sendCommand(parentWidget(), controlId(), 0);
}

void CVexButton::paintButton(QPainter& painter) {
    CVexImageButton::paintButton(painter);
    if (caption_.isEmpty()) {
        return;
    }
    const QRect textRect = rect().adjusted(5, 0, 0, 0);
    const Argb colour =
        buttonCaptionColor(!isEnabled(), selected_, visualState(), textColor_, selectedColor_);
    DrawLabel(caption_, argbColor(colour), false, true, textRect, font_, painter);
}

CVexCheckBox::CVexCheckBox(QWidget* parent) : CVexImageButton(parent) {}

void CVexCheckBox::setCheckedFlag(bool checked) {
    if (checked == checked_) {
        return;
    }
    checked_ = checked;
    update();
}

void CVexCheckBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        setPressedFlag(true);
        setVisualState(VisualState::Down);
    }
    QAbstractButton::mousePressEvent(event);
}

void CVexCheckBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (isPressedFlag()) {
            checked_ = !checked_;
        }
        setPressedFlag(false);
        setVisualState(VisualState::Normal);
    }
    // The parent's click handler runs after the flag flipped, so it reads the new state.
    QAbstractButton::mouseReleaseEvent(event);
}

CVexCbnColorButton::CVexCbnColorButton(QWidget* parent) : CVexImageButton(parent) {}

void CVexCbnColorButton::setSelected(bool selected) {
    if (selected == selected_) {
        return;
    }
    selected_ = selected;
    update();
}

void CVexCbnColorButton::onCommand(ControlId first, CommandValue second) {
    if (popup_ == nullptr || first != popup_->popupId()) {
        return;
    }
    value_ = static_cast<uint32_t>(second);
    update();
    sendCommand(parentWidget(), controlId(), static_cast<CommandValue>(value_));
}

void CVexCbnColorButton::mouseReleaseEvent(QMouseEvent* event) {
    const QPointer<CVexCbnColorButton> alive(this);
    CVexImageButton::mouseReleaseEvent(event);
    if (!alive || event->button() != Qt::LeftButton || popup_ == nullptr) {
        return;
    }
    QWidget& popupWindow = popup_->window();
    if (popupWindow.isVisible()) {
        popupWindow.hide();
        return;
    }
    const QPoint bottomLeft = mapToGlobal(QPoint(0, height()));
    popupWindow.setGeometry(QRect(bottomLeft, popup_->imageSize()));
    popupWindow.show();
    popup_->startHideTimer(kPopupHideDelay);
}

void CVexCbnColorButton::paintButton(QPainter& painter) {
    const QImage& image = currentImage();
    if (!image.isNull()) {
        painter.drawImage(QPoint(0, 0), image);
    }
}

} // namespace talwyn::controls
