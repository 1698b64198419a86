#include "pages/mouse_settings_dlg.h"

#include "button_functions/function_catalogue.h"
#include "button_functions/key_names.h"
#include "macros/macro_library.h"
#include "pages/skinning.h"
#include "ui_layout/control_table.h"

#include <algorithm>

namespace talwyn::pages {

using controls::CommandValue;
using controls::ControlId;
using controls::CVexCheckBox;
using controls::CVexComboButton;
using controls::CVexSliderCtrl3D;

namespace {

constexpr int32_t kLeftClick = 0;
constexpr int32_t kLastMenuCode = 15;

struct SliderSetup {
    ControlId id;
    int32_t minimum;
    int32_t maximum;
    int32_t step;
    int32_t initial;
};
constexpr SliderSetup kDoubleClickSetup{CMouseSettingsDlg::kDoubleClickId, 200, 1400, 200, 800};
constexpr SliderSetup kScrollSpeedSetup{CMouseSettingsDlg::kScrollSpeedId, 1, 6, 1, 1};
constexpr SliderSetup kAccelerationSetup{CMouseSettingsDlg::kAccelerationId, 1, 3, 1, 1};

constexpr std::array<uint8_t, CMouseSettingsDlg::kFunctionButtons> kInitialFunctions{0, 1, 2, 3, 4, 7};

constexpr auto kWindow = ui_layout::WindowId::MouseSettings;

QImage cut(skins::SkinStore& skins, SkinState state, ControlId id) {
    return skins.controlLook(kWindow, id, state);
}

CVexSliderCtrl3D* makeSlider(QWidget* parent, skins::SkinStore& skins, const SliderSetup& setup) {
    auto* slider = placeControl<CVexSliderCtrl3D>(parent, kWindow, setup.id);
    slider->SetImages(cut(skins, SkinState::Normal, setup.id),
                      {skins.picture(kWindow, ui_layout::SkinRole::SliderThumb, SkinState::Normal)},
                      skins.picture(kWindow, ui_layout::SkinRole::SliderThumb, SkinState::Disable));
    slider->setThumbCount(1);
    slider->setRange(setup.minimum, setup.maximum);
    slider->setStep(setup.step);
    slider->SetValue(1, setup.initial);
    return slider;
}

QString menuText(int32_t code) {
    const button_functions::FunctionInfo* info = button_functions::findFunction(code);
    return info != nullptr ? QString::fromStdU16String(std::u16string(info->menuText)) : QString();
}

} // namespace

CMouseSettingsDlg::CMouseSettingsDlg(QWidget* parent, skins::SkinStore& skins, const MacroLibrary& macros,
                                     MouseSettingsPopups& popups, PointerSettings& pointerSettings)
    : CVexImageDialog(parent), macros_(macros), popups_(popups), pointerSettings_(pointerSettings) {
    setWindowFlags(Qt::Widget); // a page inside the main window, not a window of its own
    setControlId(kTemplateId);
    skinPageBackground(*this, skins, kWindow);

    for (int k = 0; k < kFunctionButtons; ++k) {
        auto* button = placeControl<CVexComboButton>(this, kWindow, kFunctionIds[k]);
        button->SetImages(cut(skins, SkinState::Normal, kFunctionIds[k]),
                          cut(skins, SkinState::Over, kFunctionIds[k]),
                          cut(skins, SkinState::Down, kFunctionIds[k]));
        buildFunctionMenu(*button);
        const int32_t code = kInitialFunctions[k];
        button->SetCaption(menuText(code), code, button->selectedParameter());
        functions_[k] = button;
    }

    for (size_t i = 0; i < rates_.size(); ++i) {
        auto* box = placeControl<CVexCheckBox>(this, kWindow, kRateIds[i]);
        box->SetImages(cut(skins, SkinState::Normal, kRateIds[i]), cut(skins, SkinState::Over, kRateIds[i]),
                       cut(skins, SkinState::Down, kRateIds[i]));
        connect(box, &CVexCheckBox::clicked, this, [this, i] { pickRate(static_cast<int>(i)); });
        rates_[i] = box;
    }
    rates_.back()->setCheckedFlag(true);

    doubleClick_ = makeSlider(this, skins, kDoubleClickSetup);
    scrollSpeed_ = makeSlider(this, skins, kScrollSpeedSetup);
    acceleration_ = makeSlider(this, skins, kAccelerationSetup);

    enable_ = placeControl<CVexCheckBox>(this, kWindow, kEnableId);
    // Off is the Disable look, on the Down look; the switch has no hover look.
    enable_->SetImages(cut(skins, SkinState::Disable, kEnableId), {}, cut(skins, SkinState::Down, kEnableId));
    connect(enable_, &CVexCheckBox::clicked, this, &CMouseSettingsDlg::enableToggled);
    setAccelerationEnabled(false);

    refreshMacroMenus();
}

void CMouseSettingsDlg::buildFunctionMenu(CVexComboButton& button) const {
    button.SetMenuWidth(button_functions::kDropDownWidth);
    controls::CVexMenu* menu = button.menu();
    for (const button_functions::MenuItem& item : button_functions::kFunctionMenu) {
        const QString text = QString::fromStdU16String(std::u16string(item.text));
        menu->AddItem(item.id, text, 0, true, item.kind == button_functions::MenuItemKind::Submenu);
        if (item.kind != button_functions::MenuItemKind::Submenu) {
            continue;
        }
        controls::CVexMenu* submenu = menu->GetSubMenu(item.id);
        submenu->resize(item.submenuWidth, submenu->height());
        for (const uint8_t code : item.codes) {
            menu->AddSubItem(code, item.id, menuText(code), 0, true);
        }
    }
}

void CMouseSettingsDlg::refreshMacroMenus() {
    constexpr int32_t kMacroItem = function_code::kMacro;
    int width = button_functions::kMacroMenuMargin;
    for (CVexComboButton* button : functions_) {
        controls::CVexMenu* menu = button->menu();
        menu->GetSubMenu(kMacroItem)->ClearItems();
        for (size_t i = 0; i < macros_.size(); ++i) {
            const CMacro& macro = macros_.at(i);
            menu->AddSubItem(macro.macroId, kMacroItem, QString::fromStdU16String(macro.name), 0, true);
        }
        width = menu->MaxItemTextWidth(kMacroItem) + button_functions::kMacroMenuMargin;
    }
    for (CVexComboButton* button : functions_) {
        controls::CVexMenu* submenu = button->menu()->GetSubMenu(kMacroItem);
        submenu->resize(width, submenu->height());
    }
}

void CMouseSettingsDlg::onCommand(ControlId first, CommandValue second) {
    if (first == controls::command::kMenuClosing) {
        controls::sendCommand(parentWidget(), first, second);
        return;
    }
    const auto it = std::find(kFunctionIds.begin(), kFunctionIds.end(), first);
    if (it != kFunctionIds.end()) {
        chooseFunction(static_cast<int>(it - kFunctionIds.begin()), static_cast<int32_t>(second));
    }
    // Slider values are read when the page is saved.
}

bool CMouseSettingsDlg::isLastLeftClick(int index) const {
    if (functions_[index]->selectedCode() != kLeftClick) {
        return false;
    }
    for (int k = 0; k < kFunctionButtons; ++k) {
        if (k != index && functions_[k]->selectedCode() == kLeftClick) {
            return false;
        }
    }
    return true;
}

void CMouseSettingsDlg::chooseFunction(int index, int32_t code) {
    CVexComboButton& button = *functions_[index];
    if (code != kLeftClick && isLastLeftClick(index)) {
        button.setUpdateCaption(false);
        popups_.showLeftClickWarn(this);
        return;
    }
    if (code == function_code::kSingleKey) {
        popups_.assignKey(button, this);
        // Whatever the pop-up did, the menu text itself never becomes the caption.
        button.setUpdateCaption(false);
        return;
    }
    if (code > kLastMenuCode) {
        button.setUpdateCaption(false);
        button.SetCaption(button.GetItemText(code), function_code::kMacro, code);
    }
}

void CMouseSettingsDlg::pickRate(int index) {
    for (CVexCheckBox* box : rates_) {
        box->setCheckedFlag(false);
    }
    rates_[index]->setCheckedFlag(true);
}

void CMouseSettingsDlg::enableToggled() {
    if (!enable_->checkedFlag()) {
        acceleration_->SetValue(1, kAccelerationSetup.minimum);
    }
    setAccelerationEnabled(enable_->checkedFlag());
}

void CMouseSettingsDlg::setAccelerationEnabled(bool enabled) {
    acceleration_->setDisabledLook(!enabled);
}

void CMouseSettingsDlg::saveToProfile(ProfileData& profile) {
    for (int k = 0; k < kFunctionButtons; ++k) {
        ButtonAssignment& entry = profile.buttons[static_cast<size_t>(k)];
        const int32_t code = functions_[k]->selectedCode();
        const int32_t parameter = functions_[k]->selectedParameter();
        entry.function = static_cast<uint8_t>(code);
        if (code == function_code::kSingleKey) {
            entry.param = static_cast<int16_t>(static_cast<uint16_t>(parameter & 0xFFFF));
        } else if (code == function_code::kMacro) {
            entry.param = static_cast<int16_t>(parameter);
            const std::optional<MacroData> macro = macros_.makeProfileMacro(parameter);
            profile.attachMacro(macro ? &*macro : nullptr, entry);
        }
    }
    for (size_t i = 0; i < rates_.size(); ++i) {
        if (rates_[i]->checkedFlag()) {
            profile.reportInterval = kRateIntervals[i];
            break;
        }
    }
    profile.doubleClickSpeed = static_cast<int16_t>(doubleClick_->value(1));
    profile.scrollLines = static_cast<int16_t>(scrollSpeed_->value(1));
    profile.accelEnabled = enable_->checkedFlag() ? 1 : 0;
    profile.accelLevel = static_cast<int16_t>(acceleration_->value(1));
}

void CMouseSettingsDlg::loadFromProfile(ProfileData& profile) {
    refreshMacroMenus();
    for (int k = 0; k < kFunctionButtons; ++k) {
        const ButtonAssignment& entry = profile.buttons[static_cast<size_t>(k)];
        CVexComboButton& button = *functions_[k];
        if (entry.function == function_code::kSingleKey) {
            button.SetCaption(
                QString::fromStdU16String(button_functions::keyName(static_cast<uint16_t>(entry.param))),
                entry.function, entry.param);
        } else if (entry.function == function_code::kMacro) {
            button.SetCaption(QString::fromStdU16String(profile.macroNameFor(entry)), entry.function,
                              entry.param);
        } else if (button.menu()->FindItem(entry.function) != nullptr) {
            // Any item of the menu, submenus included: a file may hold a header
            // or a macro identifier, and the next store must write it back as read.
            button.SetCaption(button.GetItemText(entry.function), entry.function, button.selectedParameter());
        }
    }
    for (size_t i = 0; i < rates_.size(); ++i) {
        rates_[i]->setCheckedFlag(profile.reportInterval == kRateIntervals[i]);
    }
    doubleClick_->SetValue(1, profile.doubleClickSpeed);
    scrollSpeed_->SetValue(1, profile.scrollLines);
    enable_->setCheckedFlag(profile.accelEnabled != 0);
    setAccelerationEnabled(profile.accelEnabled != 0);
    acceleration_->SetValue(
        1, std::clamp<int32_t>(profile.accelLevel, kAccelerationSetup.minimum, kAccelerationSetup.maximum));
}

void CMouseSettingsDlg::applyPointerSettings(const ProfileData& profile) {
    pointerSettings_.apply(pointerRequestFor(profile));
}

} // namespace talwyn::pages
