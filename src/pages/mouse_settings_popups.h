#pragma once
// The mouse settings page's pop-ups as the program shows them.

#include "pages/mouse_settings_dlg.h"
#include "pages/popup_dlg.h"

namespace talwyn::pages {

class PopDlgMouseSettingsPopups final : public MouseSettingsPopups {
public:
    // The services must outlive this object; AssignKey needs their key capture.
    explicit PopDlgMouseSettingsPopups(const PopupServices& services) : services_(services) {}

    void showLeftClickWarn(QWidget* parent) override;
    void assignKey(controls::CVexComboButton& target, QWidget* parent) override;

private:
    PopupServices services_;
};

} // namespace talwyn::pages
