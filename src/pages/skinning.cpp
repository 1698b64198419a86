#include "pages/skinning.h"

#include "controls/first_show.h"

namespace talwyn::pages {

namespace {

void setButtonLooks(controls::CVexImageButton& button, skins::SkinStore& skins, ui_layout::WindowId window,
                    controls::ControlId id) {
    button.SetImages(skins.controlLook(window, id, SkinState::Normal),
                     skins.controlLook(window, id, SkinState::Over),
                     skins.controlLook(window, id, SkinState::Down));
}

} // namespace

void skinButton(controls::CVexImageButton& button, skins::SkinStore& skins, ui_layout::WindowId window,
                controls::ControlId id) {
    button.setGeometry(tableRect(window, id));
    setButtonLooks(button, skins, window, id);
}

void skinButtonWhenShown(controls::CVexImageButton& button, skins::SkinStore& skins,
                         ui_layout::WindowId window, controls::ControlId id) {
    button.setGeometry(tableRect(window, id));
    controls::whenFirstShown(button,
                             [&button, &skins, window, id] { setButtonLooks(button, skins, window, id); });
}

void skinStatic(controls::CVexStatic& label, skins::SkinStore& skins, ui_layout::WindowId window,
                const QRect& rect) {
    label.setGeometry(rect);
    label.SetBackground(skins.sheetCut(window, SkinState::Normal, rect));
}

void skinStaticWhenShown(controls::CVexStatic& label, skins::SkinStore& skins, ui_layout::WindowId window,
                         const QRect& rect) {
    label.setGeometry(rect);
    controls::whenFirstShown(label, [&label, &skins, window, rect] {
        label.SetBackground(skins.sheetCut(window, SkinState::Normal, rect));
    });
}

void skinPageBackground(controls::CVexImageDialog& page, skins::SkinStore& skins,
                        ui_layout::WindowId window) {
    const ui_layout::Size size = ui_layout::layoutOf(window).size;
    page.SetBackgroundOnShow(QSize(size.width, size.height),
                             [&skins, window] { return skins.background(window); });
}

} // namespace talwyn::pages
