#include "pages/macro_page_popups.h"

namespace talwyn::pages {

bool PopDlgMacroPagePopups::confirmDeleteMacro(QWidget* parent) {
    CPopDlg popup(PopMode::DeleteMacro, services_, parent);
    return popup.runModal() == controls::ModalResult::Ok;
}

} // namespace talwyn::pages
