#pragma once
// The row arithmetic shared by the macro list and the event editor, free of
// any window: row rectangles, how many rows fit, where a scroll position puts
// the rows, unique macro names, shortened names, and where a new event goes.

#include "controls/value_math.h"
#include "macros/macro.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talwyn::controls {

inline constexpr int kRowPitch = 18;
inline constexpr int kRowLeft = 4;
inline constexpr int kRowTop = 5;

// Where addEvent puts a new event.
enum class InsertMode : int {
    Append = 0,         // at the end
    AfterSelection = 1, // after the first selected event; at the front when none is
};

// A macro's text (UTF-16) as a Qt string.
QString toQString(std::u16string_view text);

// Row `index` of a freshly laid-out list whose client right edge is `right`.
Box layoutRowRect(int index, int right);

// How many rows a client area of `height` pixels holds; never negative.
int rowsThatFit(int height);

// How far every row moves so that the row now ending at `rowBottom` ends at
// `targetBottom`; saturated to what a row rectangle can take.
int rowShift(int rowBottom, int64_t targetBottom);

// The bottom the list's row `position` is moved to for a scroll position, or
// none when the list ignores the position. Positions below the rows that fit
// mean the top: the caller puts the first row back at its laid-out place.
struct ListScroll {
    enum class Kind { Ignore, Top, RowAtBottom } kind = Kind::Ignore;
    int64_t bottom = 0; // for RowAtBottom
};
ListScroll listScrollFor(int32_t position, int rowCount, int clientHeight);

// The editor's scroll position limited to the rows that fit and the events,
// with the bottom that row is moved to; none when all events fit.
struct EditorScroll {
    int32_t row = 0;
    int64_t bottom = 0;
};
std::optional<EditorScroll> editorScrollFor(int32_t position, int eventCount, const MacroRect& view);

// `name` made different from every name `taken` answers true for: a name
// with "(" has its number after the first "(" counted up (Fire(1) becomes
// Fire(2)), any other gets "(1)" appended.
std::u16string uniqueMacroName(std::u16string name, const std::function<bool(std::u16string_view)>& taken);

// `name` without up to four of its last characters, as few as make it fit.
std::u16string shortenedToFit(std::u16string name, const std::function<bool(std::u16string_view)>& fits);

// Inserts a selected event into `macro` as `mode` says (every other event
// unselected) and lays all rows out inside the macro's view; returns the
// index of the new event.
size_t insertEvent(CMacro& macro, CEventItem event, InsertMode mode);

// Lays every event row out afresh inside the macro's view.
void layoutEventRows(CMacro& macro);

// What an event row of the editor shows: a mouse event a dash and its mouse
// name; a key a press or release mark and its key name; a key without a name
// only its delay, moved to the row's start.
struct EventRowLook {
    enum class Mark { None, Dash, Press, Release };
    Mark mark = Mark::None;
    std::u16string name;
    std::u16string delay; // "<delay> ms"
    int delayLeft = 0;    // from the row's left edge
    int delayRight = 0;
};
EventRowLook eventRowLook(const CEventItem& event);

// The index of the first selected event, or none.
std::optional<size_t> firstSelectedEvent(const CMacro& macro);

} // namespace talwyn::controls
