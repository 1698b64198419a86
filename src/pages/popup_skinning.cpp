#include "pages/popup_skinning.h"

namespace talwyn::pages {

namespace {
constexpr int kNormal = static_cast<int>(ui_layout::SkinState::Normal);
constexpr int kOver = static_cast<int>(ui_layout::SkinState::Over);
constexpr int kDown = static_cast<int>(ui_layout::SkinState::Down);
} // namespace

QRect toQRect(const ui_layout::Rect& rect) {
    return {rect.x, rect.y, rect.width, rect.height};
}

QRect tableRect(ui_layout::WindowId window, int controlId) {
    const auto rect = ui_layout::controlRect(window, controlId);
    return rect ? toQRect(*rect) : QRect();
}

void skinButton(controls::CVexImageButton& button, app::SkinStore& skins, int cutIndex, const QRect& rect) {
    button.setGeometry(rect);
    button.SetImages(skins.skinImage(cutIndex, kNormal, rect), skins.skinImage(cutIndex, kOver, rect),
                     skins.skinImage(cutIndex, kDown, rect));
}

void skinStatic(controls::CVexStatic& label, app::SkinStore& skins, int cutIndex, const QRect& rect) {
    label.setGeometry(rect);
    label.SetBackground(skins.skinImage(cutIndex, kNormal, rect));
}

} // namespace talwyn::pages
