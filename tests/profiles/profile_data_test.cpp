#include "profiles/profile_data.h"

#include <gtest/gtest.h>

namespace talwyn {
namespace {

TEST(ProfileData, ResetGivesBackConstructionDefaultsButKeepsPathAndMacros) {
    ProfileData fresh;
    ProfileData changed;
    changed.filePath = "/tmp/x.profile";
    changed.name = u"Profile3";
    changed.slotIndex = 2;
    changed.dpi[4].x = 100;
    changed.buttons[2].function = 9;
    changed.lightColors[1] = 7;
    changed.macros[3].name = u"kept";
    changed.resetToDefaults();

    EXPECT_EQ(changed.filePath, std::filesystem::path("/tmp/x.profile"));
    EXPECT_EQ(changed.macros[3].name, u"kept");
    changed.filePath.clear();
    changed.macros = fresh.macros;
    EXPECT_EQ(changed, fresh);
    EXPECT_EQ(fresh.name, u"profile");
    EXPECT_EQ(fresh.buttons[6].function, function_code::kDisabled);
}

TEST(ProfileData, RemovingMacroRestoresDefaultFunction) {
    ProfileData p;
    ButtonAssignment entry = p.buttons[5];
    entry.function = function_code::kMacro;
    entry.param = 12;
    p.attachMacro(nullptr, entry);
    EXPECT_EQ(entry.function, 7);
    EXPECT_EQ(entry.param, 0);
}

TEST(ProfileData, AttachMacroCopiesOnlyForMacroFunction) {
    ProfileData p;
    MacroData m{u"combo", 42, {{1, 0x41, 0, 10}, {1, 0x41, 1, 0}}};

    ButtonAssignment key = p.buttons[3];
    key.function = function_code::kSingleKey;
    p.attachMacro(&m, key);
    EXPECT_EQ(p, ProfileData{});

    ButtonAssignment macroEntry = p.buttons[3];
    macroEntry.function = function_code::kMacro;
    p.attachMacro(&m, macroEntry);
    EXPECT_EQ(p.macros[3], m);
    m.events.clear();
    EXPECT_EQ(p.macros[3].events.size(), 2u) << "the profile keeps its own copy";
    EXPECT_EQ(p.macroNameFor(macroEntry), u"combo");

    ButtonAssignment outOfRange{9, function_code::kMacro, 0, 0, 0};
    EXPECT_EQ(p.macroNameFor(outOfRange), u"");
}

} // namespace
} // namespace talwyn
