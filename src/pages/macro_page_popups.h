#pragma once
// The macro page's confirmation as the program shows it.

#include "pages/macro_settings_dlg.h"
#include "pages/popup_dlg.h"

namespace talwyn::pages {

class PopDlgMacroPagePopups final : public MacroPagePopups {
public:
    explicit PopDlgMacroPagePopups(const PopupServices& services) : services_(services) {}

    bool confirmDeleteMacro(QWidget* parent) override;

private:
    PopupServices services_;
};

} // namespace talwyn::pages
