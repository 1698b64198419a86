#include "controls/macro_rows.h"

#include "button_functions/key_names.h"
#include "controls/edits.h"

#include <algorithm>
#include <limits>

namespace talwyn::controls {

namespace {

int saturate(int64_t value) {
    return static_cast<int>(
        std::clamp<int64_t>(value, std::numeric_limits<int>::min() / 2, std::numeric_limits<int>::max() / 2));
}

// One step of the renaming rule; the same name when the rule cannot make
// progress (a number at the limit of what is read).
std::u16string countedUp(const std::u16string& name) {
    const size_t open = name.find(u'(');
    if (open == std::u16string::npos)
        return name + u"(1)";
    std::u16string_view inside(name);
    inside.remove_prefix(open + 1);
    if (!inside.empty())
        inside.remove_suffix(1);
    const int64_t n =
        leadingInteger(QString::fromUtf16(inside.data(), static_cast<qsizetype>(inside.size())));
    return name.substr(0, open) + u"(" + QString::number(n + 1).toStdU16String() + u")";
}

} // namespace

QString toQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

Box layoutRowRect(int index, int right) {
    const int64_t top = int64_t{kRowPitch} * index + kRowTop;
    return {kRowLeft, saturate(top), saturate(int64_t{right} - 2), saturate(top + kRowPitch)};
}

int rowsThatFit(int height) {
    return std::max(0, height / kRowPitch);
}

int rowShift(int rowBottom, int64_t targetBottom) {
    return saturate(targetBottom - rowBottom);
}

ListScroll listScrollFor(int32_t position, int rowCount, int clientHeight) {
    const int fit = rowsThatFit(clientHeight);
    if (position < 0 || position >= rowCount)
        return {};
    if (position < fit)
        return {ListScroll::Kind::Top, 0};
    // The first scrolled position leaves the next row half in view below.
    return {ListScroll::Kind::RowAtBottom, int64_t{clientHeight} + (position == fit ? 8 : 0)};
}

std::optional<EditorScroll> editorScrollFor(int32_t position, int eventCount, const MacroRect& view) {
    const int fit = rowsThatFit(static_cast<int>(
        std::clamp<int64_t>(int64_t{view.bottom} - view.top, 0, std::numeric_limits<int>::max())));
    if (eventCount == 0 || eventCount < fit)
        return std::nullopt;
    const int32_t row = std::clamp(position, std::min(fit, eventCount - 1), eventCount - 1);
    return EditorScroll{row, int64_t{view.bottom} + (row == fit ? 20 : 0)};
}

std::u16string uniqueMacroName(std::u16string name, const std::function<bool(std::u16string_view)>& taken) {
    if (!taken(name))
        return name;
    // Each step counts up; a name whose number is stuck at the limit falls
    // back to the first free "(k)" behind the name as typed.
    const std::u16string typed = name;
    for (std::u16string next = countedUp(name); next != name; next = countedUp(name)) {
        name = std::move(next);
        if (!taken(name))
            return name;
    }
    for (int k = 1;; ++k) {
        std::u16string candidate = typed + u"(" + QString::number(k).toStdU16String() + u")";
        if (!taken(candidate))
            return candidate;
    }
}

std::u16string shortenedToFit(std::u16string name, const std::function<bool(std::u16string_view)>& fits) {
    constexpr int kMostRemoved = 4;
    for (int removed = 0; removed < kMostRemoved && !name.empty() && !fits(name); ++removed)
        name.pop_back();
    return name;
}

EventRowLook eventRowLook(const CEventItem& event) {
    constexpr int kDelayLeft = 122;
    constexpr int kDelayRight = 174;
    constexpr int kBareDelayLeft = 2;
    EventRowLook look;
    look.delay = QStringLiteral("%1 ms").arg(event.delay).toStdU16String();
    look.delayLeft = kDelayLeft;
    look.delayRight = kDelayRight;
    if (const std::u16string_view mouse = mouseEventName(event.code, event.flag); !mouse.empty()) {
        look.mark = EventRowLook::Mark::Dash;
        look.name = mouse;
        return look;
    }
    look.name = button_functions::keyName(event.code);
    if (look.name.empty()) {
        look.delayLeft = kBareDelayLeft;
        look.delayRight = kBareDelayLeft + kDelayRight - kDelayLeft;
        return look;
    }
    if (event.flag == event_flag::kPress)
        look.mark = EventRowLook::Mark::Press;
    else if (event.flag == event_flag::kRelease)
        look.mark = EventRowLook::Mark::Release;
    return look;
}

std::optional<size_t> firstSelectedEvent(const CMacro& macro) {
    const auto it = std::find_if(macro.events.begin(), macro.events.end(),
                                 [](const CEventItem& event) { return event.selected != 0; });
    if (it == macro.events.end())
        return std::nullopt;
    return static_cast<size_t>(it - macro.events.begin());
}

size_t insertEvent(CMacro& macro, CEventItem event, InsertMode mode) {
    event.selected = 1;
    size_t index = macro.events.size();
    if (mode == InsertMode::AfterSelection && !macro.events.empty()) {
        const std::optional<size_t> selected = firstSelectedEvent(macro);
        index = selected ? *selected + 1 : 0;
    }
    for (CEventItem& other : macro.events)
        other.selected = 0;
    macro.events.insert(macro.events.begin() + static_cast<std::ptrdiff_t>(index), event);
    layoutEventRows(macro);
    return index;
}

void layoutEventRows(CMacro& macro) {
    for (size_t k = 0; k < macro.events.size(); ++k) {
        const Box row = layoutRowRect(static_cast<int>(k), macro.viewRect.right);
        macro.events[k].rowRect = {row.left, row.top, row.right, row.bottom};
    }
}

} // namespace talwyn::controls
