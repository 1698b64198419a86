#pragma once
// The main window's own skinned controls, built from its layout table: the
// page tabs, the slot buttons and their menus, the command buttons and the
// version label.

#include "profiles/profile_set.h"

#include <array>
#include <functional>
#include <vector>

class QWidget;

namespace talwyn::skins {
class SkinStore;
}

namespace talwyn::controls {
class CVexButton;
class CVexComboButton;
class CVexStatic;
} // namespace talwyn::controls

namespace talwyn::app {

class MainControls {
public:
    // Builds every control as a child of `window`; a click on a button runs
    // `command` with the button's ID.
    MainControls(QWidget& window, skins::SkinStore& skins, std::function<void(int id)> command);

    // The button of any command, page or slot; null for an unknown ID.
    controls::CVexButton* button(int id) const;
    controls::CVexButton& slotButton(int slot) const { return *slotButtons_.at(static_cast<size_t>(slot)); }
    controls::CVexComboButton* slotMenu(int slot) const { return slotMenus_.at(static_cast<size_t>(slot)); }

    void selectPageButton(int id);
    void highlightSlot(int slot);

private:
    void addSlotMenu(QWidget& window, skins::SkinStore& skins, int id);
    void addVersionLabel(QWidget& window, skins::SkinStore& skins, int id);
    void addButton(QWidget& window, skins::SkinStore& skins, int id);

    std::function<void(int id)> command_;
    std::array<controls::CVexButton*, 5> pageButtons_{};
    std::array<controls::CVexButton*, ProfileSet::kSlotCount> slotButtons_{};
    std::array<controls::CVexComboButton*, ProfileSet::kSlotCount> slotMenus_{};
    std::vector<controls::CVexButton*> commandButtons_;
    controls::CVexStatic* versionLabel_ = nullptr;
};

} // namespace talwyn::app
