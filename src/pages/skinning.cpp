#include "pages/skinning.h"

namespace talwyn::pages {

void skinButton(controls::CVexImageButton& button, skins::SkinStore& skins, ui_layout::WindowId window,
                controls::ControlId id) {
    button.setGeometry(tableRect(window, id));
    button.SetImages(skins.controlLook(window, id, SkinState::Normal),
                     skins.controlLook(window, id, SkinState::Over),
                     skins.controlLook(window, id, SkinState::Down));
}

void skinStatic(controls::CVexStatic& label, skins::SkinStore& skins, ui_layout::WindowId window,
                const QRect& rect) {
    label.setGeometry(rect);
    label.SetBackground(skins.sheetCut(window, SkinState::Normal, rect));
}

void skinPageBackground(controls::CVexImageDialog& page, skins::SkinStore& skins,
                        ui_layout::WindowId window) {
    const ui_layout::Size size = ui_layout::layoutOf(window).size;
    page.SetBackgroundOnShow(QSize(size.width, size.height),
                             [&skins, window] { return skins.background(window); });
}

} // namespace talwyn::pages
