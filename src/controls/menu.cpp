#include "controls/menu.h"

#include "controls/menu_math.h"
#include "controls/open_menu_click_watch.h"
#include "controls/paint_support.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include <algorithm>

namespace talwyn::controls {

CVexMenu::CVexMenu(QWidget* owner, ControlId id, const QRect& rect, CVexMenu* parentMenu)
    // The tool-tip kind of window is one no window manager frames or moves
    // (X11 override-redirect; a Wayland popup placed against its parent), and
    // unlike a popup it takes no grab: presses outside stay with the watch.
    : QWidget(parentMenu != nullptr ? parentMenu : owner, Qt::ToolTip | Qt::FramelessWindowHint |
                                                              Qt::WindowDoesNotAcceptFocus |
                                                              Qt::NoDropShadowWindowHint),
      owner_(owner), id_(id), parentMenu_(parentMenu), menuWidth_(rect.width()), font_(arialFont(15)) {
    setWindowTitle(QStringLiteral("menu"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setGeometry(rect);
}

CVexMenu::~CVexMenu() {
    // Submenus go first, while this menu is still whole for their own clean-up.
    for (CVexMenu* submenu : submenus_) {
        delete submenu;
    }
    auto& watch = OpenMenuClickWatch::instance();
    if (parentMenu_ == nullptr && isVisible()) {
        watch.remove();
    } else if (watch.target() == this) {
        watch.retarget(parentMenu_);
    }
}

void CVexMenu::AddItem(int32_t code, const QString& text, int32_t parameter, bool enabled, bool hasSubmenu) {
    const bool exists =
        std::any_of(entries_.begin(), entries_.end(), [code](const MenuEntry& e) { return e.code == code; });
    if (exists) {
        return;
    }
    entries_.push_back({code, {}, text, parameter, enabled, hasSubmenu});
}

void CVexMenu::AddSubItem(int32_t code, int32_t parentCode, const QString& text, int32_t parameter,
                          bool enabled) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [parentCode](const MenuEntry& e) { return e.code == parentCode; });
    if (it == entries_.end()) {
        return;
    }
    it->hasSubmenu = true;
    GetSubMenu(parentCode)->AddItem(code, text, parameter, enabled, false);
}

void CVexMenu::AddNestedItem(int32_t code, int32_t parentCode, const QString& text) {
    constexpr int32_t kNestingEntry = 3;
    if (std::none_of(entries_.begin(), entries_.end(),
                     [](const MenuEntry& e) { return e.code == kNestingEntry; })) {
        return;
    }
    GetSubMenu(kNestingEntry)->AddSubItem(code, parentCode, text, 0, true);
}

CVexMenu* CVexMenu::findSubmenu(int32_t code) const {
    auto it = std::find_if(submenus_.begin(), submenus_.end(),
                           [code](const CVexMenu* m) { return m->controlId() == code; });
    return it == submenus_.end() ? nullptr : *it;
}

CVexMenu* CVexMenu::GetSubMenu(int32_t code) {
    if (CVexMenu* existing = findSubmenu(code)) {
        return existing;
    }
    auto* submenu = new CVexMenu(owner_, code, QRect(0, 0, kSubmenuWidth, 10), this);
    submenus_.push_back(submenu);
    return submenu;
}

void CVexMenu::ClearItems() {
    entries_.clear();
    hoverItem_ = -1;
    update();
}

const MenuEntry* CVexMenu::FindItem(int32_t code) const {
    for (const MenuEntry& entry : entries_) {
        if (entry.code == code) {
            return &entry;
        }
    }
    for (const CVexMenu* submenu : submenus_) {
        if (const MenuEntry* found = submenu->FindItem(code)) {
            return found;
        }
    }
    return nullptr;
}

int CVexMenu::MaxItemTextWidth(int32_t code) {
    const CVexMenu* menu = id_ == code ? this : GetSubMenu(code);
    const QFontMetrics metrics(menu->font_);
    int widest = 0;
    for (const MenuEntry& entry : menu->entries_) {
        widest = std::max(widest, metrics.horizontalAdvance(entry.text));
    }
    return widest;
}

std::vector<Box> CVexMenu::entryBoxes() const {
    std::vector<Box> boxes;
    boxes.reserve(entries_.size());
    for (const MenuEntry& entry : entries_) {
        boxes.push_back(entry.rect);
    }
    return boxes;
}

void CVexMenu::Layout() {
    if (entries_.empty()) {
        hide();
        return;
    }
    const int textHeight = QFontMetrics(font_).height();
    const auto boxes = layoutMenuEntries(static_cast<int>(entries_.size()), textHeight, width());
    for (size_t i = 0; i < entries_.size(); ++i) {
        entries_[i].rect = boxes[i];
    }
    resize(width(), menuHeight(static_cast<int>(entries_.size()), textHeight));
}

void CVexMenu::TrackPopup(PopupMode mode, int x, int y) {
    Layout();
    hoverItem_ = -1;
    if (entries_.empty()) {
        return;
    }
    switch (mode) {
    case PopupMode::TopLeft:
        move(x, y);
        break;
    case PopupMode::BottomLeft:
        move(x, y - height());
        break;
    case PopupMode::BottomRight:
        move(x - width(), y - height());
        break;
    }
    Layout();
    show();
    OpenMenuClickWatch::instance().install(this);
}

void CVexMenu::CloseMenu() {
    if (!isVisible()) {
        return;
    }
    // The owner may react to each notice; keep what is needed afterwards.
    const QPointer<QWidget> owner = owner_;
    sendCommand(owner, command::kMenuClosing, 1);
    hide();
    if (parentMenu_ != nullptr) {
        parentMenu_->CloseMenu();
    }
    CloseSubmenus();
    sendCommand(owner, command::kMenuClosing, 0);
    if (parentMenu_ == nullptr) {
        OpenMenuClickWatch::instance().remove();
    }
}

void CVexMenu::CloseSubmenus() {
    for (CVexMenu* submenu : submenus_) {
        if (!submenu->isVisible()) {
            continue;
        }
        sendCommand(owner_, command::kMenuClosing, 1);
        submenu->CloseSubmenus();
        submenu->hide();
        sendCommand(owner_, command::kMenuClosing, 0);
    }
    OpenMenuClickWatch::instance().retarget(this);
}

void CVexMenu::onCommand(ControlId first, CommandValue second) {
    sendCommand(owner_, first, second);
    CloseMenu();
}

bool CVexMenu::chainContains(QPoint screenPos) const {
    for (const CVexMenu* menu = this; menu != nullptr; menu = menu->parentMenu_) {
        if (menu->geometry().contains(screenPos)) {
            return true;
        }
    }
    return false;
}

void CVexMenu::handleOutsideNotice(int64_t message, QPoint screenPos) {
    // Only a left press closes; other buttons never do.
    if (message == static_cast<int64_t>(PointerMessage::LeftDown) && isVisible() &&
        !chainContains(screenPos)) {
        CloseMenu();
    }
}

bool CVexMenu::event(QEvent* event) {
    if (event->type() == PostedMessage::eventType()) {
        const auto* posted = static_cast<PostedMessage*>(event);
        if (posted->message() == command::kMenuMouse) {
            handleOutsideNotice(posted->first(), unpackScreenPoint(posted->second()));
        }
        return true;
    }
    return QWidget::event(event);
}

bool CVexMenu::submenuHasEntries(int32_t code) const {
    const CVexMenu* submenu = findSubmenu(code);
    return submenu != nullptr && !submenu->entries_.empty();
}

void CVexMenu::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), argbColor(kBackgroundColor));
    painter.setPen(argbColor(kFrameColor));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, width() - 1, height() - 1);
    const QColor text = argbColor(kTextColor);
    for (size_t i = 0; i < entries_.size(); ++i) {
        const MenuEntry& entry = entries_[i];
        const Box& r = entry.rect;
        if (entry.hasSubmenu && submenuHasEntries(entry.code)) {
            const QPolygon arrow({QPoint(r.right, r.top + 5), QPoint(r.right, r.bottom - 5),
                                  QPoint(r.right + 5, (r.top + r.bottom) / 2)});
            painter.setPen(QPen(text, 1));
            painter.setBrush(text);
            painter.drawPolygon(arrow);
            painter.setBrush(Qt::NoBrush);
        }
        const QColor colour = static_cast<int>(i) == hoverItem_ ? argbColor(kHoverColor) : text;
        DrawLabel(entry.text, colour, false, true, toQRect(r).translated(10, 0), font_, painter);
    }
}

int CVexMenu::hitTest(QPoint point) {
    const auto boxes = entryBoxes();
    hoverItem_ = entryAt(boxes, point.x(), point.y(), menuWidth_);
    return hoverItem_ < 0 ? -1 : entries_[static_cast<size_t>(hoverItem_)].code;
}

void CVexMenu::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    const QPoint p = event->position().toPoint();
    const auto boxes = entryBoxes();
    const int index = entryAt(boxes, p.x(), p.y());
    if (index < 0) {
        return;
    }
    const MenuEntry& entry = entries_[static_cast<size_t>(index)];
    if (entry.enabled && entry.hasSubmenu) {
        if (index == hoverItem_) {
            return;
        }
        CloseSubmenus();
        CVexMenu* submenu = GetSubMenu(entry.code);
        if (!submenu->entries_.empty()) {
            const QRect window = geometry();
            submenu->TrackPopup(PopupMode::TopLeft, window.x() + window.width() - 5,
                                window.y() + entry.rect.top - 5);
        }
    } else {
        CloseSubmenus();
    }
    if (index != hoverItem_) {
        hoverItem_ = index;
        update();
    }
}

void CVexMenu::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton) {
        return;
    }
    clickedCode_ = hitTest(event->position().toPoint());
    if (clickedCode_ == -1) {
        CloseMenu();
    }
    update();
}

void CVexMenu::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) {
        return;
    }
    hoverItem_ = -1;
    clickedCode_ = hitTest(event->position().toPoint());
    if (clickedCode_ == -1) {
        return;
    }
    const MenuEntry& entry = entries_[static_cast<size_t>(hoverItem_)];
    if (entry.hasSubmenu) {
        return;
    }
    const bool pick = entry.enabled;
    const int32_t code = entry.code;
    const ControlId id = id_;
    const QPointer<QWidget> owner = owner_;
    CloseMenu();
    // The owner learns of the pick after the whole chain has closed.
    if (pick) {
        sendCommand(owner, id, code);
    }
}

} // namespace talwyn::controls
