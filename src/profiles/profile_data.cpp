#include "profiles/profile_data.h"

namespace talwyn {

namespace {

constexpr std::array<ButtonAssignment, kButtonCount> kDefaultButtons{{
    {0, 0, 0, 0, 0},
    {1, 1, 0, 1, 0},
    {2, 2, 0, 2, 0},
    {3, 3, 0, 3, 0},
    {4, 4, 0, 4, 0},
    {5, 7, 0, 7, 0},
    {6, function_code::kDisabled, 0, 0, 0},
    {7, function_code::kDisabled, 0, 0, 0},
    {8, function_code::kDisabled, 0, 0, 0},
}};

constexpr std::array<DpiLevel, kDpiLevels> kDefaultDpi{
    {{400, 400}, {800, 800}, {1600, 1600}, {3200, 3200}, {19000, 19000}}};

} // namespace

ProfileData::ProfileData() {
    assignDefaults();
}

void ProfileData::resetToDefaults() {
    assignDefaults();
}

void ProfileData::assignDefaults() {
    enabled = 1;
    name = u"profile";
    slotIndex = 0;
    reservedA = 179;
    reportInterval = 1;
    doubleClickSpeed = 800;
    scrollLines = 2;
    scrollByLine = 1;
    scrollByPage = 0;
    accelEnabled = 0;
    accelLevel = 1;
    dpiLevelCount = 5;
    activeDpiLevel = 2;
    dpiEntryFlag = 0;
    reservedB = 0;
    dpi = kDefaultDpi;
    pointerSpeed = 6;
    liftOff = 1;
    surfaceQuality = 0;
    reservedC = 0;
    reservedD = 0;
    reservedE = 0;
    angleSnapOff = 0;
    rippleOff = 0;
    lightBrightness = 5;
    lightZones = 16;
    lightEffect = 1;
    lightColors.fill(0xFFFF00);
    pickerColor = 255;
    buttons = kDefaultButtons;
}

std::u16string ProfileData::macroNameFor(const ButtonAssignment& entry) const {
    if (entry.buttonIndex >= kButtonCount)
        return {};
    return macros[entry.buttonIndex].name;
}

void ProfileData::attachMacro(const MacroData* macro, ButtonAssignment& entry) {
    if (macro == nullptr) {
        entry.function = entry.defaultFunction;
        entry.param = 0;
        return;
    }
    if (entry.function != function_code::kMacro || entry.buttonIndex >= kButtonCount)
        return;
    macros[entry.buttonIndex] = *macro; // value copy: a new record with new events
}

} // namespace talwyn
