#pragma once
// The "Color Settings" page: how the two lighting zones are lit (one colour,
// a colour cycle or per zone), the effect, the brightness and the zone
// colours, picked in the colour field or typed as decimal or hexadecimal
// numbers, with a live preview of the mouse.
//
// The decimal and hexadecimal edits are kept in step when their texts or the
// keyboard focus change, and a picked colour reaches the edits on a short
// one-shot timer, so the page costs nothing while nobody touches it.

#include "color/color_math.h"
#include "controls/buttons.h"
#include "controls/color_well_wnd.h"
#include "controls/edits.h"
#include "controls/image_dialog.h"
#include "controls/sliders.h"
#include "controls/statics.h"
#include "pages/page.h"

#include <array>
#include <chrono>
#include <optional>

namespace talwyn::skins {
class SkinStore;
}

namespace talwyn::controls {
class HxColorSliderWnd;
} // namespace talwyn::controls

namespace talwyn::pages {

enum class LightingMode { None, PerZone, ColorShift, SolidColor };

// The profile's `lightZones` and `lightEffect` of a page state.
struct LightingCodes {
    int32_t zones = 0;
    int32_t effect = 0;
    bool operator==(const LightingCodes&) const = default;
};
LightingCodes encodeLighting(LightingMode mode, bool wheelLit, bool logoLit,
                             std::optional<controls::LightEffect> effect);
// The mode a profile's `lightZones` shows; PerZone only when a zone bit is set.
LightingMode decodeLightingMode(int32_t zones);
// The effect a profile's `lightEffect` shows; none leaves the preview's effect as it is.
std::optional<controls::LightEffect> decodeLightEffect(int32_t effect);

// What the decimal edits hold once corrected: at most the last three
// characters, read as a number, above 255 shown as "255".
struct DecimalEntry {
    QString text;
    int value = 0;
    bool corrected = false; // the edit must show `text`
};
DecimalEntry correctDecimalEntry(const QString& typed);

class CColorSettingsDlg : public controls::CVexImageDialog,
                          public LightingPage,
                          public controls::PickedColorOwner {
    Q_OBJECT
public:
    static constexpr controls::ControlId kTemplateId = 131;
    static constexpr controls::ControlId kPerZoneId = 1029;
    static constexpr controls::ControlId kColorShiftId = 1062;
    static constexpr controls::ControlId kSolidColorId = 1063;
    static constexpr controls::ControlId kWheelBoxId = 1030;
    static constexpr controls::ControlId kLogoBoxId = 1033;
    static constexpr controls::ControlId kZone1EditId = 1034;
    static constexpr controls::ControlId kZone2EditId = 1037;
    static constexpr std::array<controls::ControlId, 4> kEffectIds{1043, 1049, 1055, 1061};
    static constexpr controls::ControlId kBrightnessId = 1102;
    static constexpr std::array<controls::ControlId, 3> kDecimalIds{1082, 1083, 1084};
    static constexpr controls::ControlId kHashId = 1113;
    static constexpr controls::ControlId kHexId = 1087;
    static constexpr controls::ControlId kPreviewId = 1085;
    static constexpr std::array<controls::ControlId, 2> kDecorIds{1103, 1104};
    static constexpr int kEditSyncTimer = 1;
    static constexpr int kPickTimer = 2;
    static constexpr std::chrono::milliseconds kPickDelay{10};
    static constexpr color::ColorValue kInitialColor = 0x0000FF; // red
    // The pointer lands this far above the green edit, over the colour field.
    static constexpr int kZoneEditPointerLift = 115;

    // The skins must outlive the page.
    CColorSettingsDlg(QWidget* parent, skins::SkinStore& skins);
    ~CColorSettingsDlg() override;

    QWidget& window() override { return *this; }
    void saveToProfile(ProfileData& profile) override;
    // Also writes a brightness outside 1..5 back into `profile` clamped.
    void loadFromProfile(ProfileData& profile) override;

    void onCommand(controls::ControlId first, controls::CommandValue second) override;
    // A page is never modal: Escape must not hide it.
    void reject() override {}

    // The colour picker reported a new colour; the edits and zones follow shortly.
    void colorPicked() override;
    // Brings the edits in step with the one that has the focus, as typing does.
    void syncEdits();
    // Carries a picked colour to the edits and zones.
    void takePickedColor();

    LightingMode mode() const { return mode_; }
    std::optional<controls::LightEffect> effect() const { return effect_; }
    color::ColorValue currentColor() const { return currentColor_; }
    bool zoneControlsShown() const;
    bool editSyncPending() const { return timers_.isActive(kEditSyncTimer); }
    bool pickPending() const { return timers_.isActive(kPickTimer); }

    controls::CVexButton& modeButton(LightingMode mode) const;
    controls::CVexButton& effectButton(controls::LightEffect effect) const;
    controls::CVexCheckBox& wheelBox() const { return *wheel_; }
    controls::CVexCheckBox& logoBox() const { return *logo_; }
    controls::CVexButton& zone1EditButton() const { return *zone1Edit_; }
    controls::CVexButton& zone2EditButton() const { return *zone2Edit_; }
    controls::CVexSliderCtrl3D& brightnessSlider() const { return *brightness_; }
    // 0 red, 1 green, 2 blue.
    controls::CVexEdit& decimalEdit(int channel) const { return *decimal_.at(static_cast<size_t>(channel)); }
    controls::CVexEdit& hexEdit() const { return *hex_; }
    controls::CVexMouseStatic& preview() const { return *preview_; }
    controls::HxColorSelectorWnd& selector() const { return *selector_; }
    controls::HxColorSliderWnd& colorSlider() const { return *slider_; }
    controls::HxColorWellWnd& well() const { return *well_; }

protected:
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildModeControls();
    void buildEffectControls();
    void buildColorEntry();
    void buildPickers();

    void chooseMode(LightingMode mode);
    void chooseEffect(controls::LightEffect effect);
    void showZoneControls(bool shown);
    void stopColorCycle();
    void startColorCycle();
    void zoneBoxToggled();
    void chooseEditZone(int zone);
    void setBrightness(int level);
    // A colour typed or picked reaches the zones the mode lets it.
    void applyToZones(color::Rgb8 rgb);
    void typedColor(color::Rgb8 rgb);
    void requestEditSync();
    bool isColorEdit(const QWidget* widget) const;

    skins::SkinStore& skins_;
    controls::NumberedTimers timers_{this};
    std::array<controls::CVexButton*, 3> modes_{};
    controls::CVexCheckBox* wheel_ = nullptr;
    controls::CVexCheckBox* logo_ = nullptr;
    controls::CVexButton* zone1Edit_ = nullptr;
    controls::CVexButton* zone2Edit_ = nullptr;
    std::array<controls::CVexButton*, 4> effects_{};
    controls::CVexSliderCtrl3D* brightness_ = nullptr;
    std::array<controls::CVexEdit*, 3> decimal_{};
    controls::CVexEdit* hex_ = nullptr;
    controls::CVexMouseStatic* preview_ = nullptr;
    controls::HxColorSelectorWnd* selector_ = nullptr;
    controls::HxColorSliderWnd* slider_ = nullptr;
    controls::HxColorWellWnd* well_ = nullptr;

    LightingMode mode_ = LightingMode::None;
    std::optional<controls::LightEffect> effect_;
    bool editZone1_ = false;
    bool editZone2_ = false;
    bool pickChanged_ = false;
    color::ColorValue currentColor_ = kInitialColor;
    // The decimal texts last carried to the zones and the selector.
    std::array<QString, 3> lastSeen_;
};

} // namespace talwyn::pages
