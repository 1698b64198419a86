#include "controls/combo_button.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTimerEvent>

namespace talwyn::controls {

QString shortenCaption(QString caption, int rectWidth, const std::function<int(const QString&)>& measure) {
    constexpr int kMaxDropped = 10;
    for (int dropped = 0; dropped < kMaxDropped && !caption.isEmpty() && measure(caption) > rectWidth - 40;
         ++dropped) {
        caption.chop(1);
    }
    return caption;
}

bool reopenBlocked(uint32_t now, uint32_t lastOpenTick) {
    // Unsigned difference: correct across the wrap of the tick count.
    return now - lastOpenTick < 200;
}

CVexComboButton::CVexComboButton(QWidget* parent, TickClock& clock)
    : CVexImageButton(parent), clock_(clock), font_(arialFont(15)) {}

void CVexComboButton::SetImages(QImage normal, QImage over, QImage down) {
    CVexImageButton::SetImages(std::move(normal), std::move(over), std::move(down), QImage());
}

void CVexComboButton::SetCaption(const QString& caption, int32_t selectedCode, int32_t selectedParameter) {
    caption_ = caption;
    selectedCode_ = selectedCode;
    selectedParameter_ = selectedParameter;
    update();
}

void CVexComboButton::createMenu(int width) {
    menu_ = new CVexMenu(this, static_cast<ControlId>(clock_.now()), QRect(0, 0, width, 10));
}

void CVexComboButton::AddItem(int32_t code, const QString& text) {
    if (menu_ == nullptr) {
        createMenu(std::max(this->width(), menuWidth_) - 2);
    }
    menu_->AddItem(code, text, 0, true, false);
}

void CVexComboButton::AddSubItem(int32_t parentCode, int32_t code, const QString& text) {
    if (menu_ != nullptr) {
        menu_->AddSubItem(code, parentCode, text, 0, true);
    }
}

void CVexComboButton::SetMenuWidth(int width) {
    menuWidth_ = width;
    if (menu_ == nullptr) {
        createMenu(width);
    } else {
        menu_->setGeometry(0, 0, width, 20);
    }
}

QString CVexComboButton::GetItemText(int32_t code) const {
    const MenuEntry* entry = menu_ != nullptr ? menu_->FindItem(code) : nullptr;
    return entry != nullptr ? entry->text : QString();
}

void CVexComboButton::setSelected(bool selected) {
    if (selected == selected_) {
        return;
    }
    selected_ = selected;
    update();
}

void CVexComboButton::setShowCaption(bool show) {
    if (show == showCaption_) {
        return;
    }
    showCaption_ = show;
    update();
}

void CVexComboButton::setCaptionFont(const QFont& font) {
    font_ = font;
    update();
}

void CVexComboButton::onCommand(ControlId first, CommandValue second) {
    if (first == command::kMenuClosing) {
        sendCommand(parentWidget(), first, second);
        return;
    }
    const MenuEntry* entry = menu_ != nullptr ? menu_->FindItem(static_cast<int32_t>(second)) : nullptr;
    if (entry == nullptr) {
        return;
    }
    // The parent may change the menu while it handles the pick.
    const int32_t code = entry->code;
    const QString text = entry->text;
    sendCommand(parentWidget(), controlId(), code);
    if (updateCaption_) {
        caption_ = text;
        selectedCode_ = code;
        update();
    } else {
        updateCaption_ = true;
    }
}

void CVexComboButton::mousePressEvent(QMouseEvent* event) {
    CVexImageButton::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        reopenBlocked_ = reopenBlocked(clock_.now(), lastOpenTick_);
    }
}

void CVexComboButton::mouseReleaseEvent(QMouseEvent* event) {
    const QPointer<CVexComboButton> alive(this);
    CVexImageButton::mouseReleaseEvent(event);
    if (alive && event->button() == Qt::LeftButton && menu_ != nullptr && !reopenBlocked_) {
        reopenBlocked_ = true;
        // The event knows where the button really is on the screen, also
        // when a window manager has reparented the window without telling
        // the program its new place (mapToGlobal is stale then).
        openMenu((event->globalPosition() - event->position()).toPoint());
    }
}

void CVexComboButton::openMenu(QPoint screenOrigin) {
    timers_.start(kOpenWatchTimer, kOpenWatchInterval);
    const QRect window(screenOrigin, size());
    if (openUpward_) {
        menu_->TrackPopup(PopupMode::BottomLeft, window.left(), window.top());
    } else {
        menu_->TrackPopup(PopupMode::TopLeft, window.left(), window.top() + window.height() - 2);
    }
    if (menu_->isVisible()) {
        lastOpenTick_ = clock_.now();
    }
}

void CVexComboButton::timerEvent(QTimerEvent* event) {
    if (timers_.numberOf(event->timerId()) != kOpenWatchTimer) {
        CVexImageButton::timerEvent(event);
        return;
    }
    if (menu_ != nullptr && menu_->isVisible()) {
        lastOpenTick_ = clock_.now();
    } else {
        // Nothing to watch until the menu opens again.
        timers_.stop(kOpenWatchTimer);
    }
}

void CVexComboButton::paintButton(QPainter& painter) {
    CVexImageButton::paintButton(painter);
    if (!showCaption_) {
        return;
    }
    const QRect textRect = rect().adjusted(11, 0, 0, -3);
    const QFontMetrics metrics(font_);
    caption_ = shortenCaption(caption_, textRect.width(),
                              [&metrics](const QString& text) { return metrics.horizontalAdvance(text); });
    const bool highlight = selected_ || visualState() == VisualState::Over;
    DrawLabel(caption_, argbColor(highlight ? kHighlightColor : kCaptionColor), false, true, textRect, font_,
              painter);
}

} // namespace talwyn::controls
