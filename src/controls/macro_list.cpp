#include "controls/macro_list.h"

#include "controls/edits.h"
#include "controls/macro_commands.h"
#include "controls/macro_rows.h"
#include "controls/paint_support.h"
#include "macros/macro_library.h"
#include "macros/next_id.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <limits>

namespace talwyn::controls {

namespace {
constexpr int kNameEditClearance = 26; // room kept on the right of the name edit without a scroll bar
constexpr int kNewRowLeft = 3;
constexpr int kNewRowBottomGap = 2;

} // namespace

CVexListBox::CVexListBox(QWidget* parent) : RowControl(parent), font_(arialFont(kNameFontHeight)) {
    scrollControl().hide();
}

CVexListBox::~CVexListBox() = default;

const CBoxItem* CVexListBox::selectedRow() const {
    const auto it =
        std::find_if(rows_.begin(), rows_.end(), [](const CBoxItem& row) { return row.selected != 0; });
    return it == rows_.end() ? nullptr : &*it;
}

bool CVexListBox::isNaming() const {
    return nameEdit_ != nullptr && !nameEdit_->isHidden();
}

CVexEdit& CVexListBox::ensureNameEdit() {
    if (nameEdit_ == nullptr) {
        nameEdit_ = new CVexEdit(this);
        nameEdit_->SetFontHeight(kNameFontHeight);
        nameEdit_->installEventFilter(this);
        nameEdit_->hide();
    }
    return *nameEdit_;
}

Box CVexListBox::placeNewRow() {
    const int lastBottom = rows_.empty() ? 0 : rows_.back().rowRect.bottom;
    const int clientBottom = height();
    Box row{kNewRowLeft, lastBottom, width() - 2, lastBottom + kRowPitch};
    const int overflow = lastBottom - clientBottom + kRowPitch;
    if (overflow > 0) {
        for (CBoxItem& item : rows_) {
            item.rowRect.top -= overflow + kNewRowBottomGap;
            item.rowRect.bottom -= overflow + kNewRowBottomGap;
        }
        row.top = clientBottom - kRowPitch - kNewRowBottomGap;
        row.bottom = row.top + kRowPitch;
    }
    return row;
}

void CVexListBox::newMacro() {
    if (isNaming()) {
        finishNaming();
        return;
    }
    Box place = placeNewRow();
    if (scrollControl().isHidden())
        place.right -= kNameEditClearance;
    else
        place.right = std::min(place.right, scrollControl().x() - 2);
    CVexEdit& edit = ensureNameEdit();
    edit.setGeometry(toQRect(place));
    edit.clear();
    edit.show();
    edit.setFocus(Qt::OtherFocusReason);
    update();
}

bool CVexListBox::finishNaming() {
    if (!isNaming())
        return false;
    const std::u16string name = nameEdit_->text().toStdU16String();
    nameEdit_->clear();
    nameEdit_->hide();
    if (!name.empty())
        addMacro(name);
    update();
    return true;
}

void CVexListBox::addMacro(const std::u16string& name) {
    std::vector<int32_t> ids;
    ids.reserve(rows_.size());
    for (const CBoxItem& row : rows_)
        ids.push_back(row.macroId);
    const auto taken = [this](std::u16string_view candidate) {
        return std::any_of(rows_.begin(), rows_.end(),
                           [&](const CBoxItem& row) { return row.name == candidate; });
    };
    appendSelectedRow(uniqueMacroName(name, taken), nextFreeId(ids, MacroLibrary::kFirstMacroId));
}

void CVexListBox::addExistingMacro(const std::u16string& name, int32_t macroId) {
    appendSelectedRow(name, macroId);
}

void CVexListBox::appendSelectedRow(const std::u16string& name, int32_t macroId) {
    for (CBoxItem& row : rows_)
        row.selected = 0;
    CBoxItem item;
    item.rowRect = placeNewRow();
    item.name = name;
    item.macroId = macroId;
    item.selected = 1;
    rows_.push_back(std::move(item));
    layoutRows();
    update();
    sendCommand(parentWidget(), macro_command::kSelectionChanged, macroId);
}

void CVexListBox::layoutRows() {
    for (size_t k = 0; k < rows_.size(); ++k)
        rows_[k].rowRect = layoutRowRect(static_cast<int>(k), width());
    if (!rows_.empty() && rows_.back().rowRect.bottom > height()) {
        scrollControl().show();
        const auto last = static_cast<int32_t>(rows_.size() - 1);
        scrollControl().setRange(0, last);
        scrollControl().SetPos(last);
    } else {
        scrollControl().hide();
    }
}

void CVexListBox::scrollTo(int32_t position) {
    const ListScroll scroll = listScrollFor(position, static_cast<int>(rows_.size()), height());
    int shift = 0;
    switch (scroll.kind) {
    case ListScroll::Kind::Ignore:
        return;
    case ListScroll::Kind::Top:
        shift = kRowTop - rows_.front().rowRect.top;
        break;
    case ListScroll::Kind::RowAtBottom:
        shift = rowShift(rows_[static_cast<size_t>(position)].rowRect.bottom, scroll.bottom);
        break;
    }
    for (CBoxItem& row : rows_) {
        row.rowRect.top += shift;
        row.rowRect.bottom += shift;
    }
    update();
}

void CVexListBox::deleteSelectedMacro() {
    const CBoxItem* selected = selectedRow();
    if (selected == nullptr)
        return;
    const int32_t deletedId = selected->macroId;
    sendCommand(parentWidget(), macro_command::kMacroDeleted, deletedId);
    // The parent may have changed the rows while it handled the deletion.
    const auto it = std::find_if(rows_.begin(), rows_.end(),
                                 [deletedId](const CBoxItem& row) { return row.macroId == deletedId; });
    if (it == rows_.end())
        return;
    const auto index = static_cast<size_t>(it - rows_.begin());
    rows_.erase(it);
    for (CBoxItem& row : rows_)
        row.selected = 0;
    int32_t shownId = 0;
    if (!rows_.empty()) {
        CBoxItem& next = rows_[std::min(index, rows_.size() - 1)];
        next.selected = 1;
        shownId = next.macroId;
    }
    sendCommand(parentWidget(), macro_command::kSelectionChanged, shownId);
    layoutRows();
    update();
}

int CVexListBox::rowAt(QPoint point) const {
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].rowRect.contains(point.x(), point.y()))
            return static_cast<int>(i);
    return -1;
}

void CVexListBox::selectOnly(int index) {
    for (size_t i = 0; i < rows_.size(); ++i)
        rows_[i].selected = static_cast<int>(i) == index ? 1 : 0;
    update();
}

void CVexListBox::mousePressEvent(QMouseEvent* event) {
    RowControl::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || finishNaming())
        return;
    const int index = rowAt(event->position().toPoint());
    if (index >= 0)
        selectOnly(index);
}

void CVexListBox::mouseReleaseEvent(QMouseEvent* event) {
    RowControl::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const int index = rowAt(event->position().toPoint());
    if (index < 0)
        return;
    selectOnly(index);
    sendCommand(parentWidget(), macro_command::kSelectionChanged, rows_[static_cast<size_t>(index)].macroId);
}

bool CVexListBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == nameEdit_ && isEnterPress(event)) {
        finishNaming();
        return true;
    }
    return RowControl::eventFilter(watched, event);
}

void CVexListBox::onCommand(ControlId first, CommandValue second) {
    if (first == macro_command::kScroll)
        scrollTo(
            static_cast<int32_t>(std::clamp<CommandValue>(second, -1, std::numeric_limits<int32_t>::max())));
}

void CVexListBox::renderFrame(QPainter& painter) {
    drawStretched(painter, rect(), background());
    const QFontMetrics metrics(font_);
    for (const CBoxItem& row : rows_) {
        const QRect box = toQRect(row.rowRect);
        if (!box.intersects(rect()))
            continue;
        const auto fits = [&](std::u16string_view text) {
            return metrics.horizontalAdvance(toQString(text)) <= box.width();
        };
        const std::u16string shown = shortenedToFit(row.name, fits);
        const uint32_t colour = row.selected != 0 ? row.selectedTextColor : row.textColor;
        DrawLabel(toQString(shown), argbColor(opaqueArgbOf(colour)), false, true, box, font_, painter);
    }
}

} // namespace talwyn::controls
