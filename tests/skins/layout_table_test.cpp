// The shared tables themselves: file names, formats, sheet families and control look-ups.

#include "ui_layout/control_table.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace talwyn::ui_layout;

TEST(SkinFileTable, NamesAreUniqueAndExtensionsMatchFormats) {
    std::set<std::string_view> seen;
    for (const auto& f : allGeneratedFiles()) {
        EXPECT_TRUE(seen.insert(f.name).second) << f.name;
        const std::string_view ext = f.format == SkinFormat::Png ? ".png" : ".bmp";
        EXPECT_TRUE(f.name.ends_with(ext)) << f.name;
        EXPECT_GT(f.size.width, 0) << f.name;
        EXPECT_GT(f.size.height, 0) << f.name;
    }
    EXPECT_EQ(kSkinFiles.size(), 69u);
}

TEST(SkinFileTable, SheetFamiliesHaveTheirStates) {
    struct Family {
        SkinRole role;
        bool hasDisable;
        std::string_view disableName;
    };
    const Family families[] = {
        {SkinRole::MainSheet, true, "Main_Disable.bmp"},
        {SkinRole::SensorSheet, true, "Sensor_Performance_Disabel.bmp"},
        {SkinRole::RenameSheet, true, "ReName_Disable.bmp"},
        {SkinRole::AssignKeySheet, true, "AssignKey_Disable.bmp"},
        {SkinRole::LeftClickWarnSheet, false, ""},
        {SkinRole::SensorSqat2Sheet, false, ""},
    };
    for (const auto& fam : families) {
        for (auto s : {SkinState::Normal, SkinState::Over, SkinState::Down}) {
            EXPECT_TRUE(sheetFor(fam.role, s).has_value()) << int(fam.role) << "/" << int(s);
        }
        const auto disable = sheetFor(fam.role, SkinState::Disable);
        ASSERT_EQ(disable.has_value(), fam.hasDisable) << int(fam.role);
        if (disable) {
            EXPECT_EQ(disable->name, fam.disableName);
        }
    }
}

TEST(ControlTable, LooksUpControlsByWindowAndId) {
    EXPECT_EQ(controlRect(WindowId::Main, 1042), (Rect{948, 533, 58, 25}));
    EXPECT_EQ(controlRect(WindowId::SensorPerformance, 1022), (Rect{84, 91, 708, 23}));
    EXPECT_EQ(controlRect(WindowId::SensorSqat2, 1080), (Rect{13, 50, 200, 110}));
    // The same ID names different controls in different windows.
    EXPECT_EQ(findControl(WindowId::MouseSettings, 1031), std::nullopt);
    EXPECT_EQ(findControl(WindowId::Main, 1031)->caption, "Reset to Default");
    EXPECT_EQ(findControl(WindowId::Main, 4242), std::nullopt);
}

} // namespace
