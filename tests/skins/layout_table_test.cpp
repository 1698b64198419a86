// Properties of the shared tables: every skin file has a window that uses it,
// every window has the sheets its controls are cut from, and the look-ups
// find what the tables list.

#include "ui_layout/control_table.h"

#include <gtest/gtest.h>

#include <algorithm>
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
}

// A file no window uses would be loaded for nothing; a window naming a role
// without a file would fail the program when it asks for it.
TEST(SkinFileTable, EveryLoadedFileIsUsedBySomeWindow) {
    const auto usedBy = [](const WindowLayout& w, SkinRole role) {
        return w.sheets == role || w.background == role ||
               std::find(w.pictures.begin(), w.pictures.end(), role) != w.pictures.end();
    };
    for (const auto& f : kSkinFiles) {
        EXPECT_TRUE(std::any_of(kWindows.begin(), kWindows.end(), [&](const auto& w) {
            return usedBy(w, f.role);
        })) << f.name;
    }
    for (const auto& w : kWindows) {
        std::vector<SkinRole> roles(w.pictures.begin(), w.pictures.end());
        if (w.background) {
            roles.push_back(*w.background);
        }
        for (SkinRole role : roles) {
            EXPECT_TRUE(std::any_of(kSkinFiles.begin(), kSkinFiles.end(),
                                    [&](const auto& f) { return f.role == role; }))
                << w.name << " role " << static_cast<int>(role);
        }
    }
}

// Buttons take their Normal, Over and Down looks from every window's sheets.
TEST(SkinFileTable, EveryWindowHasTheSheetsOfAButton) {
    for (const auto& w : kWindows) {
        for (auto s : {SkinState::Normal, SkinState::Over, SkinState::Down}) {
            EXPECT_TRUE(sheetFor(w.sheets, s).has_value()) << w.name << " state " << static_cast<int>(s);
        }
    }
}

TEST(ControlTable, FindsEveryListedControlInItsOwnWindowOnly) {
    for (const auto& w : kWindows) {
        for (const auto& c : w.controls) {
            EXPECT_EQ(controlRect(w.id, c.id), c.rect) << w.name << " " << c.id;
        }
        EXPECT_EQ(findControl(w.id, 4242), std::nullopt) << w.name;
    }
    // The same ID names different controls in different windows.
    EXPECT_EQ(findControl(WindowId::MouseSettings, 1031), std::nullopt);
    EXPECT_EQ(findControl(WindowId::Main, 1031)->caption, "Reset to Default");
}

} // namespace
