#include "pages/sensor_dlg.h"

#include "controls/first_show.h"
#include "pages/skinning.h"
#include "ui_layout/control_table.h"

#include <QTimerEvent>

#include <algorithm>
#include <span>

namespace talwyn::pages {

using controls::CommandValue;
using controls::ControlId;

namespace {

constexpr int kStepsMenuWidth = 30;
constexpr int kMinPointSpeed = 1;
constexpr int kMaxPointSpeed = 11;
constexpr int kDefaultPointSpeed = 6;
constexpr int kNoIndicatorLevel = 2; // stored when no indicator is selected
constexpr std::array<int32_t, SensorPage::kLevelIndicators> kInitialLevels{400, 800, 1600, 3200, 19000};

// Encodings of the switches.
constexpr int32_t kLiftOffHigh = 2;
constexpr int32_t kLiftOffLow = 1;

constexpr auto kWindow = ui_layout::WindowId::SensorPerformance;

} // namespace

int32_t roundResolution(int32_t value) {
    int32_t quotient = value / kResolutionStep;
    if (value % kResolutionStep >= kResolutionStep / 2) {
        ++quotient;
    }
    return std::clamp(quotient * kResolutionStep, kMinResolution, kMaxResolution);
}

int surfaceQualityIndex(int value) {
    struct Band {
        int upTo;
        int index;
    };
    // Upper bounds of the analysis values of each index; 71 to 90 share index 8.
    constexpr Band kBands[] = {{1, 0},  {10, 1}, {20, 2}, {30, 3}, {40, 4},  {50, 5},
                               {60, 6}, {70, 7}, {90, 8}, {95, 9}, {100, 10}};
    if (value < 0) {
        return 0;
    }
    for (const Band& band : kBands) {
        if (value <= band.upTo) {
            return band.index;
        }
    }
    return 0;
}

CSensorDlg::CSensorDlg(QWidget* parent, skins::SkinStore& skins, SurfaceAnalysis& analysis)
    : CVexImageDialog(parent), skins_(skins), analysis_(analysis) {
    setWindowFlags(Qt::Widget); // a page inside the main window, not a window of its own
    setControlId(kTemplateId);
    skinPageBackground(*this, skins, kWindow);
    // The looks of a page built hidden are cut when it is first shown.
    const auto cut = [&skins](SkinState state, ControlId id) {
        return skins.controlLook(kWindow, id, state);
    };

    buildLevelControls();

    steps_ = placeControl<controls::CVexComboButton>(this, kWindow, kStepsId);
    steps_->SetMenuWidth(kStepsMenuWidth);
    for (int n = 1; n <= kLevelIndicators; ++n) {
        steps_->AddItem(n, QString::number(n));
    }
    // Five levels are shown at creation; the count starts in step with them.
    steps_->SetCaption(QString::number(kLevelIndicators), kLevelIndicators, 0);

    pointSpeed_ = placeControl<controls::CVexSliderCtrl3D>(this, kWindow, kPointSpeedId);
    pointSpeed_->setRange(kMinPointSpeed, kMaxPointSpeed);
    pointSpeed_->SetValue(1, kDefaultPointSpeed);

    for (auto [control, id] : {std::pair{&liftOff_, kLiftOffId}, std::pair{&angleSnap_, kAngleSnapId},
                               std::pair{&ripple_, kRippleId}}) {
        *control = placeControl<controls::CVexCheckBox>(this, kWindow, id);
    }

    analyze_ = placeControl<controls::CVexButton>(this, kWindow, kAnalyzeId);
    connect(analyze_, &controls::CVexButton::clicked, this, &CSensorDlg::analyzeSurface);

    bar_ = placeControl<controls::CVexProgressCtrl>(this, kWindow, kQualityBarId);
    bar_->setVertical(true);
    bar_->setRange(0, kMaxQualityIndex);

    surface_ = placeControl<controls::CVexStatic>(this, kWindow, kSurfaceId);
    controls::whenFirstShown(*this, [this, cut] {
        steps_->SetImages(cut(SkinState::Normal, kStepsId), cut(SkinState::Over, kStepsId),
                          cut(SkinState::Down, kStepsId));
        pointSpeed_->SetImages(cut(SkinState::Normal, kPointSpeedId),
                               {skins_.picture(kWindow, ui_layout::SkinRole::SliderThumb)});
        for (auto [control, id] : {std::pair{liftOff_, kLiftOffId}, std::pair{angleSnap_, kAngleSnapId},
                                   std::pair{ripple_, kRippleId}}) {
            // Off is the Disable look, on the Down look.
            control->SetImages(cut(SkinState::Disable, id), {}, cut(SkinState::Down, id));
        }
        analyze_->SetImages(cut(SkinState::Normal, kAnalyzeId), cut(SkinState::Over, kAnalyzeId),
                            cut(SkinState::Down, kAnalyzeId), cut(SkinState::Disable, kAnalyzeId));
        bar_->setImages(cut(SkinState::Normal, kQualityBarId), cut(SkinState::Down, kQualityBarId));
        const std::filesystem::path folder = skins_.folder();
        const QImage first =
            skins::loadImageFile(folder / std::string(ui_layout::kSurfacePictures.front().name));
        surface_->AddImage(first);
        for (const ui_layout::SkinFile& picture : std::span(ui_layout::kSurfacePictures).subspan(1)) {
            surface_->AddImage(skins::loadImageFile(folder / std::string(picture.name)));
        }
        // The first picture also lies under every other one, and alone when the index is out of range.
        surface_->SetBackground(first);
    });
    setQuality(0);
}

// Hiding the dialog on the way out moves the focus away from a level edit,
// and its "entry finished" must not reach a page that is half gone.
CSensorDlg::~CSensorDlg() {
    for (controls::CKYTEdit* edit : edits_) {
        if (edit != nullptr) {
            edit->disconnect(this);
        }
    }
}

void CSensorDlg::buildLevelControls() {
    levels_ = placeControl<controls::CVexSliderCtrl3D>(this, kWindow, kLevelSliderId);
    controls::whenFirstShown(*levels_, [this] {
        const std::vector<QImage> levelThumbs =
            skins_.pictures(kWindow, ui_layout::SkinRole::SliderThumbOver);
        std::array<QImage, controls::CVexSliderCtrl3D::kMaxThumbs> thumbs;
        std::copy_n(levelThumbs.begin(), std::min(levelThumbs.size(), thumbs.size()), thumbs.begin());
        levels_->SetImages(skins_.controlLook(kWindow, kLevelSliderId, SkinState::Normal), thumbs);
    });
    levels_->setRange(kMinResolution, kMaxResolution);
    levels_->setStep(kResolutionStep);

    for (int i = 0; i < kLevelIndicators; ++i) {
        edits_[i] = placeControl<controls::CKYTEdit>(this, kWindow, kEditIds[i]);
        edits_[i]->setWheelStepping(kResolutionStep, kMinResolution, kMaxResolution, true);
        indicators_[i] = placeControl<controls::CVexButton>(this, kWindow, kIndicatorIds[i]);
        indicators_[i]->setEnabled(false); // the user never picks a level here; the mouse does
        connect(edits_[i], &controls::CKYTEdit::entryFinished, this, [this, i] { finishLevelEntry(i); });
        connect(edits_[i], &QLineEdit::textChanged, this, [this, i] { trackWhileFocused(i); });
        edits_[i]->installEventFilter(this);
    }
    levels_->setThumbCount(kLevelIndicators);
    for (int i = 0; i < kLevelIndicators; ++i) {
        levels_->SetValue(i + 1, kInitialLevels[i]); // the slider's notice writes the edit
    }
    setLevelCount(kLevelIndicators);
}

void CSensorDlg::setLevelCount(int count) {
    if (count < 1 || count > kLevelIndicators) {
        return;
    }
    levels_->setThumbCount(count);
    for (int i = 0; i < kLevelIndicators; ++i) {
        const bool inUse = i < count;
        const auto cut = [&](SkinState state) {
            return skins_.controlLook(kWindow, kIndicatorIds[i], state);
        };
        if (inUse) {
            indicators_[i]->SetImages(cut(SkinState::Normal), cut(SkinState::Over), cut(SkinState::Down));
        } else {
            indicators_[i]->SetImages({}, {}, {}, cut(SkinState::Disable));
        }
        const bool editInUse = inUse || i == 0;
        edits_[i]->setEnabled(editInUse);
        edits_[i]->SetBackground(
            skins_.controlLook(kWindow, kEditIds[i], editInUse ? SkinState::Normal : SkinState::Disable));
    }
    if (count == 1) {
        indicators_[0]->SetSelected(true);
    }
}

void CSensorDlg::setActiveLevelIndicator(int level) {
    if (level < 0 || level >= kLevelIndicators) {
        return;
    }
    for (int i = 0; i < kLevelIndicators; ++i) {
        indicators_[i]->SetSelected(i == level);
    }
}

bool CSensorDlg::levelIndicatorSet(int level) const {
    return level >= 0 && level < kLevelIndicators && indicators_[level]->selected();
}

void CSensorDlg::onCommand(ControlId first, CommandValue second) {
    if (first == controls::command::kMenuClosing) {
        controls::sendCommand(parentWidget(), first, second); // the main window keeps menus on top
    } else if (first == kLevelSliderId) {
        const int thumb = static_cast<int>((second >> 16) & 0xFF);
        // The edit the user is typing into keeps the text being typed.
        if (thumb >= 1 && thumb <= kLevelIndicators && thumb - 1 != typedLevel_) {
            edits_[thumb - 1]->setText(QString::number(second & 0xFFFF));
        }
    } else if (first == kStepsId) {
        setLevelCount(static_cast<int>(second));
    }
}

void CSensorDlg::timerEvent(QTimerEvent* event) {
    if (timers_.numberOf(event->timerId()) == kEditTrackingTimer) {
        // One tick carries everything typed since the last one; the next
        // change of a focused edit starts the tracking again.
        timers_.stop(kEditTrackingTimer);
        trackFocusedEdit();
        return;
    }
    CVexImageDialog::timerEvent(event);
}

bool CSensorDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        const auto edit = std::find(edits_.begin(), edits_.end(), watched);
        if (edit != edits_.end()) {
            trackWhileFocused(static_cast<int>(edit - edits_.begin()));
        }
    }
    return CVexImageDialog::eventFilter(watched, event);
}

void CSensorDlg::trackWhileFocused(int index) {
    if (edits_[static_cast<size_t>(index)]->hasFocus() && !timers_.isActive(kEditTrackingTimer)) {
        timers_.start(kEditTrackingTimer, kEditTrackingInterval);
    }
}

void CSensorDlg::trackFocusedEdit() {
    const auto focused =
        std::find_if(edits_.begin(), edits_.end(), [](const auto* edit) { return edit->hasFocus(); });
    if (focused != edits_.end()) {
        carryEditToThumb(static_cast<int>(focused - edits_.begin()));
    }
}

void CSensorDlg::carryEditToThumb(int index) {
    controls::CKYTEdit& edit = *edits_[static_cast<size_t>(index)];
    int32_t value = controls::leadingInteger(edit.text());
    if (value > kMaxResolution) {
        edit.setText(QString::number(kMaxResolution));
        edit.setCursorPosition(static_cast<int>(edit.text().size()));
        value = kMaxResolution;
    }
    typedLevel_ = index;
    levels_->SetValue(index + 1, value);
    typedLevel_ = kNoLevel;
}

void CSensorDlg::finishLevelEntry(int index) {
    carryEditToThumb(index);
    edits_[static_cast<size_t>(index)]->setText(QString::number(levels_->value(index + 1)));
}

void CSensorDlg::setQuality(int16_t value) {
    surfaceQuality_ = value;
    quality_ = std::clamp<int>(value, 0, kMaxQualityIndex);
    bar_->setPosition(quality_);
    surface_->setCurrentImage(value);
}

void CSensorDlg::analyzeSurface() {
    surfaceQuality_ = 0;
    quality_ = 0;
    bar_->setPosition(0); // the picture keeps showing the last result until a new one arrives
    if (analysis_.runSteps(this) != controls::ModalResult::Ok) {
        return;
    }
    analysis_.readValue(this,
                        [this](int value) { setQuality(static_cast<int16_t>(surfaceQualityIndex(value))); });
}

void CSensorDlg::saveToProfile(ProfileData& profile) {
    profile.pointerSpeed = static_cast<uint8_t>(pointSpeed_->value(1));
    profile.surfaceQuality = surfaceQuality_;
    profile.rippleOff = ripple_->checkedFlag() ? 0 : 1;
    profile.angleSnapOff = angleSnap_->checkedFlag() ? 0 : 1;
    profile.liftOff = liftOff_->checkedFlag() ? kLiftOffHigh : kLiftOffLow;

    const auto selected = std::find_if(indicators_.begin(), indicators_.end(),
                                       [](const auto* mark) { return mark->selected(); });
    int active = selected != indicators_.end() ? static_cast<int>(selected - indicators_.begin()) + 1
                                               : kNoIndicatorLevel;
    const int count = steps_->selectedCode();
    if (active > count) {
        active = count;
    }
    profile.dpiLevelCount = static_cast<uint8_t>(count);
    profile.activeDpiLevel = static_cast<uint8_t>(active);
    if (count < 1 || count > kLevelIndicators) {
        return;
    }
    for (int i = 0; i < kLevelIndicators; ++i) {
        DpiLevel& level = profile.dpi[static_cast<size_t>(i)];
        if (i >= count) {
            level.x = 0;
            continue;
        }
        const int32_t rounded = roundResolution(levels_->value(i + 1));
        level.x = static_cast<int16_t>(rounded);
        edits_[i]->setText(QString::number(rounded));
    }
}

void CSensorDlg::loadFromProfile(ProfileData& profile) {
    pointSpeed_->SetValue(1, std::clamp<int>(profile.pointerSpeed, kMinPointSpeed, kMaxPointSpeed));
    setQuality(profile.surfaceQuality);
    liftOff_->setCheckedFlag(profile.liftOff == kLiftOffHigh);
    angleSnap_->setCheckedFlag(profile.angleSnapOff == 0);
    ripple_->setCheckedFlag(profile.rippleOff == 0);

    const int count = profile.dpiLevelCount;
    if (const controls::MenuEntry* item = steps_->menu()->FindItem(count)) {
        steps_->SetCaption(item->text, count, 0);
    }
    setLevelCount(count);
    if (count >= 1 && count <= kLevelIndicators) {
        for (int i = 0; i < count; ++i) {
            const int16_t x = profile.dpi[static_cast<size_t>(i)].x;
            levels_->SetValue(i + 1, x);
            edits_[i]->setText(QString::number(x)); // the typed-in value, even where the thumb clamps it
        }
    }
    // Corrected in the profile itself, so a save or export right after showing it is consistent.
    if (profile.activeDpiLevel > profile.dpiLevelCount) {
        profile.activeDpiLevel = profile.dpiLevelCount;
    }
    if (profile.activeDpiLevel >= 1 && profile.activeDpiLevel <= kLevelIndicators) {
        setActiveLevelIndicator(profile.activeDpiLevel - 1);
    }
}

} // namespace talwyn::pages
