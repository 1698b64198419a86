#pragma once
// The layout table's rectangles as Qt rectangles, for the windows that place
// controls from it. Header only, so the table itself stays free of Qt.

#include "ui_layout/control_table.h"
#include "ui_layout/geometry.h"

#include <QRect>

namespace talwyn::ui_layout {

inline QRect toQRect(const Rect& rect) {
    return {rect.x, rect.y, rect.width, rect.height};
}

// The rectangle of a control the table lists for `window`; an empty one for
// an ID the table does not know, so a mistake shows as a missing control.
inline QRect tableRect(WindowId window, int controlId) {
    const auto rect = controlRect(window, controlId);
    return rect ? toQRect(*rect) : QRect();
}

} // namespace talwyn::ui_layout
