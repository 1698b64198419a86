#include "pages/mouse_settings_popups.h"

namespace talwyn::pages {

void PopDlgMouseSettingsPopups::showLeftClickWarn(QWidget* parent) {
    CPopDlg popup(PopMode::LeftClickWarn, services_, parent);
    popup.runModal(); // the answer changes nothing: the button keeps "Left click"
}

void PopDlgMouseSettingsPopups::assignKey(controls::CVexComboButton& target, QWidget* parent) {
    CPopDlg popup(PopMode::AssignKey, services_, parent);
    popup.setTarget(&target);
    popup.runModal();
}

} // namespace talwyn::pages
