#include "pages/color_settings_dlg.h"

#include "controls/color_selector_wnd.h"
#include "controls/color_slider_wnd.h"
#include "controls/first_show.h"
#include "pages/skinning.h"
#include "ui_layout/control_table.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QRegularExpressionValidator>
#include <QTimerEvent>

#include <algorithm>

namespace talwyn::pages {

using controls::CommandValue;
using controls::ControlId;
using controls::LightEffect;

namespace {

constexpr auto kWindow = ui_layout::WindowId::ColorSettings;

// `lightZones` bits.
constexpr int32_t kZonesAll = 0x0F;
constexpr int32_t kZonesShift = 0x19;
constexpr int32_t kZonesShiftBit = 0x10;
constexpr int32_t kZonesPerZone = 0x20;
constexpr int32_t kZoneWheelBit = 0x01;
constexpr int32_t kZoneLogoBit = 0x08;
// `lightEffect` bit of the colour cycle; the effect code sits in bits 0-3.
constexpr int32_t kEffectShiftBit = 0x10;

constexpr int kMinBrightness = 1;
constexpr int kMaxBrightness = 5;
constexpr int kDecimalDigits = 3;
constexpr int kHexDigits = 6;
constexpr int kMaxComponent = 255;
constexpr int kEditFontHeight = 14;

constexpr std::array<LightingMode, 3> kModeOrder{LightingMode::PerZone, LightingMode::ColorShift,
                                                 LightingMode::SolidColor};
constexpr std::array<LightEffect, 4> kEffectOrder{LightEffect::Solid, LightEffect::Blinking,
                                                  LightEffect::Pulsating, LightEffect::Breathing};

size_t modeIndex(LightingMode mode) {
    return static_cast<size_t>(std::find(kModeOrder.begin(), kModeOrder.end(), mode) - kModeOrder.begin());
}

int32_t effectCode(LightEffect effect) {
    return static_cast<int32_t>(effect) + 1; // 1 "Solid" ... 4 "Breathing"
}

controls::Argb toArgb(int alpha, color::Rgb8 rgb) {
    return static_cast<controls::Argb>(alpha) << 24 | static_cast<controls::Argb>(rgb.red) << 16 |
           static_cast<controls::Argb>(rgb.green) << 8 | static_cast<controls::Argb>(rgb.blue);
}

color::ColorValue argbToColorValue(controls::Argb argb) {
    return (argb >> 16 & 0xFF) | (argb & 0xFF00) | (argb & 0xFF) << 16;
}

controls::Argb colorValueToArgb(uint32_t value) {
    return toArgb(0xFF, {static_cast<int>(value & 0xFF), static_cast<int>(value >> 8 & 0xFF),
                         static_cast<int>(value >> 16 & 0xFF)});
}

color::Rgb8 components(color::ColorValue value) {
    return {static_cast<int>(value & 0xFF), static_cast<int>(value >> 8 & 0xFF),
            static_cast<int>(value >> 16 & 0xFF)};
}

color::ColorValue packColor(color::Rgb8 rgb) {
    return static_cast<color::ColorValue>(rgb.red) | static_cast<color::ColorValue>(rgb.green) << 8 |
           static_cast<color::ColorValue>(rgb.blue) << 16;
}

QString hexText(color::Rgb8 rgb) {
    return QString::fromStdU16String(color::ColorToHexText(packColor(rgb)));
}

// Replaces the text only when it differs, so an edit that already shows it
// keeps its caret and raises no change notice.
void showText(QLineEdit& edit, const QString& text) {
    if (edit.text() != text) {
        edit.setText(text);
    }
}

} // namespace

LightingCodes encodeLighting(LightingMode mode, bool wheelLit, bool logoLit,
                             std::optional<LightEffect> effect) {
    LightingCodes codes;
    switch (mode) {
    case LightingMode::PerZone:
        codes.zones = kZonesPerZone | (wheelLit ? kZoneWheelBit : 0) | (logoLit ? kZoneLogoBit : 0);
        break;
    case LightingMode::SolidColor:
        codes.zones = kZonesAll;
        break;
    case LightingMode::ColorShift:
        codes.zones = kZonesShift;
        codes.effect = kEffectShiftBit;
        break;
    case LightingMode::None:
        break;
    }
    if (effect) {
        codes.effect |= effectCode(*effect);
    }
    return codes;
}

LightingMode decodeLightingMode(int32_t zones) {
    if ((zones & kZonesAll) == kZonesAll) {
        return LightingMode::SolidColor;
    }
    if ((zones & kZonesShiftBit) != 0) {
        return LightingMode::ColorShift;
    }
    if ((zones & kZonesPerZone) != 0 && (zones & (kZoneWheelBit | kZoneLogoBit)) != 0) {
        return LightingMode::PerZone;
    }
    return LightingMode::None;
}

std::optional<LightEffect> decodeLightEffect(int32_t effect) {
    if ((effect & 3) == 3) {
        return LightEffect::Pulsating;
    }
    if ((effect & 1) != 0) {
        return LightEffect::Solid;
    }
    if ((effect & 2) != 0) {
        return LightEffect::Blinking;
    }
    if ((effect & 4) != 0) {
        return LightEffect::Breathing;
    }
    return std::nullopt;
}

DecimalEntry correctDecimalEntry(const QString& typed) {
    DecimalEntry entry{typed, 0, false};
    if (entry.text.size() > kDecimalDigits) {
        entry.text = entry.text.right(kDecimalDigits);
        entry.corrected = true;
    }
    entry.value = controls::leadingInteger(entry.text);
    if (entry.value > kMaxComponent) {
        entry.text = QString::number(kMaxComponent);
        entry.value = kMaxComponent;
        entry.corrected = true;
    }
    entry.value = std::max(entry.value, 0);
    return entry;
}

CColorSettingsDlg::CColorSettingsDlg(QWidget* parent, skins::SkinStore& skins)
    : CVexImageDialog(parent), skins_(skins) {
    setWindowFlags(Qt::Widget); // a page inside the main window, not a window of its own
    setControlId(kTemplateId);
    setCursor(Qt::ArrowCursor);
    skinPageBackground(*this, skins, kWindow);

    preview_ = placeControl<controls::CVexMouseStatic>(this, kWindow, kPreviewId);
    std::vector<controls::CVexStatic*> decor;
    for (ControlId id : kDecorIds) {
        decor.push_back(placeControl<controls::CVexStatic>(this, kWindow, id));
    }
    // The pictures of a page built hidden are read when it is first shown.
    controls::whenFirstShown(*this, [this, decor] {
        preview_->setMouseImage(skins_.picture(kWindow, ui_layout::SkinRole::MousePicture),
                                skins::toQRect(ui_layout::kMouseZone1),
                                skins::toQRect(ui_layout::kMouseZone2));
        for (controls::CVexStatic* label : decor) {
            label->SetBackground(skins_.controlLook(kWindow, label->controlId(), SkinState::Normal));
        }
    });

    buildModeControls();
    buildEffectControls();
    buildColorEntry();
    buildPickers();
    showZoneControls(false);

    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (isColorEdit(now)) {
            requestEditSync();
        }
    });
}

// The edits lose the focus while the page's children go; the focus notice must not reach a
// half-gone page.
CColorSettingsDlg::~CColorSettingsDlg() {
    disconnect(qApp, nullptr, this, nullptr);
}

void CColorSettingsDlg::buildModeControls() {
    const auto cut = [this](ControlId id, SkinState state) { return skins_.controlLook(kWindow, id, state); };
    constexpr std::array<ControlId, 3> kModeIds{kPerZoneId, kColorShiftId, kSolidColorId};
    for (size_t i = 0; i < kModeIds.size(); ++i) {
        modes_[i] = placeControl<controls::CVexButton>(this, kWindow, kModeIds[i]);
        skinButtonWhenShown(*modes_[i], skins_, kWindow, kModeIds[i]);
        connect(modes_[i], &controls::CVexButton::clicked, this, [this, i] { chooseMode(kModeOrder[i]); });
    }
    for (auto [box, id] : {std::pair{&wheel_, kWheelBoxId}, std::pair{&logo_, kLogoBoxId}}) {
        *box = placeControl<controls::CVexCheckBox>(this, kWindow, id);
        controls::whenFirstShown(**box, [box = *box, cut, boxId = id] {
            box->SetImages(cut(boxId, SkinState::Normal), cut(boxId, SkinState::Over),
                           cut(boxId, SkinState::Down));
        });
        connect(*box, &controls::CVexCheckBox::clicked, this, &CColorSettingsDlg::zoneBoxToggled);
    }
    for (auto [button, id, zone] :
         {std::tuple{&zone1Edit_, kZone1EditId, 1}, std::tuple{&zone2Edit_, kZone2EditId, 2}}) {
        *button = placeControl<controls::CVexButton>(this, kWindow, id);
        skinButtonWhenShown(**button, skins_, kWindow, id);
        connect(*button, &controls::CVexButton::clicked, this,
                [this, editZone = zone] { chooseEditZone(editZone); });
    }
}

void CColorSettingsDlg::buildEffectControls() {
    for (size_t i = 0; i < kEffectIds.size(); ++i) {
        effects_[i] = placeControl<controls::CVexButton>(this, kWindow, kEffectIds[i]);
        skinButtonWhenShown(*effects_[i], skins_, kWindow, kEffectIds[i]);
        connect(effects_[i], &controls::CVexButton::clicked, this,
                [this, i] { chooseEffect(kEffectOrder[i]); });
    }
    brightness_ = placeControl<controls::CVexSliderCtrl3D>(this, kWindow, kBrightnessId);
    controls::whenFirstShown(*brightness_, [this] {
        brightness_->SetImages(skins_.controlLook(kWindow, kBrightnessId, SkinState::Normal),
                               {skins_.picture(kWindow, ui_layout::SkinRole::SliderThumb)});
    });
    brightness_->setThumbCount(1);
    brightness_->setRange(kMinBrightness, kMaxBrightness);
    brightness_->SetValue(1, kMaxBrightness);
}

void CColorSettingsDlg::buildColorEntry() {
    auto* digitsOnly = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    for (size_t i = 0; i < decimal_.size(); ++i) {
        decimal_[i] = placeControl<controls::CVexEdit>(this, kWindow, kDecimalIds[i]);
        decimal_[i]->SetFontHeight(kEditFontHeight);
        decimal_[i]->setValidator(digitsOnly);
    }
    auto* hash = placeControl<controls::CVexStatic>(this, kWindow, kHashId);
    skinStaticWhenShown(*hash, skins_, kWindow, hash->geometry());
    hash->SetFontHeight(kEditFontHeight);
    hash->setTextColor(controls::CVexButton::kDefaultTextColor);
    hash->SetText(QStringLiteral("#"));
    hex_ = placeControl<controls::CVexEdit>(this, kWindow, kHexId);
    hex_->SetFontHeight(kEditFontHeight);
    hex_->setHexOnly(true);
}

void CColorSettingsDlg::buildPickers() {
    namespace picker = controls::picker;
    selector_ = new controls::HxColorSelectorWnd(this, tableRect(kWindow, picker::kSelectorId));
    slider_ = new controls::HxColorSliderWnd(this, tableRect(kWindow, picker::kSliderId));
    well_ = new controls::HxColorWellWnd(this, tableRect(kWindow, picker::kWellId), this);
    selector_->setSlider(slider_);
    selector_->setWell(well_);
    slider_->setBuddy(selector_);
    well_->setSource(selector_);
    // Hue on the strip, rising toward the top; saturation across the field, value up it.
    selector_->SetMode(picker::kModeHue);
    slider_->SetMode(picker::kModeHue | picker::kReversed);
    selector_->SetColor(currentColor_);
}

controls::CVexButton& CColorSettingsDlg::modeButton(LightingMode mode) const {
    return *modes_.at(modeIndex(mode));
}

controls::CVexButton& CColorSettingsDlg::effectButton(LightEffect effect) const {
    return *effects_.at(static_cast<size_t>(effect));
}

bool CColorSettingsDlg::zoneControlsShown() const {
    return !wheel_->isHidden();
}

void CColorSettingsDlg::showZoneControls(bool shown) {
    for (QWidget* control : std::initializer_list<QWidget*>{wheel_, logo_, zone1Edit_, zone2Edit_}) {
        control->setVisible(shown);
    }
}

void CColorSettingsDlg::stopColorCycle() {
    preview_->setShiftActive(false);
    preview_->stopColorCycle();
}

void CColorSettingsDlg::startColorCycle() {
    preview_->setShiftActive(true);
    preview_->startColorCycle();
}

void CColorSettingsDlg::chooseMode(LightingMode mode) {
    mode_ = mode;
    for (LightingMode each : kModeOrder) {
        modeButton(each).SetSelected(each == mode);
    }
    switch (mode) {
    case LightingMode::PerZone:
        showZoneControls(true);
        wheel_->setCheckedFlag(false);
        logo_->setCheckedFlag(false);
        preview_->setZoneLit(false, false);
        break;
    case LightingMode::SolidColor:
        preview_->setZoneLit(true, true);
        showZoneControls(false);
        stopColorCycle();
        preview_->SetZone1Color(preview_->zone1Saved());
        preview_->SetZone2Color(preview_->zone2Saved());
        break;
    case LightingMode::ColorShift:
        preview_->setZoneLit(true, true);
        showZoneControls(false);
        // A second press keeps the colours from before the cycle, not one it is showing.
        if (!preview_->shiftActive()) {
            preview_->SetZone1Color(preview_->zone1Color());
            preview_->SetZone2Color(preview_->zone2Color());
        }
        startColorCycle();
        break;
    case LightingMode::None:
        break;
    }
}

void CColorSettingsDlg::zoneBoxToggled() {
    stopColorCycle();
    preview_->SetZone1Color(preview_->zone1Saved());
    preview_->SetZone2Color(preview_->zone2Saved());
    preview_->setZoneLit(wheel_->checkedFlag(), logo_->checkedFlag());
}

void CColorSettingsDlg::chooseEditZone(int zone) {
    editZone1_ = zone == 1;
    editZone2_ = zone == 2;
    const QWidget& green = *decimal_[1];
    QCursor::setPos(green.mapToGlobal(QPoint(0, -kZoneEditPointerLift)));
}

void CColorSettingsDlg::chooseEffect(LightEffect effect) {
    effect_ = effect;
    for (LightEffect each : kEffectOrder) {
        effectButton(each).SetSelected(each == effect);
    }
    preview_->SetEffect(static_cast<int>(effect));
}

void CColorSettingsDlg::setBrightness(int level) {
    preview_->SetLevel(level);
}

void CColorSettingsDlg::onCommand(ControlId first, CommandValue second) {
    if (first == kBrightnessId) {
        setBrightness(static_cast<int>(second & 0xFFFF));
    } else if (first == controls::picker::kSelectorId) {
        colorPicked();
    } else if (std::find(kDecimalIds.begin(), kDecimalIds.end(), first) != kDecimalIds.end() ||
               first == kHexId) {
        requestEditSync();
    }
}

void CColorSettingsDlg::applyToZones(color::Rgb8 rgb) {
    const controls::Argb argb = toArgb(controls::levelAlpha(preview_->level()), rgb);
    if (mode_ == LightingMode::SolidColor) {
        preview_->SetZoneColors(argb);
    } else if (mode_ == LightingMode::PerZone) {
        if (wheel_->checkedFlag() && editZone1_) {
            preview_->SetZone1Color(argb);
        }
        if (logo_->checkedFlag() && editZone2_) {
            preview_->SetZone2Color(argb);
        }
    }
}

void CColorSettingsDlg::typedColor(color::Rgb8 rgb) {
    const std::array<QString, 3> texts{decimal_[0]->text(), decimal_[1]->text(), decimal_[2]->text()};
    if (texts == lastSeen_) {
        return;
    }
    lastSeen_ = texts;
    applyToZones(rgb);
    selector_->SetColor(packColor(rgb));
}

bool CColorSettingsDlg::isColorEdit(const QWidget* widget) const {
    return widget != nullptr &&
           (widget == hex_ || std::find(decimal_.begin(), decimal_.end(), widget) != decimal_.end());
}

void CColorSettingsDlg::requestEditSync() {
    if (!timers_.isActive(kEditSyncTimer)) {
        timers_.start(kEditSyncTimer, std::chrono::milliseconds(0));
    }
}

void CColorSettingsDlg::syncEdits() {
    timers_.stop(kEditSyncTimer);
    const QWidget* focus = QApplication::focusWidget();
    if (focus == hex_) {
        if (hex_->text().size() > kHexDigits) {
            hex_->setText(hex_->text().left(kHexDigits));
            hex_->setCursorPosition(kHexDigits);
        }
        const color::Rgb8 rgb = color::HexTextToRgb(hex_->text().toStdU16String());
        for (size_t i = 0; i < decimal_.size(); ++i) {
            const int value = i == 0 ? rgb.red : i == 1 ? rgb.green : rgb.blue;
            showText(*decimal_[i], QString::number(value));
        }
        typedColor(rgb);
    } else if (isColorEdit(focus)) {
        std::array<int, 3> values{};
        for (size_t i = 0; i < decimal_.size(); ++i) {
            const DecimalEntry entry = correctDecimalEntry(decimal_[i]->text());
            if (entry.corrected) {
                decimal_[i]->setText(entry.text);
                decimal_[i]->setCursorPosition(kDecimalDigits);
            }
            values[i] = entry.value;
        }
        const color::Rgb8 rgb{values[0], values[1], values[2]};
        showText(*hex_, hexText(rgb));
        typedColor(rgb);
    }
}

void CColorSettingsDlg::colorPicked() {
    pickChanged_ = true;
    if (!timers_.isActive(kPickTimer)) {
        timers_.start(kPickTimer, kPickDelay);
    }
}

void CColorSettingsDlg::takePickedColor() {
    timers_.stop(kPickTimer);
    if (!pickChanged_) {
        return;
    }
    currentColor_ = well_->color();
    const color::Rgb8 rgb = components(currentColor_);
    // The edit being typed into keeps the text while it still means the picked colour: a typed
    // colour comes back from the selector, and rewriting "3" as "030000" would eat the next keys.
    const auto follow = [](controls::CVexEdit& edit, const QString& text, bool typedMeansIt) {
        if (!(edit.hasFocus() && typedMeansIt)) {
            showText(edit, text);
        }
    };
    const std::array<int, 3> values{rgb.red, rgb.green, rgb.blue};
    for (size_t i = 0; i < decimal_.size(); ++i) {
        follow(*decimal_[i], QString::number(values[i]),
               correctDecimalEntry(decimal_[i]->text()).value == values[i]);
    }
    follow(*hex_, hexText(rgb), color::HexTextToRgb(hex_->text().toStdU16String()) == rgb);
    applyToZones(rgb);
    pickChanged_ = false;
}

void CColorSettingsDlg::timerEvent(QTimerEvent* event) {
    switch (timers_.numberOf(event->timerId())) {
    case kEditSyncTimer:
        syncEdits();
        break;
    case kPickTimer:
        takePickedColor();
        break;
    default:
        CVexImageDialog::timerEvent(event);
        break;
    }
}

// A click on the background leaves the focus in the blue edit, so the typed
// values are taken from the decimal edits.
void CColorSettingsDlg::mousePressEvent(QMouseEvent* event) {
    for (controls::CVexEdit* edit : decimal_) {
        edit->setFocus(Qt::MouseFocusReason);
    }
    CVexImageDialog::mousePressEvent(event);
}

void CColorSettingsDlg::showEvent(QShowEvent* event) {
    CVexImageDialog::showEvent(event);
    if (isColorEdit(QApplication::focusWidget())) {
        requestEditSync();
    }
}

void CColorSettingsDlg::saveToProfile(ProfileData& profile) {
    const LightingCodes codes = encodeLighting(mode_, wheel_->checkedFlag(), logo_->checkedFlag(), effect_);
    profile.lightZones = codes.zones;
    profile.lightEffect = codes.effect;
    // The cycle only paints the preview: the profile keeps the colours from before it.
    const bool cycling = preview_->shiftActive();
    profile.lightColors[0] = argbToColorValue(cycling ? preview_->zone1Saved() : preview_->zone1Color());
    profile.lightColors[3] = argbToColorValue(cycling ? preview_->zone2Saved() : preview_->zone2Color());
    profile.lightBrightness = brightness_->value(1);
    currentColor_ = well_->color();
    profile.pickerColor = static_cast<int32_t>(currentColor_);
}

void CColorSettingsDlg::loadFromProfile(ProfileData& profile) {
    mode_ = LightingMode::None;
    effect_.reset();
    for (LightingMode each : kModeOrder) {
        modeButton(each).SetSelected(false);
    }
    for (LightEffect each : kEffectOrder) {
        effectButton(each).SetSelected(false);
    }
    showZoneControls(false);
    wheel_->setCheckedFlag(false);
    logo_->setCheckedFlag(false);

    profile.lightBrightness = std::clamp(profile.lightBrightness, kMinBrightness, kMaxBrightness);
    brightness_->SetValue(1, profile.lightBrightness);

    const LightingMode mode = decodeLightingMode(profile.lightZones);
    if (mode == LightingMode::ColorShift) {
        preview_->setZoneLit(true, true);
        preview_->SetZone1Color(preview_->zone1Color());
        preview_->SetZone2Color(preview_->zone2Color());
        startColorCycle();
    } else {
        stopColorCycle();
        if (mode == LightingMode::SolidColor) {
            preview_->setZoneLit(true, true);
        } else if ((profile.lightZones & kZonesPerZone) != 0) {
            wheel_->setCheckedFlag((profile.lightZones & kZoneWheelBit) != 0);
            logo_->setCheckedFlag((profile.lightZones & kZoneLogoBit) != 0);
            showZoneControls(mode == LightingMode::PerZone);
            preview_->setZoneLit(wheel_->checkedFlag(), logo_->checkedFlag());
        }
    }
    mode_ = mode;
    if (mode != LightingMode::None) {
        modeButton(mode).SetSelected(true);
    }

    if (const auto effect = decodeLightEffect(profile.lightEffect)) {
        chooseEffect(*effect);
    }

    preview_->SetZone2Color(colorValueToArgb(profile.lightColors[3]));
    preview_->SetZone1Color(colorValueToArgb(profile.lightColors[0]));
    // A steady light shows the profile's brightness at once, not full light until the next change.
    if (preview_->effect() == static_cast<int>(LightEffect::Solid)) {
        preview_->SetAlpha(controls::levelAlpha(preview_->level()));
    }
    selector_->SetColor(static_cast<color::ColorValue>(profile.pickerColor));
}

} // namespace talwyn::pages
