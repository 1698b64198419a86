#pragma once
// Placing a skinned window's controls at their table rectangles and cutting
// their looks from the window's state sheets; shared by the pages, the
// pop-ups, the rename dialog and the support page.

#include "app/skin_store.h"
#include "controls/framework.h"
#include "controls/image_button.h"
#include "controls/statics.h"
#include "ui_layout/qt_rect.h"

#include <QRect>
#include <QWidget>

namespace talwyn::pages {

using ui_layout::tableRect;
using ui_layout::toQRect;

// Skin states as the store's index table numbers them.
inline constexpr int kStateNormal = static_cast<int>(ui_layout::SkinState::Normal);
inline constexpr int kStateOver = static_cast<int>(ui_layout::SkinState::Over);
inline constexpr int kStateDown = static_cast<int>(ui_layout::SkinState::Down);
inline constexpr int kStateDisable = static_cast<int>(ui_layout::SkinState::Disable);

// A new control owned by `parent` through Qt's parent chain, with its ID and
// at the rectangle the table gives it in `window`.
template <typename Control>
Control* placeControl(QWidget* parent, ui_layout::WindowId window, controls::ControlId id) {
    auto* control = new Control(parent);
    control->setControlId(id);
    control->setGeometry(tableRect(window, id));
    return control;
}

// Places `button` and gives it the Normal, Over and Down cuts of the sheets
// that `cutIndex` names. Pop-up families have no Disable sheet, so none is
// asked for; a disabled button keeps its Normal look.
void skinButton(controls::CVexImageButton& button, app::SkinStore& skins, int cutIndex, const QRect& rect);

// Places `label` on a background cut from the Normal sheet at its rectangle.
void skinStatic(controls::CVexStatic& label, app::SkinStore& skins, int cutIndex, const QRect& rect);

} // namespace talwyn::pages
