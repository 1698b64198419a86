#pragma once
// Placing a small skinned window's controls at their table rectangles and
// cutting their looks from the window's state sheets. Shared by the pop-ups,
// the rename dialog and the support page.

#include "app/skin_store.h"
#include "controls/image_button.h"
#include "controls/statics.h"
#include "ui_layout/control_table.h"

#include <QRect>

namespace talwyn::pages {

QRect toQRect(const ui_layout::Rect& rect);

// The rectangle of a control the table lists for `window`; an empty one for
// an ID the table does not know, so a mistake shows as a missing control.
QRect tableRect(ui_layout::WindowId window, int controlId);

// Places `button` and gives it the Normal, Over and Down cuts of the sheets
// that `cutIndex` names. Pop-up families have no Disable sheet, so none is
// asked for; a disabled button keeps its Normal look.
void skinButton(controls::CVexImageButton& button, app::SkinStore& skins, int cutIndex, const QRect& rect);

// Places `label` on a background cut from the Normal sheet at its rectangle.
void skinStatic(controls::CVexStatic& label, app::SkinStore& skins, int cutIndex, const QRect& rect);

} // namespace talwyn::pages
