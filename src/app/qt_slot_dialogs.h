#pragma once
// The program's slot dialogs: the reset warning pop-up, the rename dialog
// and the desktop's file dialogs.

#include "app/slot_dialogs.h"
#include "pages/popup_dlg.h"

namespace talwyn::app {

class QtSlotDialogs final : public SlotDialogs {
public:
    explicit QtSlotDialogs(pages::PopupServices popups) : popups_(popups) {}

    bool confirmReset(QWidget* parent) override;
    bool renameSlot(int slot, ProfileSet& profiles, controls::CVexButton& slotButton,
                    QWidget* parent) override;
    std::optional<std::filesystem::path> exportTarget(const std::filesystem::path& suggested,
                                                      QWidget* parent) override;
    std::optional<std::filesystem::path> importSource(const std::filesystem::path& folder,
                                                      QWidget* parent) override;

private:
    pages::PopupServices popups_;
};

} // namespace talwyn::app
