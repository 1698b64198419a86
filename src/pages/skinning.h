#pragma once
// Placing a skinned window's controls at their table rectangles and cutting
// their looks from the window's state sheets; shared by the pages, the
// pop-ups, the rename dialog and the support page.

#include "controls/framework.h"
#include "controls/image_button.h"
#include "controls/image_dialog.h"
#include "controls/statics.h"
#include "skins/skin_store.h"
#include "skins/table_rect.h"

#include <QRect>
#include <QWidget>

namespace talwyn::pages {

using skins::tableRect;
using ui_layout::SkinState;

// A new control owned by `parent` through Qt's parent chain, with its ID and
// at the rectangle the table gives it in `window`.
template <typename Control>
Control* placeControl(QWidget* parent, ui_layout::WindowId window, controls::ControlId id) {
    auto* control = new Control(parent);
    control->setControlId(id);
    control->setGeometry(tableRect(window, id));
    return control;
}

// Places `button` at control `id` of `window` and gives it its Normal, Over
// and Down looks. Pop-up families have no Disable sheet, so none is asked
// for; a disabled button keeps its Normal look.
void skinButton(controls::CVexImageButton& button, skins::SkinStore& skins, ui_layout::WindowId window,
                controls::ControlId id);
// The same for a page built hidden: the looks are cut when the button first shows.
void skinButtonWhenShown(controls::CVexImageButton& button, skins::SkinStore& skins,
                         ui_layout::WindowId window, controls::ControlId id);

// Places `label` at `rect` of `window` on the Normal sheet's piece there.
void skinStatic(controls::CVexStatic& label, skins::SkinStore& skins, ui_layout::WindowId window,
                const QRect& rect);
// The same for a page built hidden: the piece is cut when the label first shows.
void skinStaticWhenShown(controls::CVexStatic& label, skins::SkinStore& skins, ui_layout::WindowId window,
                         const QRect& rect);

// A page built hidden gets its background when first shown; until then it
// holds no picture of its whole window.
void skinPageBackground(controls::CVexImageDialog& page, skins::SkinStore& skins, ui_layout::WindowId window);

} // namespace talwyn::pages
