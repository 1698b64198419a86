#pragma once
// Every skinned window's controls: control ID, what the user sees, class,
// rectangle and look. The windows place their controls from this table and
// the skin generator draws each control's look at the same rectangle, so
// the pictures and the windows cannot drift apart.

#include "ui_layout/geometry.h"
#include "ui_layout/skin_files.h"

#include <array>
#include <optional>
#include <span>
#include <string_view>

namespace talwyn::ui_layout {

enum class WindowId {
    Main,
    MouseSettings,
    SensorPerformance,
    ColorSettings,
    MacroSettings,
    Support,
    Rename,
    LeftClickWarn,
    DeleteMacro,
    SensorSqat1,
    SensorSqat2,
    SensorSqat3,
    ResetWarn,
    UpdateWarn,
    AssignKey,
};

// The control class that sits at the rectangle.
enum class ControlKind {
    Button,       // CVexButton
    CheckBox,     // CVexCheckBox
    ComboButton,  // CVexComboButton
    Slider,       // CVexSliderCtrl3D (one to five thumbs)
    ProgressBar,  // CVexProgressCtrl
    Static,       // CVexStatic
    Edit,         // CVexEdit
    NumberEdit,   // CKYTEdit
    MousePreview, // CVexMouseStatic
    ListBox,      // CVexListBox
    MacroEditor,  // CVexMacroCtrl
    Placeholder,  // only places another window (colour selector, slider, well)
};

// How the skin draws the control.
enum class ControlLook {
    PushButton,               // command button, its text in the picture
    WideButton,               // large call-to-action button, its text in the picture
    RecordButton,             // button body with a record mark; the text comes from the control
    PageTab,                  // page switch; the text comes from the control
    SlotButton,               // profile slot; the slot name comes from the control
    SlotMenu,                 // small numbered button that opens a slot's menu
    CloseButton,              // window close cross
    CloseButtonHoverInNormal, // close cross whose idle look is in the Over sheet, hover look in Normal
    DropDown,                 // drop-down field with an arrow; the text comes from the control
    MiniDropDown,             // arrow-only drop-down
    CheckBox,                 // square box, checked in the Down sheet
    Switch,                   // on/off switch: off in the Disable sheet, on in the Down sheet
    Radio,                    // round option button, chosen in the Down sheet
    ZoneEdit,                 // small button choosing the zone whose colour is edited
    LevelMark,                // resolution level indicator
    Track,                    // slider track (thumbs are separate files)
    LevelTrack,               // the five-thumb resolution track
    Meter,                    // vertical bar: empty in Normal, full in Down
    PictureFrame,             // frame under a picture sequence
    Field,                    // edit background
    Label,                    // text drawn by the control on a plain background
    DecorLabel,               // text drawn into the picture and cut out by a static
    Panel,                    // list or editor panel
    Preview,                  // area of the lighting preview
    Hidden,                   // nothing is drawn
};

// Where the control's visible text comes from.
enum class CaptionSource {
    None,    // no text
    Picture, // drawn into the skin sheets
    Control, // drawn by the control at run time
};

struct ControlEntry {
    int id = 0;
    std::string_view caption; // the text the user sees (or the template caption when it has none)
    ControlKind kind = ControlKind::Static;
    Rect rect;
    ControlLook look = ControlLook::Hidden;
    CaptionSource captionBy = CaptionSource::None;
};

// Controls whose looks are cut from the state sheets per state.
constexpr bool usesStateImages(ControlKind kind) {
    return kind == ControlKind::Button || kind == ControlKind::CheckBox || kind == ControlKind::ComboButton;
}

namespace detail {
using K = ControlKind;
using L = ControlLook;
using C = CaptionSource;
} // namespace detail

inline constexpr ControlEntry kMainControls[] = {
    {1000, "Mouse Settings", detail::K::Button, {176, 29, 126, 18}, detail::L::PageTab, detail::C::Control},
    {1001,
     "Sensor Performance",
     detail::K::Button,
     {316, 29, 171, 18},
     detail::L::PageTab,
     detail::C::Control},
    {1002, "Color Settings", detail::K::Button, {500, 29, 126, 18}, detail::L::PageTab, detail::C::Control},
    {1003, "Macro Settings", detail::K::Button, {641, 29, 128, 18}, detail::L::PageTab, detail::C::Control},
    {1004, "Support", detail::K::Button, {781, 29, 71, 18}, detail::L::PageTab, detail::C::Control},
    {1007, "Profile 1", detail::K::Button, {310, 65, 56, 16}, detail::L::SlotButton, detail::C::Control},
    {1008, "Profile 2", detail::K::Button, {400, 65, 56, 16}, detail::L::SlotButton, detail::C::Control},
    {1009, "Profile 3", detail::K::Button, {492, 65, 55, 16}, detail::L::SlotButton, detail::C::Control},
    {1010, "Profile 4", detail::K::Button, {583, 65, 55, 16}, detail::L::SlotButton, detail::C::Control},
    {1011, "Profile 5", detail::K::Button, {674, 65, 56, 16}, detail::L::SlotButton, detail::C::Control},
    {1020, "1", detail::K::ComboButton, {293, 65, 12, 16}, detail::L::SlotMenu, detail::C::Picture},
    {1019, "2", detail::K::ComboButton, {383, 65, 12, 16}, detail::L::SlotMenu, detail::C::Picture},
    {1018, "3", detail::K::ComboButton, {475, 65, 6, 16}, detail::L::SlotMenu, detail::C::Picture},
    {1017, "4", detail::K::ComboButton, {566, 65, 12, 16}, detail::L::SlotMenu, detail::C::Picture},
    {1016, "5", detail::K::ComboButton, {657, 65, 12, 16}, detail::L::SlotMenu, detail::C::Picture},
    {1031,
     "Reset to Default",
     detail::K::Button,
     {19, 533, 119, 27},
     detail::L::PushButton,
     detail::C::Picture},
    {1041, "OK", detail::K::Button, {872, 531, 60, 27}, detail::L::PushButton, detail::C::Picture},
    {1042, "Apply", detail::K::Button, {948, 533, 58, 25}, detail::L::PushButton, detail::C::Picture},
    {1044,
     "Cancel",
     detail::K::Button,
     {1003, 5, 17, 17},
     detail::L::CloseButtonHoverInNormal,
     detail::C::None},
    {1080, "FirmwareVer", detail::K::Static, {580, 557, 23, 11}, detail::L::Label, detail::C::Control},
};

inline constexpr ControlEntry kMouseSettingsControls[] = {
    {1012, "Function1", detail::K::ComboButton, {104, 77, 202, 22}, detail::L::DropDown, detail::C::Control},
    {1021, "Function2", detail::K::ComboButton, {104, 107, 202, 22}, detail::L::DropDown, detail::C::Control},
    {1022, "Function3", detail::K::ComboButton, {104, 137, 202, 22}, detail::L::DropDown, detail::C::Control},
    {1023, "Function4", detail::K::ComboButton, {104, 167, 202, 22}, detail::L::DropDown, detail::C::Control},
    {1024, "Function5", detail::K::ComboButton, {104, 197, 202, 22}, detail::L::DropDown, detail::C::Control},
    {1025, "Function6", detail::K::ComboButton, {104, 227, 202, 22}, detail::L::DropDown, detail::C::Control},
    {1028, "125", detail::K::CheckBox, {376, 399, 18, 18}, detail::L::CheckBox, detail::C::Picture},
    {1027, "250", detail::K::CheckBox, {447, 399, 18, 18}, detail::L::CheckBox, detail::C::Picture},
    {1029, "500", detail::K::CheckBox, {518, 399, 18, 18}, detail::L::CheckBox, detail::C::Picture},
    {1030, "1000", detail::K::CheckBox, {589, 399, 18, 18}, detail::L::CheckBox, detail::C::Picture},
    {1014, "Double Click", detail::K::Slider, {708, 78, 202, 21}, detail::L::Track, detail::C::Picture},
    {1015, "Scroll Speed", detail::K::Slider, {708, 168, 202, 21}, detail::L::Track, detail::C::Picture},
    {1016,
     "Point Acceleration",
     detail::K::Slider,
     {801, 261, 136, 21},
     detail::L::Track,
     detail::C::Picture},
    {1040, "Enable", detail::K::CheckBox, {705, 260, 44, 24}, detail::L::Switch, detail::C::None},
};

inline constexpr ControlEntry kSensorControls[] = {
    {1022, "Xaxis", detail::K::Slider, {84, 91, 708, 23}, detail::L::LevelTrack, detail::C::None},
    {1107, "Level 1", detail::K::NumberEdit, {337, 150, 45, 21}, detail::L::Field, detail::C::Control},
    {1108, "Level 2", detail::K::NumberEdit, {427, 149, 46, 22}, detail::L::Field, detail::C::Control},
    {1109, "Level 3", detail::K::NumberEdit, {520, 149, 46, 22}, detail::L::Field, detail::C::Control},
    {1110, "Level 4", detail::K::NumberEdit, {612, 149, 46, 22}, detail::L::Field, detail::C::Control},
    {1094, "Level 5", detail::K::NumberEdit, {704, 149, 46, 22}, detail::L::Field, detail::C::Control},
    {1025, "1", detail::K::Button, {297, 153, 37, 16}, detail::L::LevelMark, detail::C::Picture},
    {1028, "2", detail::K::Button, {389, 153, 36, 16}, detail::L::LevelMark, detail::C::Picture},
    {1029, "3", detail::K::Button, {482, 153, 37, 16}, detail::L::LevelMark, detail::C::Picture},
    {1030, "4", detail::K::Button, {574, 153, 37, 16}, detail::L::LevelMark, detail::C::Picture},
    {1031, "5", detail::K::Button, {666, 153, 36, 16}, detail::L::LevelMark, detail::C::Picture},
    {1101,
     "DPI Steps",
     detail::K::ComboButton,
     {90, 151, 18, 17},
     detail::L::MiniDropDown,
     detail::C::Control},
    {1024, "Point Speed", detail::K::Slider, {104, 254, 501, 21}, detail::L::Track, detail::C::Picture},
    {1099, "LOD", detail::K::CheckBox, {117, 335, 40, 23}, detail::L::Switch, detail::C::None},
    {1095, "AngleSnap", detail::K::CheckBox, {278, 335, 39, 23}, detail::L::Switch, detail::C::None},
    {1100, "Ripple Control", detail::K::CheckBox, {437, 337, 41, 21}, detail::L::Switch, detail::C::None},
    {1021,
     "Analyze Surface",
     detail::K::Button,
     {780, 364, 120, 27},
     detail::L::PushButton,
     detail::C::Picture},
    {1026,
     "Quality Analyzer",
     detail::K::ProgressBar,
     {771, 254, 142, 104},
     detail::L::Meter,
     detail::C::None},
    {1027, "Surface", detail::K::Static, {632, 282, 140, 85}, detail::L::PictureFrame, detail::C::None},
};

// The lighting page's option buttons, zone controls, decorative statics, "#"
// and colour well come with a position only; their sizes are chosen here.
inline constexpr ControlEntry kColorSettingsControls[] = {
    {1063, "Solid Color", detail::K::Button, {94, 279, 19, 18}, detail::L::Radio, detail::C::Picture},
    {1062, "Color Shift", detail::K::Button, {94, 299, 19, 18}, detail::L::Radio, detail::C::Picture},
    {1029, "Per Zone", detail::K::Button, {94, 319, 19, 19}, detail::L::Radio, detail::C::Picture},
    {1034, "Edit", detail::K::Button, {202, 338, 40, 18}, detail::L::ZoneEdit, detail::C::Picture},
    {1037, "Edit", detail::K::Button, {203, 358, 40, 18}, detail::L::ZoneEdit, detail::C::Picture},
    {1030, "Scroll Wheel", detail::K::CheckBox, {250, 337, 18, 18}, detail::L::CheckBox, detail::C::Picture},
    {1033, "Logo", detail::K::CheckBox, {251, 358, 18, 18}, detail::L::CheckBox, detail::C::Picture},
    {1043, "Solid", detail::K::Button, {95, 183, 19, 18}, detail::L::Radio, detail::C::Picture},
    {1049, "Blinking", detail::K::Button, {95, 202, 19, 18}, detail::L::Radio, detail::C::Picture},
    {1055, "Pulsating", detail::K::Button, {184, 181, 19, 18}, detail::L::Radio, detail::C::Picture},
    {1061, "Breathing", detail::K::Button, {185, 203, 19, 18}, detail::L::Radio, detail::C::Picture},
    {1102, "Brightness", detail::K::Slider, {86, 108, 134, 21}, detail::L::Track, detail::C::Picture},
    {1082, "Red", detail::K::Edit, {773, 291, 29, 17}, detail::L::Field, detail::C::Control},
    {1083, "Green", detail::K::Edit, {825, 291, 29, 17}, detail::L::Field, detail::C::Control},
    {1084, "Blue", detail::K::Edit, {877, 291, 29, 17}, detail::L::Field, detail::C::Control},
    {1113, "#", detail::K::Static, {816, 322, 10, 15}, detail::L::Label, detail::C::Control},
    {1087, "Hex", detail::K::Edit, {826, 322, 54, 15}, detail::L::Field, detail::C::Control},
    {1085, "Mouse", detail::K::MousePreview, {389, 23, 270, 369}, detail::L::Preview, detail::C::None},
    {1103, "Zones", detail::K::Static, {200, 318, 120, 16}, detail::L::DecorLabel, detail::C::Picture},
    {1104,
     "Scroll Wheel / Logo",
     detail::K::Static,
     {271, 339, 92, 37},
     detail::L::DecorLabel,
     detail::C::Picture},
    {1112, "Color Palete", detail::K::Placeholder, {749, 107, 143, 140}, detail::L::Hidden, detail::C::None},
    {1106, "Color Slider", detail::K::Placeholder, {897, 103, 40, 149}, detail::L::Hidden, detail::C::None},
    {1107, "Color Well", detail::K::Placeholder, {749, 252, 20, 20}, detail::L::Hidden, detail::C::None},
};

// The two recording check boxes come with a position only; 18 x 18 is chosen here.
inline constexpr ControlEntry kMacroSettingsControls[] = {
    {1069, "Macro", detail::K::ListBox, {98, 129, 200, 198}, detail::L::Panel, detail::C::Control},
    {1070, "Events", detail::K::MacroEditor, {368, 129, 199, 197}, detail::L::Panel, detail::C::Control},
    {1064, "New Macro", detail::K::Button, {91, 341, 83, 26}, detail::L::PushButton, detail::C::Picture},
    {1065, "Delete", detail::K::Button, {218, 341, 83, 26}, detail::L::PushButton, detail::C::Picture},
    {1066, "Record Delay", detail::K::CheckBox, {614, 124, 18, 18}, detail::L::CheckBox, detail::C::Picture},
    {1071, "Record Hold", detail::K::CheckBox, {614, 155, 18, 18}, detail::L::CheckBox, detail::C::Picture},
    {1067,
     "Start Record",
     detail::K::Button,
     {614, 204, 84, 33},
     detail::L::RecordButton,
     detail::C::Control},
    {1068, "Stop Record", detail::K::Button, {614, 204, 84, 33}, detail::L::RecordButton, detail::C::Control},
};

inline constexpr ControlEntry kSupportControls[] = {
    {1086, "FAQ", detail::K::Button, {140, 122, 124, 25}, detail::L::PushButton, detail::C::Picture},
    {1071,
     "Online Support",
     detail::K::Button,
     {342, 201, 340, 53},
     detail::L::WideButton,
     detail::C::Picture},
    {1073,
     "Check Firmware",
     detail::K::Button,
     {559, 304, 116, 23},
     detail::L::PushButton,
     detail::C::Picture},
    {1072,
     "Check Updates",
     detail::K::Button,
     {559, 334, 116, 24},
     detail::L::PushButton,
     detail::C::Picture},
    {1082, "Firm Version", detail::K::Static, {500, 310, 28, 10}, detail::L::Label, detail::C::Control},
    {1081, "Soft Version", detail::K::Static, {500, 342, 28, 10}, detail::L::Label, detail::C::Control},
};

inline constexpr ControlEntry kRenameControls[] = {
    {1072, "OK", detail::K::Button, {269, 156, 58, 26}, detail::L::PushButton, detail::C::Picture},
    {1073, "Cancel", detail::K::Button, {334, 155, 58, 27}, detail::L::PushButton, detail::C::Picture},
    {1074, "Close", detail::K::Button, {381, 4, 18, 17}, detail::L::CloseButton, detail::C::None},
    {1075, "Name", detail::K::Edit, {114, 43, 198, 16}, detail::L::Field, detail::C::Control},
};

// Pop-up button IDs: 1076 OK, 1077 Cancel, 1078 Close; 1079 "Time", 1080 "Image".
inline constexpr ControlEntry kLeftClickWarnControls[] = {
    {1076, "OK", detail::K::Button, {269, 156, 58, 26}, detail::L::PushButton, detail::C::Picture},
    {1077, "Cancel", detail::K::Button, {334, 155, 58, 27}, detail::L::PushButton, detail::C::Picture},
    {1078, "Close", detail::K::Button, {381, 4, 18, 17}, detail::L::CloseButton, detail::C::None},
};

inline constexpr ControlEntry kDeleteMacroControls[] = {
    {1076, "Delete", detail::K::Button, {269, 156, 58, 26}, detail::L::PushButton, detail::C::Picture},
    {1077, "Cancel", detail::K::Button, {334, 155, 58, 27}, detail::L::PushButton, detail::C::Picture},
    {1078, "Close", detail::K::Button, {381, 4, 18, 17}, detail::L::CloseButton, detail::C::None},
};

inline constexpr ControlEntry kSensorSqat1Controls[] = {
    {1076, "Start", detail::K::Button, {209, 155, 118, 27}, detail::L::PushButton, detail::C::Picture},
    {1077, "Cancel", detail::K::Button, {333, 155, 65, 27}, detail::L::PushButton, detail::C::Picture},
    {1078, "Close", detail::K::Button, {379, 3, 19, 18}, detail::L::CloseButton, detail::C::None},
};

inline constexpr ControlEntry kSensorSqat2Controls[] = {
    {1076, "Next", detail::K::Button, {208, 155, 119, 27}, detail::L::PushButton, detail::C::Picture},
    {1077, "Cancel", detail::K::Button, {333, 155, 59, 27}, detail::L::PushButton, detail::C::Picture},
    {1078, "Close", detail::K::Button, {379, 3, 19, 18}, detail::L::CloseButton, detail::C::None},
    {1079, "Time", detail::K::Static, {290, 133, 14, 12}, detail::L::Label, detail::C::Control},
    {1080, "Image", detail::K::Static, {13, 50, 200, 110}, detail::L::PictureFrame, detail::C::None},
};

inline constexpr ControlEntry kSensorSqat3Controls[] = {
    {1076, "Finish", detail::K::Button, {270, 155, 119, 27}, detail::L::PushButton, detail::C::Picture},
    {1078, "Close", detail::K::Button, {379, 3, 19, 18}, detail::L::CloseButton, detail::C::None},
};

inline constexpr ControlEntry kResetWarnControls[] = {
    {1076, "Reset", detail::K::Button, {269, 156, 58, 26}, detail::L::PushButton, detail::C::Picture},
    {1077, "Cancel", detail::K::Button, {334, 155, 58, 27}, detail::L::PushButton, detail::C::Picture},
    {1078, "Close", detail::K::Button, {381, 4, 18, 17}, detail::L::CloseButton, detail::C::None},
};

inline constexpr ControlEntry kUpdateWarnControls[] = {
    {1076, "Update", detail::K::Button, {269, 156, 58, 26}, detail::L::PushButton, detail::C::Picture},
    {1077, "Quit", detail::K::Button, {334, 155, 58, 27}, detail::L::PushButton, detail::C::Picture},
    {1078, "Close", detail::K::Button, {381, 4, 18, 17}, detail::L::CloseButton, detail::C::None},
};

inline constexpr ControlEntry kAssignKeyControls[] = {
    {1076, "OK", detail::K::Button, {269, 156, 58, 25}, detail::L::PushButton, detail::C::Picture},
    {1077, "Cancel", detail::K::Button, {333, 155, 59, 26}, detail::L::PushButton, detail::C::Picture},
    {1078, "Close", detail::K::Button, {381, 4, 18, 17}, detail::L::CloseButton, detail::C::None},
    {1079, "Time", detail::K::Static, {139, 99, 46, 17}, detail::L::Label, detail::C::Control},
};

struct WindowLayout {
    WindowId id;
    std::string_view name;
    Size size;
    SkinRole sheets; // the role of the window's state sheets
    // The whole-window background when it is a file of its own; otherwise
    // the Normal sheet is the background.
    std::optional<SkinRole> background;
    std::span<const ControlEntry> controls;
    // Whole pictures the window's controls draw besides its sheets (slider
    // thumbs, the lighting preview's mouse, the scroll bar).
    std::span<const SkinRole> pictures = {};
};

inline constexpr SkinRole kMouseSettingsPictures[] = {SkinRole::SliderThumb};
inline constexpr SkinRole kSensorPictures[] = {SkinRole::SliderThumb, SkinRole::SliderThumbOver};
inline constexpr SkinRole kColorSettingsPictures[] = {SkinRole::SliderThumb, SkinRole::ColorSlider,
                                                      SkinRole::ColorPanel, SkinRole::ColorPalette,
                                                      SkinRole::MousePicture};
inline constexpr SkinRole kMacroSettingsPictures[] = {SkinRole::ScrollBar};

inline constexpr std::array<WindowLayout, 15> kWindows = {{
    {WindowId::Main, "Main", kMainSize, SkinRole::MainSheet, std::nullopt, kMainControls},
    {WindowId::MouseSettings, "Mouse Settings", kPageSize, SkinRole::MouseSettingsSheet, std::nullopt,
     kMouseSettingsControls, kMouseSettingsPictures},
    {WindowId::SensorPerformance, "Sensor Performance", kPageSize, SkinRole::SensorSheet, std::nullopt,
     kSensorControls, kSensorPictures},
    {WindowId::ColorSettings, "Color Settings", kPageSize, SkinRole::ColorSheet, SkinRole::ColorBackground,
     kColorSettingsControls, kColorSettingsPictures},
    {WindowId::MacroSettings, "Macro Settings", kPageSize, SkinRole::MacroSheet, SkinRole::MacroBackground,
     kMacroSettingsControls, kMacroSettingsPictures},
    {WindowId::Support, "Support", kPageSize, SkinRole::SupportSheet, std::nullopt, kSupportControls},
    {WindowId::Rename, "Rename", kPopupSize, SkinRole::RenameSheet, std::nullopt, kRenameControls},
    {WindowId::LeftClickWarn, "LeftClickWarn", kPopupSize, SkinRole::LeftClickWarnSheet, std::nullopt,
     kLeftClickWarnControls},
    {WindowId::DeleteMacro, "DeleteMacro", kPopupSize, SkinRole::DeleteMacroSheet, std::nullopt,
     kDeleteMacroControls},
    {WindowId::SensorSqat1, "SensorSQAT1", kPopupSize, SkinRole::SensorSqat1Sheet, std::nullopt,
     kSensorSqat1Controls},
    {WindowId::SensorSqat2, "SensorSQAT2", kPopupSize, SkinRole::SensorSqat2Sheet, std::nullopt,
     kSensorSqat2Controls},
    {WindowId::SensorSqat3, "SensorSQAT3", kPopupSize, SkinRole::SensorSqat3Sheet, std::nullopt,
     kSensorSqat3Controls},
    {WindowId::ResetWarn, "ResetWarn", kPopupSize, SkinRole::ResetWarnSheet, std::nullopt,
     kResetWarnControls},
    {WindowId::UpdateWarn, "UpdateWarn", kPopupSize, SkinRole::UpdateWarnSheet, std::nullopt,
     kUpdateWarnControls},
    {WindowId::AssignKey, "AssignKey", kPopupSize, SkinRole::AssignKeySheet, std::nullopt,
     kAssignKeyControls},
}};

constexpr const WindowLayout& layoutOf(WindowId id) {
    for (const auto& w : kWindows) {
        if (w.id == id) {
            return w;
        }
    }
    return kWindows.front(); // unreachable: every WindowId has an entry
}

constexpr std::optional<ControlEntry> findControl(WindowId window, int controlId) {
    for (const auto& c : layoutOf(window).controls) {
        if (c.id == controlId) {
            return c;
        }
    }
    return std::nullopt;
}

constexpr std::optional<Rect> controlRect(WindowId window, int controlId) {
    if (const auto c = findControl(window, controlId)) {
        return c->rect;
    }
    return std::nullopt;
}

} // namespace talwyn::ui_layout
