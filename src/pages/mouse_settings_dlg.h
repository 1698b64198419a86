#pragma once
// The "Mouse Settings" page: the function of the six programmable buttons,
// the report rate and the desktop pointer settings of the current profile.
// The page keeps its state in its controls; the main window moves it into and
// out of a ProfileData with saveToProfile and loadFromProfile.

#include "controls/buttons.h"
#include "controls/combo_button.h"
#include "controls/image_dialog.h"
#include "controls/sliders.h"
#include "pages/page.h"
#include "pages/pointer_settings.h"
#include "profiles/profile_data.h"

#include <array>

namespace talwyn {
class MacroLibrary;
namespace skins {
class SkinStore;
}
} // namespace talwyn

namespace talwyn::pages {

// The pop-ups the page runs, behind one seam so tests can answer them.
class MouseSettingsPopups {
public:
    virtual ~MouseSettingsPopups() = default;
    // The "last Left click" warning; its answer changes nothing.
    virtual void showLeftClickWarn(QWidget* parent) = 0;
    // Key capture for `target`: the pop-up sets the button to the captured key
    // on confirmation and leaves it as it was otherwise.
    virtual void assignKey(controls::CVexComboButton& target, QWidget* parent) = 0;
};

class CMouseSettingsDlg : public controls::CVexImageDialog, public ButtonPage {
    Q_OBJECT
public:
    static constexpr controls::ControlId kTemplateId = 129;
    static constexpr int kFunctionButtons = 6;
    static constexpr std::array<controls::ControlId, kFunctionButtons> kFunctionIds{1012, 1021, 1022,
                                                                                    1023, 1024, 1025};
    // Report-rate boxes in the order 125, 250, 500, 1000 and the matching reportInterval.
    static constexpr std::array<controls::ControlId, 4> kRateIds{1028, 1027, 1029, 1030};
    static constexpr std::array<uint16_t, 4> kRateIntervals{8, 4, 2, 1};
    static constexpr controls::ControlId kDoubleClickId = 1014;
    static constexpr controls::ControlId kScrollSpeedId = 1015;
    static constexpr controls::ControlId kAccelerationId = 1016;
    static constexpr controls::ControlId kEnableId = 1040;

    // The library and the services must outlive the page.
    CMouseSettingsDlg(QWidget* parent, skins::SkinStore& skins, const MacroLibrary& macros,
                      MouseSettingsPopups& popups, PointerSettings& pointerSettings);

    QWidget& window() override { return *this; }
    void loadFromProfile(ProfileData& profile) override;
    void saveToProfile(ProfileData& profile) override;
    void refreshMacroMenus() override;
    // Hands the profile's pointer settings to the desktop backend.
    void applyPointerSettings(const ProfileData& profile) override;

    void onCommand(controls::ControlId first, controls::CommandValue second) override;
    // A page is never modal: Escape must not hide it.
    void reject() override {}

    controls::CVexComboButton& functionButton(int index) const { return *functions_.at(index); }
    controls::CVexCheckBox& rateBox(int index) const { return *rates_.at(index); }
    controls::CVexSliderCtrl3D& doubleClickSlider() const { return *doubleClick_; }
    controls::CVexSliderCtrl3D& scrollSpeedSlider() const { return *scrollSpeed_; }
    controls::CVexSliderCtrl3D& accelerationSlider() const { return *acceleration_; }
    controls::CVexCheckBox& enableBox() const { return *enable_; }

private:
    void buildFunctionMenu(controls::CVexComboButton& button) const;
    void chooseFunction(int index, int32_t code);
    bool isLastLeftClick(int index) const;
    void pickRate(int index);
    void enableToggled();
    void setAccelerationEnabled(bool enabled);

    const MacroLibrary& macros_;
    MouseSettingsPopups& popups_;
    PointerSettings& pointerSettings_;
    std::array<controls::CVexComboButton*, kFunctionButtons> functions_{};
    std::array<controls::CVexCheckBox*, 4> rates_{};
    controls::CVexSliderCtrl3D* doubleClick_ = nullptr;
    controls::CVexSliderCtrl3D* scrollSpeed_ = nullptr;
    controls::CVexSliderCtrl3D* acceleration_ = nullptr;
    controls::CVexCheckBox* enable_ = nullptr;
};

} // namespace talwyn::pages
