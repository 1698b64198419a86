#include "pages/skinning.h"

namespace talwyn::pages {

void skinButton(controls::CVexImageButton& button, app::SkinStore& skins, int cutIndex, const QRect& rect) {
    button.setGeometry(rect);
    button.SetImages(skins.skinImage(cutIndex, kStateNormal, rect),
                     skins.skinImage(cutIndex, kStateOver, rect),
                     skins.skinImage(cutIndex, kStateDown, rect));
}

void skinStatic(controls::CVexStatic& label, app::SkinStore& skins, int cutIndex, const QRect& rect) {
    label.setGeometry(rect);
    label.SetBackground(skins.skinImage(cutIndex, kStateNormal, rect));
}

} // namespace talwyn::pages
