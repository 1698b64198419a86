#pragma once
// The "Sensor Performance" page: up to five resolution levels on one slider
// and in five number fields, the active-level indicators the mouse drives,
// the pointer speed, three sensor switches and the surface analysis.

#include "controls/buttons.h"
#include "controls/combo_button.h"
#include "controls/edits.h"
#include "controls/image_dialog.h"
#include "controls/scroll_progress.h"
#include "controls/sliders.h"
#include "controls/statics.h"
#include "pages/page.h"

#include <array>
#include <chrono>
#include <functional>

namespace talwyn::skins {
class SkinStore;
}

namespace talwyn::pages {

inline constexpr int32_t kMinResolution = 50;
inline constexpr int32_t kMaxResolution = 19000;
inline constexpr int32_t kResolutionStep = 50;
inline constexpr int kMaxQualityIndex = 10;

// The nearest multiple of 50 (25 rounds up) within 50..19000.
int32_t roundResolution(int32_t value);
// The surface quality index 0..10 of the mouse's analysis value; above 100 is 0.
int surfaceQualityIndex(int value);

// The surface-analysis procedure behind one seam: the three pop-ups that
// start the measurement and count it down, and the read of its result.
class SurfaceAnalysis {
public:
    virtual ~SurfaceAnalysis() = default;
    // Ok only when every step was confirmed.
    virtual controls::ModalResult runSteps(QWidget* parent) = 0;
    // Asks for the value the mouse measured; `show` gets it on the UI thread
    // while `receiver` exists (0 when the mouse could not be asked).
    virtual void readValue(QObject* receiver, std::function<void(int value)> show) = 0;
};

class CSensorDlg : public controls::CVexImageDialog, public SensorPage {
    Q_OBJECT
public:
    static constexpr controls::ControlId kTemplateId = 130;
    static constexpr controls::ControlId kLevelSliderId = 1022;
    static constexpr std::array<controls::ControlId, kLevelIndicators> kEditIds{1107, 1108, 1109, 1110, 1094};
    static constexpr std::array<controls::ControlId, kLevelIndicators> kIndicatorIds{1025, 1028, 1029, 1030,
                                                                                     1031};
    static constexpr controls::ControlId kStepsId = 1101;
    static constexpr controls::ControlId kPointSpeedId = 1024;
    static constexpr controls::ControlId kLiftOffId = 1099;
    static constexpr controls::ControlId kAngleSnapId = 1095;
    static constexpr controls::ControlId kRippleId = 1100;
    static constexpr controls::ControlId kAnalyzeId = 1021;
    static constexpr controls::ControlId kQualityBarId = 1026;
    static constexpr controls::ControlId kSurfaceId = 1027;
    static constexpr int kEditTrackingTimer = 2;
    static constexpr std::chrono::milliseconds kEditTrackingInterval{50};

    // The skins and the analysis must outlive the page.
    CSensorDlg(QWidget* parent, skins::SkinStore& skins, SurfaceAnalysis& analysis);
    ~CSensorDlg() override;

    QWidget& window() override { return *this; }
    // Also corrects an active level above the level count in `profile` itself.
    void loadFromProfile(ProfileData& profile) override;
    void saveToProfile(ProfileData& profile) override;
    void setActiveLevelIndicator(int level) override;
    bool levelIndicatorSet(int level) const override;

    // Shows n levels (1 to 5); any other n changes nothing.
    void setLevelCount(int count);
    // The click on "Analyze Surface".
    void analyzeSurface();
    // One tick of the edit tracking: carries the focused level edit to its thumb.
    void trackFocusedEdit();
    // The tracking runs only while a focused level edit has something to carry.
    bool editTrackingActive() const { return timers_.isActive(kEditTrackingTimer); }
    // Typing into a level edit is over: the text takes its thumb's value.
    void finishLevelEntry(int index);

    void onCommand(controls::ControlId first, controls::CommandValue second) override;
    // A page is never modal: Escape must not hide it.
    void reject() override {}

    controls::CVexSliderCtrl3D& levelSlider() const { return *levels_; }
    controls::CKYTEdit& levelEdit(int index) const { return *edits_.at(index); }
    controls::CVexButton& indicator(int index) const { return *indicators_.at(index); }
    controls::CVexComboButton& stepsButton() const { return *steps_; }
    controls::CVexSliderCtrl3D& pointSpeedSlider() const { return *pointSpeed_; }
    controls::CVexCheckBox& liftOffSwitch() const { return *liftOff_; }
    controls::CVexCheckBox& angleSnapSwitch() const { return *angleSnap_; }
    controls::CVexCheckBox& rippleSwitch() const { return *ripple_; }
    controls::CVexButton& analyzeButton() const { return *analyze_; }
    controls::CVexStatic& surfacePicture() const { return *surface_; }
    int qualityBarValue() const { return quality_; }
    int16_t surfaceQuality() const { return surfaceQuality_; }

protected:
    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int kNoLevel = -1;

    void buildLevelControls();
    // Starts a tracking tick when level edit `index` has the focus.
    void trackWhileFocused(int index);
    // Carries the text of level edit `index` to its thumb, leaving the text as typed.
    void carryEditToThumb(int index);
    void setQuality(int16_t value);

    skins::SkinStore& skins_;
    SurfaceAnalysis& analysis_;
    controls::NumberedTimers timers_{this};
    controls::CVexSliderCtrl3D* levels_ = nullptr;
    std::array<controls::CKYTEdit*, kLevelIndicators> edits_{};
    std::array<controls::CVexButton*, kLevelIndicators> indicators_{};
    controls::CVexComboButton* steps_ = nullptr;
    controls::CVexSliderCtrl3D* pointSpeed_ = nullptr;
    controls::CVexCheckBox* liftOff_ = nullptr;
    controls::CVexCheckBox* angleSnap_ = nullptr;
    controls::CVexCheckBox* ripple_ = nullptr;
    controls::CVexButton* analyze_ = nullptr;
    controls::CVexProgressCtrl* bar_ = nullptr;
    controls::CVexStatic* surface_ = nullptr;
    int quality_ = 0;            // what the bar shows, 0 to 10
    int16_t surfaceQuality_ = 0; // the profile's value, kept as it came
    int typedLevel_ = kNoLevel;  // the level edit whose text is being carried to its thumb
};

} // namespace talwyn::pages
