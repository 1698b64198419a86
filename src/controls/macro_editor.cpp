#include "controls/macro_editor.h"

#include "controls/edits.h"
#include "controls/macro_commands.h"
#include "controls/macro_list.h"
#include "controls/menu.h"
#include "controls/paint_support.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>

#include <algorithm>
#include <array>
#include <limits>

namespace talwyn::controls {

namespace {

constexpr Argb kGlyphColour = 0xFFBEBEBE;
constexpr int kDelayDigits = 10;

// Event row columns, from the row's left edge.
constexpr int kGlyphLeft = 2;
constexpr int kGlyphMiddle = 7;
constexpr int kGlyphRight = 12;
constexpr int kGlyphInset = 6;
constexpr int kNameLeft = 17;
constexpr int kNameRight = 122;
constexpr int kDelayEditLeft = 120;
constexpr int kDelayEditRight = 172;
constexpr int kDelayEditTop = 2;

struct MouseButtonBranch {
    int32_t item; // the submenu item; its Down, Up and Click follow it
    const char* text;
    int16_t code;
};
constexpr std::array<MouseButtonBranch, 5> kButtonBranches{{
    {macro_menu::kLeftButton, "Left button", 1},
    {macro_menu::kRightButton, "Right button", 2},
    {macro_menu::kMiddleButton, "Middle button", 4},
    {macro_menu::kForwardButton, "Forward button", 167},
    {macro_menu::kBackButton, "Back button", 166},
}};
constexpr int16_t kWheelUpCode = 151;
constexpr int16_t kWheelDownCode = 152;

QRect columnBox(const MacroRect& row, int left, int right) {
    return {row.left + left, row.top, right - left, row.bottom - row.top};
}

// The menu's control ID: a tick count, kept clear of the numbers the editor
// reads as other commands.
ControlId menuControlId() {
    auto id = static_cast<ControlId>(systemTickClock().now() & 0x7FFFFFFF);
    const auto reserved = [](ControlId candidate) {
        return candidate <= macro_menu::kScrollWheel || candidate == macro_command::kScroll ||
               candidate == macro_command::kScrollToRow || candidate == macro_command::kSetScrollRow ||
               candidate == command::kMenuClosing;
    };
    while (reserved(id))
        ++id;
    return id;
}

void drawMark(QPainter& painter, const MacroRect& row, EventRowLook::Mark mark) {
    const int x = row.left;
    const int top = row.top + kGlyphInset;
    const int bottom = row.bottom - kGlyphInset;
    const int middle = (row.top + row.bottom) / 2;
    switch (mark) {
    case EventRowLook::Mark::None:
        break;
    case EventRowLook::Mark::Dash:
        painter.drawLine(x + kGlyphLeft, middle, x + kGlyphRight, middle);
        break;
    case EventRowLook::Mark::Press:
    case EventRowLook::Mark::Release: {
        // A V for a press, upside down for a release.
        const int ends = mark == EventRowLook::Mark::Press ? top : bottom;
        const int tip = mark == EventRowLook::Mark::Press ? bottom : top;
        const std::array<QPoint, 3> v{QPoint(x + kGlyphLeft, ends), QPoint(x + kGlyphMiddle, tip),
                                      QPoint(x + kGlyphRight, ends)};
        painter.drawPolyline(v.data(), static_cast<int>(v.size()));
        break;
    }
    }
}

} // namespace

CVexMacroCtrl::CVexMacroCtrl(QWidget* parent) : RowControl(parent) {
    setFocusPolicy(Qt::ClickFocus);
}

CVexMacroCtrl::~CVexMacroCtrl() = default;

void CVexMacroCtrl::setMacroFolder(std::filesystem::path folder) {
    folder_ = MacroFolder(std::move(folder));
}

MacroLoadReport CVexMacroCtrl::loadMacros() {
    shown_ = nullptr;
    MacroLoadReport report = folder_.load(library_);
    updateScrollRange();
    update();
    return report;
}

bool CVexMacroCtrl::saveMacros() {
    const bool saved = folder_.save(library_);
    update(); // a name may have changed
    return saved;
}

void CVexMacroCtrl::showMacro(int32_t id, const std::u16string& name) {
    CMacro* found = nullptr;
    for (size_t i = 0; i < library_.size() && found == nullptr; ++i)
        if (library_.at(i).macroId == id)
            found = &library_.at(i);
    if (found == nullptr) {
        CMacro created;
        created.viewRect = {0, 0, width(), height()};
        created.macroId = id;
        created.name = name;
        found = &library_.append(std::move(created));
    }
    shown_ = found;
    updateScrollRange();
    update();
}

void CVexMacroCtrl::removeMacro(int32_t id) {
    for (size_t i = 0; i < library_.size(); ++i) {
        if (library_.at(i).macroId != id)
            continue;
        if (&library_.at(i) == shown_)
            shown_ = nullptr;
        library_.remove(i);
        break;
    }
    updateScrollRange();
    update();
}

void CVexMacroCtrl::clearShownEvents() {
    if (shown_ == nullptr)
        return;
    shown_->events.clear();
    updateScrollRange();
    update();
}

void CVexMacroCtrl::addEvent(CMacro& macro, uint8_t type, int16_t code, uint8_t flag, int32_t delay,
                             InsertMode mode) {
    CEventItem event;
    event.eventId = macro.nextEventId();
    event.type = type;
    event.code = code;
    event.flag = flag;
    event.delay = delay;
    const size_t index = insertEvent(macro, event, mode);
    if (&macro == shown_) {
        updateScrollRange();
        const auto last = static_cast<int32_t>(macro.events.size() - 1);
        if (macro.events.back().rowRect.bottom > macro.viewRect.bottom)
            scrollToRow(last);
        scrollToRow(static_cast<int32_t>(index));
    }
    update();
}

void CVexMacroCtrl::updateScrollRange() {
    const size_t count = shown_ == nullptr ? 0 : shown_->events.size();
    scrollControl().setRange(0, static_cast<int32_t>(std::min<size_t>(std::max<size_t>(count, 1) - 1,
                                                                      std::numeric_limits<int32_t>::max())));
}

void CVexMacroCtrl::scrollToRow(int32_t row) {
    if (!scrollControl().isHidden())
        scrollControl().SetPos(row); // reports the position back to scrollTo
}

void CVexMacroCtrl::scrollTo(int32_t position) {
    if (shown_ == nullptr)
        return;
    std::vector<CEventItem>& events = shown_->events;
    const std::optional<EditorScroll> scroll =
        editorScrollFor(position, static_cast<int>(events.size()), shown_->viewRect);
    if (!scroll) {
        // Every event fits: rows left displaced by deletions come back into view.
        layoutEventRows(*shown_);
        update();
        return;
    }
    const int shift = rowShift(events[static_cast<size_t>(scroll->row)].rowRect.bottom, scroll->bottom);
    for (CEventItem& event : events) {
        event.rowRect.top += shift;
        event.rowRect.bottom += shift;
    }
    update();
}

CVexMenu& CVexMacroCtrl::menu() {
    if (menu_)
        return *menu_;
    menu_ = std::make_unique<CVexMenu>(this, menuControlId(), QRect(0, 0, kMenuWidth, 20));
    CVexMenu& menu = *menu_;
    menu.AddItem(macro_menu::kRecordBefore, QStringLiteral("Start record before event"), 0, true, false);
    menu.AddItem(macro_menu::kRecordAfter, QStringLiteral("Start record after event"), 0, true, false);
    menu.AddItem(macro_menu::kInsertMouseEvent, QStringLiteral("Insert mouse event"), 0, true, true);
    menu.AddItem(macro_menu::kInsertDelay, QStringLiteral("Insert delay"), 0, true, false);
    menu.AddItem(macro_menu::kEditDelay, QStringLiteral("Edit delay"), 0, true, false);
    menu.AddItem(macro_menu::kDelete, QStringLiteral("Delete"), 0, true, false);
    CVexMenu* mouseEvents = menu.GetSubMenu(macro_menu::kInsertMouseEvent);
    mouseEvents->resize(kMouseSubmenuWidth, mouseEvents->height());
    for (const MouseButtonBranch& branch : kButtonBranches) {
        menu.AddSubItem(branch.item, macro_menu::kInsertMouseEvent, QString::fromLatin1(branch.text), 0,
                        true);
        menu.AddNestedItem(branch.item + macro_menu::kDownOffset, branch.item, QStringLiteral("Down"));
        menu.AddNestedItem(branch.item + macro_menu::kUpOffset, branch.item, QStringLiteral("Up"));
        menu.AddNestedItem(branch.item + macro_menu::kClickOffset, branch.item, QStringLiteral("Click"));
    }
    menu.AddSubItem(macro_menu::kScrollWheel, macro_menu::kInsertMouseEvent, QStringLiteral("Scroll wheel"),
                    0, true);
    menu.AddNestedItem(macro_menu::kWheelDown, macro_menu::kScrollWheel, QStringLiteral("Down"));
    menu.AddNestedItem(macro_menu::kWheelUp, macro_menu::kScrollWheel, QStringLiteral("Up"));
    return menu;
}

void CVexMacroCtrl::onCommand(ControlId first, CommandValue second) {
    const auto value = static_cast<int32_t>(std::clamp<CommandValue>(
        second, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    if (first == macro_command::kScroll) {
        scrollTo(value);
    } else if (first == macro_command::kScrollToRow) {
        scrollToRow(value);
    } else if (first == macro_command::kSetScrollRow) {
        scrollControl().SetPos(value);
    } else if (first == command::kMenuClosing) {
        sendCommand(parentWidget(), first, second);
    } else {
        onMenuPick(first, value);
    }
}

void CVexMacroCtrl::onMenuPick(ControlId menuId, int32_t code) {
    if (shown_ == nullptr)
        return;
    const bool fromTop = menu_ && menuId == menu_->controlId();
    if (fromTop) {
        switch (code) {
        case macro_menu::kRecordBefore:
        case macro_menu::kRecordAfter:
            startRecordFromMenu(code);
            return;
        case macro_menu::kInsertDelay:
        case macro_menu::kEditDelay:
            openDelayEdit();
            return;
        case macro_menu::kDelete:
            deleteSelectedEvent();
            return;
        default:
            return;
        }
    }
    if (menuId == macro_menu::kScrollWheel &&
        (code == macro_menu::kWheelDown || code == macro_menu::kWheelUp)) {
        addEvent(*shown_, event_type::kWheel, code == macro_menu::kWheelDown ? kWheelDownCode : kWheelUpCode,
                 event_flag::kPress, 0, InsertMode::AfterSelection);
        return;
    }
    for (const MouseButtonBranch& branch : kButtonBranches) {
        if (menuId == branch.item)
            insertMouseEvent(code - branch.item, branch.code);
    }
}

void CVexMacroCtrl::insertMouseEvent(int32_t offset, int16_t buttonCode) {
    const auto add = [&](uint8_t flag) {
        addEvent(*shown_, event_type::kMouseButton, buttonCode, flag, 0, InsertMode::AfterSelection);
    };
    switch (offset) {
    case macro_menu::kDownOffset:
        add(event_flag::kPress);
        break;
    case macro_menu::kUpOffset:
        add(event_flag::kRelease);
        break;
    case macro_menu::kClickOffset:
        add(event_flag::kPress);
        add(event_flag::kRelease);
        break;
    default:
        break;
    }
}

void CVexMacroCtrl::startRecordFromMenu(int32_t where) {
    if (where == macro_menu::kRecordBefore) {
        if (const std::optional<size_t> selected = firstSelectedEvent(*shown_)) {
            for (CEventItem& event : shown_->events)
                event.selected = 0;
            if (*selected > 0)
                shown_->events[*selected - 1].selected = 1;
            update();
        }
    }
    insertMode_ = InsertMode::AfterSelection;
    sendCommand(parentWidget(), macro_command::kStartRecordFromMenu,
                where == macro_menu::kRecordBefore ? macro_command::kRecordBeforeEvent
                                                   : macro_command::kRecordAfterEvent);
}

CVexEdit& CVexMacroCtrl::ensureDelayEdit() {
    if (delayEdit_ == nullptr) {
        delayEdit_ = new CVexEdit(this);
        delayEdit_->SetFontHeight(kDelayFontHeight);
        delayEdit_->setMaxLength(kDelayDigits);
        delayEdit_->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), delayEdit_));
        delayEdit_->installEventFilter(this);
        delayEdit_->hide();
    }
    return *delayEdit_;
}

void CVexMacroCtrl::openDelayEdit() {
    const std::optional<size_t> selected = firstSelectedEvent(*shown_);
    if (!selected)
        return;
    const MacroRect& row = shown_->events[*selected].rowRect;
    CVexEdit& edit = ensureDelayEdit();
    edit.setGeometry(row.left + kDelayEditLeft, row.top + kDelayEditTop, kDelayEditRight - kDelayEditLeft,
                     row.bottom - row.top - kDelayEditTop);
    edit.clear();
    edit.show();
    edit.setFocus(Qt::OtherFocusReason);
}

bool CVexMacroCtrl::finishDelayEdit() {
    if (delayEdit_ == nullptr || delayEdit_->isHidden())
        return false;
    const QString text = delayEdit_->text();
    if (!text.isEmpty() && shown_ != nullptr) {
        if (const std::optional<size_t> selected = firstSelectedEvent(*shown_))
            shown_->events[*selected].delay = leadingInteger(text);
    }
    delayEdit_->clear();
    delayEdit_->hide();
    update();
    return true;
}

void CVexMacroCtrl::deleteSelectedEvent() {
    std::vector<CEventItem>& events = shown_->events;
    const std::optional<size_t> selected = firstSelectedEvent(*shown_);
    if (!selected)
        return;
    const size_t index = *selected;
    events.erase(events.begin() + static_cast<std::ptrdiff_t>(index));
    for (size_t k = index; k < events.size(); ++k) {
        events[k].rowRect.top -= kRowPitch;
        events[k].rowRect.bottom -= kRowPitch;
    }
    for (CEventItem& event : events)
        event.selected = 0;
    updateScrollRange();
    if (index < events.size()) {
        events[index].selected = 1;
    } else if (!events.empty()) {
        events.front().selected = 1;
        scrollToRow(0);
    }
    update();
}

void CVexMacroCtrl::selectOnlyRowAt(QPoint point) {
    if (shown_ == nullptr)
        return;
    std::vector<CEventItem>& events = shown_->events;
    const auto hit = std::find_if(events.begin(), events.end(), [point](const CEventItem& event) {
        const MacroRect& r = event.rowRect;
        return point.x() >= r.left && point.x() < r.right && point.y() >= r.top && point.y() < r.bottom;
    });
    if (hit == events.end())
        return;
    for (CEventItem& event : events)
        event.selected = &event == &*hit ? 1 : 0;
    update();
}

void CVexMacroCtrl::mousePressEvent(QMouseEvent* event) {
    RowControl::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        if (!finishDelayEdit())
            selectOnlyRowAt(event->position().toPoint());
    } else if (event->button() == Qt::RightButton && !recording_) {
        CVexMenu& popup = menu();
        popup.CloseMenu();
        const QPoint at = event->globalPosition().toPoint();
        popup.TrackPopup(PopupMode::TopLeft, at.x(), at.y());
    }
}

void CVexMacroCtrl::mouseReleaseEvent(QMouseEvent* event) {
    RowControl::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        selectOnlyRowAt(event->position().toPoint());
}

void CVexMacroCtrl::focusOutEvent(QFocusEvent* event) {
    RowControl::focusOutEvent(event);
    // The menu never takes the focus, so losing it always means going elsewhere.
    if (menu_)
        menu_->CloseMenu();
}

bool CVexMacroCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == delayEdit_ && isEnterPress(event)) {
        finishDelayEdit();
        return true;
    }
    return RowControl::eventFilter(watched, event);
}

void CVexMacroCtrl::renderFrame(QPainter& painter) {
    drawStretched(painter, rect(), background());
    if (shown_ == nullptr)
        return;
    // The strip on the right belongs to the scroll control.
    painter.setClipRect(0, 0, std::max(0, width() - kScrollStripWidth), height());
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QFont font = arialFont(kEventFontHeight);
    const QPen markPen(argbColor(kGlyphColour), 1);
    for (const CEventItem& event : shown_->events) {
        const MacroRect& row = event.rowRect;
        if (row.bottom <= 0 || row.top >= height())
            continue;
        const QColor text = argbColor(
            opaqueArgbOf(event.selected != 0 ? CBoxItem::kSelectedTextColor : CBoxItem::kTextColor));
        const EventRowLook look = eventRowLook(event);
        painter.setPen(markPen); // the labels leave their own colour behind
        drawMark(painter, row, look.mark);
        if (!look.name.empty())
            DrawLabel(toQString(look.name), text, false, true, columnBox(row, kNameLeft, kNameRight), font,
                      painter);
        DrawLabel(toQString(look.delay), text, false, true, columnBox(row, look.delayLeft, look.delayRight),
                  font, painter);
    }
}

} // namespace talwyn::controls
