#pragma once
// The layout table's rectangles as Qt rectangles, for the windows that place
// controls from it; the table itself stays free of Qt.

#include "ui_layout/control_table.h"
#include "ui_layout/geometry.h"

#include <QRect>

namespace talwyn::skins {

inline QRect toQRect(const ui_layout::Rect& rect) {
    return {rect.x, rect.y, rect.width, rect.height};
}

// The rectangle of a control the table lists for `window`; an empty one for
// an ID the table does not know, so a mistake shows as a missing control.
inline QRect tableRect(ui_layout::WindowId window, int controlId) {
    const auto rect = ui_layout::controlRect(window, controlId);
    return rect ? toQRect(*rect) : QRect();
}

} // namespace talwyn::skins
