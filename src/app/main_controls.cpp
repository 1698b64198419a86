#include "app/main_controls.h"

#include "app/main_commands.h"
#include "controls/buttons.h"
#include "controls/combo_button.h"
#include "controls/statics.h"
#include "skins/skin_store.h"
#include "skins/table_rect.h"

#include <QObject>

#include <algorithm>

namespace talwyn::app {

namespace {

using controls::CVexButton;
using ui_layout::SkinState;

constexpr auto kWindow = ui_layout::WindowId::Main;
constexpr int kSlotMenuWidth = 170;
constexpr int kVersionFontHeight = 13;

} // namespace

MainControls::MainControls(QWidget& window, skins::SkinStore& skins, std::function<void(int id)> command)
    : command_(std::move(command)) {
    for (const ui_layout::ControlEntry& entry : ui_layout::layoutOf(kWindow).controls) {
        switch (entry.kind) {
        case ui_layout::ControlKind::ComboButton:
            addSlotMenu(window, skins, entry.id);
            break;
        case ui_layout::ControlKind::Static:
            addVersionLabel(window, skins, entry.id);
            break;
        default:
            addButton(window, skins, entry.id);
            break;
        }
    }
}

void MainControls::addSlotMenu(QWidget& window, skins::SkinStore& skins, int id) {
    auto* menu = new controls::CVexComboButton(&window);
    menu->setControlId(id);
    menu->setGeometry(skins::tableRect(kWindow, id));
    menu->SetImages(skins.controlLook(kWindow, id, SkinState::Normal),
                    skins.controlLook(kWindow, id, SkinState::Over),
                    skins.controlLook(kWindow, id, SkinState::Down));
    menu->setShowCaption(false);
    menu->SetMenuWidth(kSlotMenuWidth);
    menu->AddItem(static_cast<int32_t>(SlotMenuItem::Rename), QObject::tr("Rename"));
    menu->AddItem(static_cast<int32_t>(SlotMenuItem::Save), QObject::tr("Save current settings"));
    menu->AddItem(static_cast<int32_t>(SlotMenuItem::Export), QObject::tr("Export Profile"));
    menu->AddItem(static_cast<int32_t>(SlotMenuItem::Import), QObject::tr("Import Profile"));
    menu->AddItem(static_cast<int32_t>(SlotMenuItem::ToggleEnabled), QObject::tr("Disable/Enable"));
    slotMenus_[static_cast<size_t>(main_command::kSlotMenuOfFirstSlot - id)] = menu;
}

void MainControls::addVersionLabel(QWidget& window, skins::SkinStore& skins, int id) {
    auto* label = new controls::CVexStatic(&window);
    label->setControlId(id);
    label->setGeometry(skins::tableRect(kWindow, id));
    label->SetBackground(skins.controlLook(kWindow, id, SkinState::Normal));
    label->SetFontHeight(kVersionFontHeight);
    label->SetText(QStringLiteral("1.00"));
}

void MainControls::addButton(QWidget& window, skins::SkinStore& skins, int id) {
    const ui_layout::ControlEntry entry = *ui_layout::findControl(kWindow, id);
    auto* button = new CVexButton(&window);
    button->setControlId(id);
    button->setGeometry(skins::tableRect(kWindow, id));
    const auto look = [&](SkinState state) { return skins.controlLook(kWindow, id, state); };
    if (entry.look == ui_layout::ControlLook::CloseButtonHoverInNormal) {
        button->SetImages(look(SkinState::Over), look(SkinState::Normal), look(SkinState::Down));
    } else {
        button->SetImages(look(SkinState::Normal), look(SkinState::Over), look(SkinState::Down),
                          look(SkinState::Disable));
    }
    if (entry.captionBy == ui_layout::CaptionSource::Control) {
        button->SetCaption(
            QString::fromUtf8(entry.caption.data(), static_cast<qsizetype>(entry.caption.size())));
    }
    QObject::connect(button, &QAbstractButton::clicked, button, [this, id] { command_(id); });
    if (main_command::isPage(id)) {
        pageButtons_[static_cast<size_t>(id - main_command::kFirstPage)] = button;
    } else if (main_command::isSlot(id)) {
        slotButtons_[static_cast<size_t>(id - main_command::kFirstSlot)] = button;
    } else {
        commandButtons_.push_back(button);
    }
}

CVexButton* MainControls::button(int id) const {
    if (main_command::isPage(id)) {
        return pageButtons_[static_cast<size_t>(id - main_command::kFirstPage)];
    }
    if (main_command::isSlot(id)) {
        return slotButtons_[static_cast<size_t>(id - main_command::kFirstSlot)];
    }
    const auto found = std::find_if(commandButtons_.begin(), commandButtons_.end(),
                                    [id](const CVexButton* each) { return each->controlId() == id; });
    return found != commandButtons_.end() ? *found : nullptr;
}

void MainControls::selectPageButton(int id) {
    for (CVexButton* each : pageButtons_) {
        each->SetSelected(each->controlId() == id);
    }
}

void MainControls::highlightSlot(int slot) {
    for (size_t i = 0; i < slotButtons_.size(); ++i) {
        slotButtons_[i]->SetSelected(static_cast<int>(i) == slot);
    }
}

} // namespace talwyn::app
