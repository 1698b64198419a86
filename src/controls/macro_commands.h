#pragma once
// The private commands the macro list, the event editor and the macro page
// send each other over the command channel: (command, value).

#include "controls/framework.h"

namespace talwyn::controls::macro_command {

// Scroll control -> list or editor; value: the scroll position. Also the
// control ID of both scroll controls.
inline constexpr ControlId kScroll = 100;
// List -> page; value: the selected row's macroId, or 0 when none is
// selected. The page shows that macro in the editor (CVexMacroCtrl::showMacro).
inline constexpr ControlId kSelectionChanged = 103;
// List -> page; value: the macroId of the row just deleted. The page removes
// that macro from the library (CVexMacroCtrl::removeMacro).
inline constexpr ControlId kMacroDeleted = 104;
// Editor -> editor; value: a row index. Moves the scroll control to the row
// and scrolls there, when the scroll control is visible.
inline constexpr ControlId kScrollToRow = 110;
// Editor -> editor; value: a row index. Moves only the scroll control.
inline constexpr ControlId kSetScrollRow = 115;
// Editor -> page; value: kRecordBeforeEvent or kRecordAfterEvent. The page
// starts recording; the editor has already moved the selection and set the
// insertion mode to "after the selected event".
inline constexpr ControlId kStartRecordFromMenu = 116;
inline constexpr CommandValue kRecordBeforeEvent = 1;
inline constexpr CommandValue kRecordAfterEvent = 2;

} // namespace talwyn::controls::macro_command
