#pragma once
// Every file of the skin folder: exact name, format, pixel size and role.
// The skin store loads kSkinFiles in this order; the generator writes every
// entry of kSkinFiles, kSurfacePictures, kCountdownPictures and kAppIcon.
// Names carry no leading separator: join them to the folder with a path.

#include "ui_layout/geometry.h"

#include <array>
#include <optional>
#include <string_view>

namespace talwyn::ui_layout {

inline constexpr std::string_view kSkinFolderName = "Talwyn_PRO_Skins";

enum class SkinFormat { Bmp, Png };

// The state numbers of a skin request: 0 Normal, 1 Over, 2 Down, 3 Disable.
enum class SkinState { Normal = 0, Over = 1, Down = 2, Disable = 3 };
inline constexpr std::array<SkinState, 4> kAllSkinStates = {SkinState::Normal, SkinState::Over,
                                                            SkinState::Down, SkinState::Disable};

enum class SkinRole {
    MainSheet,
    MouseSettingsSheet,
    SensorSheet,
    ColorBackground,
    ColorSheet,
    MacroBackground,
    MacroSheet,
    SupportSheet,
    ColorSlider,
    SliderThumb,
    SliderThumbOver,
    ColorPanel,
    ColorPalette,
    MousePicture,
    RenameSheet,
    ScrollBar,
    LeftClickWarnSheet,
    DeleteMacroSheet,
    SensorSqat1Sheet,
    SensorSqat2Sheet,
    SensorSqat3Sheet,
    ResetWarnSheet,
    UpdateWarnSheet,
    AssignKeySheet,
    SurfacePicture,
    CountdownPicture,
    AppIcon,
};

struct SkinFile {
    std::string_view name;
    SkinFormat format;
    Size size;
    SkinRole role;
    // The state a sheet draws; Normal for files that are not state sheets.
    SkinState state = SkinState::Normal;
};

inline constexpr Size kMainSize{1024, 576};
inline constexpr Size kPageSize{1024, 427};
inline constexpr Size kPopupSize{404, 190};
inline constexpr Size kThumbSize{14, 21};      // Slider_Normal, Slider_Disable
inline constexpr Size kLevelThumbSize{16, 23}; // Slider1_Over to Slider5_Over
inline constexpr Size kScrollSize{18, 198};    // vertical scroll bar of the macro list and editor
inline constexpr Size kColorSliderSize{40, 149};
inline constexpr Size kColorFieldSize{143, 140}; // colour panel and palette overlay
inline constexpr Size kMousePictureSize{270, 369};
inline constexpr Size kSurfacePictureSize{140, 85};
inline constexpr Size kCountdownPictureSize{200, 110};
inline constexpr Size kAppIconSize{256, 256};

// Where the scroll bar's parts sit in "Scroll_Down.bmp" (their normal look)
// and "Scroll_Over.bmp" (their pressed look); "Scroll_Normal.bmp" is the track.
inline constexpr Rect kScrollThumbPart{0, 18, 18, 34};
inline constexpr Rect kScrollUpPart{0, 0, 18, 18};
inline constexpr Rect kScrollDownPart{0, 180, 18, 18};

// Transparent lighting zones of "Talwyn.png", in picture coordinates, as the
// lighting preview fills them: scroll wheel and logo.
inline constexpr Rect kMouseZone1{113, 96, 38, 63};
inline constexpr Rect kMouseZone2{110, 272, 42, 35};

namespace detail {
using S = SkinState;
using R = SkinRole;
inline constexpr auto B = SkinFormat::Bmp;
inline constexpr auto P = SkinFormat::Png;
} // namespace detail

// In load order (69 files).
inline constexpr std::array<SkinFile, 69> kSkinFiles = {{
    {"Main_Normal.bmp", detail::B, kMainSize, detail::R::MainSheet, detail::S::Normal},
    {"Main_Over.bmp", detail::B, kMainSize, detail::R::MainSheet, detail::S::Over},
    {"Main_Down.bmp", detail::B, kMainSize, detail::R::MainSheet, detail::S::Down},
    {"Main_Disable.bmp", detail::B, kMainSize, detail::R::MainSheet, detail::S::Disable},
    {"Mouse_Settings_Normal.bmp", detail::B, kPageSize, detail::R::MouseSettingsSheet, detail::S::Normal},
    {"Mouse_Settings_Over.bmp", detail::B, kPageSize, detail::R::MouseSettingsSheet, detail::S::Over},
    {"Mouse_Settings_Down.bmp", detail::B, kPageSize, detail::R::MouseSettingsSheet, detail::S::Down},
    {"Mouse_Settings_Disable.bmp", detail::B, kPageSize, detail::R::MouseSettingsSheet, detail::S::Disable},
    {"Sensor_Performance_Normal.bmp", detail::B, kPageSize, detail::R::SensorSheet, detail::S::Normal},
    {"Sensor_Performance_Over.bmp", detail::B, kPageSize, detail::R::SensorSheet, detail::S::Over},
    {"Sensor_Performance_Down.bmp", detail::B, kPageSize, detail::R::SensorSheet, detail::S::Down},
    {"Sensor_Performance_Disabel.bmp", detail::B, kPageSize, detail::R::SensorSheet, detail::S::Disable},
    {"Color_Settings_BK.png", detail::P, kPageSize, detail::R::ColorBackground},
    {"Color_Settings_Normal.bmp", detail::B, kPageSize, detail::R::ColorSheet, detail::S::Normal},
    {"Color_Settings_Over.bmp", detail::B, kPageSize, detail::R::ColorSheet, detail::S::Over},
    {"Color_Settings_Down.bmp", detail::B, kPageSize, detail::R::ColorSheet, detail::S::Down},
    {"Color_Settings_Disable.bmp", detail::B, kPageSize, detail::R::ColorSheet, detail::S::Disable},
    {"Macro_Settings_BK.bmp", detail::B, kPageSize, detail::R::MacroBackground},
    {"Macro_Settings_Normal.bmp", detail::B, kPageSize, detail::R::MacroSheet, detail::S::Normal},
    {"Macro_Settings_Over.bmp", detail::B, kPageSize, detail::R::MacroSheet, detail::S::Over},
    {"Macro_Settings_Down.bmp", detail::B, kPageSize, detail::R::MacroSheet, detail::S::Down},
    {"Macro_Settings_Disable.bmp", detail::B, kPageSize, detail::R::MacroSheet, detail::S::Disable},
    {"Support_Normal.bmp", detail::B, kPageSize, detail::R::SupportSheet, detail::S::Normal},
    {"Support_Over.bmp", detail::B, kPageSize, detail::R::SupportSheet, detail::S::Over},
    {"Support_Down.bmp", detail::B, kPageSize, detail::R::SupportSheet, detail::S::Down},
    {"Support_Disable.bmp", detail::B, kPageSize, detail::R::SupportSheet, detail::S::Disable},
    {"Color_slider.png", detail::P, kColorSliderSize, detail::R::ColorSlider},
    {"Slider_Normal.png", detail::P, kThumbSize, detail::R::SliderThumb, detail::S::Normal},
    {"Slider_Disable.png", detail::P, kThumbSize, detail::R::SliderThumb, detail::S::Disable},
    {"Slider1_Over.png", detail::P, kLevelThumbSize, detail::R::SliderThumbOver, detail::S::Over},
    {"Slider2_Over.png", detail::P, kLevelThumbSize, detail::R::SliderThumbOver, detail::S::Over},
    {"Slider3_Over.png", detail::P, kLevelThumbSize, detail::R::SliderThumbOver, detail::S::Over},
    {"Slider4_Over.png", detail::P, kLevelThumbSize, detail::R::SliderThumbOver, detail::S::Over},
    {"Slider5_Over.png", detail::P, kLevelThumbSize, detail::R::SliderThumbOver, detail::S::Over},
    {"ColorPanel.bmp", detail::B, kColorFieldSize, detail::R::ColorPanel},
    {"ColorPalete.png", detail::P, kColorFieldSize, detail::R::ColorPalette},
    {"Talwyn.png", detail::P, kMousePictureSize, detail::R::MousePicture},
    {"ReName_Normal.bmp", detail::B, kPopupSize, detail::R::RenameSheet, detail::S::Normal},
    {"ReName_Over.bmp", detail::B, kPopupSize, detail::R::RenameSheet, detail::S::Over},
    {"ReName_Down.bmp", detail::B, kPopupSize, detail::R::RenameSheet, detail::S::Down},
    {"ReName_Disable.bmp", detail::B, kPopupSize, detail::R::RenameSheet, detail::S::Disable},
    {"Scroll_Normal.bmp", detail::B, kScrollSize, detail::R::ScrollBar, detail::S::Normal},
    {"Scroll_Over.bmp", detail::B, kScrollSize, detail::R::ScrollBar, detail::S::Over},
    {"Scroll_Down.bmp", detail::B, kScrollSize, detail::R::ScrollBar, detail::S::Down},
    {"LeftClickWarn_Normal.bmp", detail::B, kPopupSize, detail::R::LeftClickWarnSheet, detail::S::Normal},
    {"LeftClickWarn_Over.bmp", detail::B, kPopupSize, detail::R::LeftClickWarnSheet, detail::S::Over},
    {"LeftClickWarn_Down.bmp", detail::B, kPopupSize, detail::R::LeftClickWarnSheet, detail::S::Down},
    {"DeleteMacro_Normal.bmp", detail::B, kPopupSize, detail::R::DeleteMacroSheet, detail::S::Normal},
    {"DeleteMacro_Over.bmp", detail::B, kPopupSize, detail::R::DeleteMacroSheet, detail::S::Over},
    {"DeleteMacro_Down.bmp", detail::B, kPopupSize, detail::R::DeleteMacroSheet, detail::S::Down},
    {"SensorSQAT1_Normal.bmp", detail::B, kPopupSize, detail::R::SensorSqat1Sheet, detail::S::Normal},
    {"SensorSQAT1_Over.bmp", detail::B, kPopupSize, detail::R::SensorSqat1Sheet, detail::S::Over},
    {"SensorSQAT1_Down.bmp", detail::B, kPopupSize, detail::R::SensorSqat1Sheet, detail::S::Down},
    {"SensorSQAT2_Normal.bmp", detail::B, kPopupSize, detail::R::SensorSqat2Sheet, detail::S::Normal},
    {"SensorSQAT2_Over.bmp", detail::B, kPopupSize, detail::R::SensorSqat2Sheet, detail::S::Over},
    {"SensorSQAT2_Down.bmp", detail::B, kPopupSize, detail::R::SensorSqat2Sheet, detail::S::Down},
    {"SensorSQAT3_Normal.bmp", detail::B, kPopupSize, detail::R::SensorSqat3Sheet, detail::S::Normal},
    {"SensorSQAT3_Over.bmp", detail::B, kPopupSize, detail::R::SensorSqat3Sheet, detail::S::Over},
    {"SensorSQAT3_Down.bmp", detail::B, kPopupSize, detail::R::SensorSqat3Sheet, detail::S::Down},
    {"ResetWarn_Normal.bmp", detail::B, kPopupSize, detail::R::ResetWarnSheet, detail::S::Normal},
    {"ResetWarn_Over.bmp", detail::B, kPopupSize, detail::R::ResetWarnSheet, detail::S::Over},
    {"ResetWarn_Down.bmp", detail::B, kPopupSize, detail::R::ResetWarnSheet, detail::S::Down},
    {"UpdateWarn_Normal.bmp", detail::B, kPopupSize, detail::R::UpdateWarnSheet, detail::S::Normal},
    {"UpdateWarn_Over.bmp", detail::B, kPopupSize, detail::R::UpdateWarnSheet, detail::S::Over},
    {"UpdateWarn_Down.bmp", detail::B, kPopupSize, detail::R::UpdateWarnSheet, detail::S::Down},
    {"AssignKey_Normal.bmp", detail::B, kPopupSize, detail::R::AssignKeySheet, detail::S::Normal},
    {"AssignKey_Over.bmp", detail::B, kPopupSize, detail::R::AssignKeySheet, detail::S::Over},
    {"AssignKey_Down.bmp", detail::B, kPopupSize, detail::R::AssignKeySheet, detail::S::Down},
    {"AssignKey_Disable.bmp", detail::B, kPopupSize, detail::R::AssignKeySheet, detail::S::Disable},
}};

// Surface-quality pictures of the sensor page, in image-list order (index 0 to 10).
inline constexpr std::array<SkinFile, 11> kSurfacePictures = {{
    {"0.bmp", detail::B, kSurfacePictureSize, detail::R::SurfacePicture},
    {"10.bmp", detail::B, kSurfacePictureSize, detail::R::SurfacePicture},
    {"20.bmp", detail::B, kSurfacePictureSize, detail::R::SurfacePicture},
    {"30.bmp", detail::B, kSurfacePictureSize, detail::R::SurfacePicture},
    {"40.bmp", detail::B, kSurfacePictureSize, detail::R::SurfacePicture},
    {"50.bmp", detail::B, kSurfacePictureSize, detail::R::SurfacePicture},
    {"60.bmp", detail::B, kSurfacePictureSize, detail::R::SurfacePicture},
    {"70.bmp", detail::B, kSurfacePictureSize, detail::R::SurfacePicture},
    {"80.bmp", detail::B, kSurfacePictureSize, detail::R::SurfacePicture},
    {"90.bmp", detail::B, kSurfacePictureSize, detail::R::SurfacePicture},
    {"100.bmp", detail::B, kSurfacePictureSize, detail::R::SurfacePicture},
}};

// Countdown animation of the surface measurement, in image-list order.
inline constexpr std::array<SkinFile, 3> kCountdownPictures = {{
    {"TQA2-1.bmp", detail::B, kCountdownPictureSize, detail::R::CountdownPicture},
    {"TQA2-2.bmp", detail::B, kCountdownPictureSize, detail::R::CountdownPicture},
    {"TQA2-3.bmp", detail::B, kCountdownPictureSize, detail::R::CountdownPicture},
}};

// Window and tray icon of the program.
inline constexpr SkinFile kAppIcon{"Talwyn_PRO_Icon.png", detail::P, kAppIconSize, detail::R::AppIcon};

// Every file the generator writes, skin sheets first in load order.
inline constexpr std::size_t kGeneratedFileCount =
    kSkinFiles.size() + kSurfacePictures.size() + kCountdownPictures.size() + 1;

constexpr std::array<SkinFile, kGeneratedFileCount> allGeneratedFiles() {
    std::array<SkinFile, kGeneratedFileCount> all{};
    std::size_t n = 0;
    for (const auto& f : kSkinFiles) {
        all[n++] = f;
    }
    for (const auto& f : kSurfacePictures) {
        all[n++] = f;
    }
    for (const auto& f : kCountdownPictures) {
        all[n++] = f;
    }
    all[n] = kAppIcon;
    return all;
}

// The file of one state of a sheet family, or nothing when the family has no
// sheet for that state (pop-ups have no Disable sheet, the scroll bar none).
constexpr std::optional<SkinFile> sheetFor(SkinRole role, SkinState state) {
    for (const auto& f : kSkinFiles) {
        if (f.role == role && f.state == state) {
            return f;
        }
    }
    return std::nullopt;
}

constexpr std::optional<SkinFile> findSkinFile(std::string_view name) {
    for (const auto& f : allGeneratedFiles()) {
        if (f.name == name) {
            return f;
        }
    }
    return std::nullopt;
}

} // namespace talwyn::ui_layout
