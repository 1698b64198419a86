#include "button_functions/function_catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace talwyn::button_functions {
namespace {

TEST(FunctionCatalogue, CodesAndTextsInMenuOrder) {
    const std::vector<std::pair<int, std::u16string_view>> expected{
        {0, u"Left click"},
        {1, u"Right click"},
        {2, u"Scroll click"},
        {3, u"Forward"},
        {4, u"Back"},
        {11, u"Scroll up"},
        {12, u"Scroll down"},
        {9, u"Profile switch up"},
        {10, u"Profile switch down"},
        {8, u"Profile switch roll"},
        {7, u"Dpi roll"},
        {13, u"Single key assign..."},
        {14, u"Assign record macro"},
        {15, u"Disable button"},
    };
    std::vector<std::pair<int, std::u16string_view>> actual;
    for (const FunctionInfo& f : kFunctions)
        actual.emplace_back(f.code, f.menuText);
    EXPECT_EQ(actual, expected);
}

TEST(FunctionCatalogue, OnlyKeyAndMacroCarryAParam) {
    for (const FunctionInfo& f : kFunctions) {
        const FunctionParam expected = f.code == 13   ? FunctionParam::KeyCode
                                       : f.code == 14 ? FunctionParam::MacroId
                                                      : FunctionParam::None;
        EXPECT_EQ(f.param, expected) << int(f.code);
    }
}

TEST(FunctionCatalogue, FindFunctionKnowsOnlyOfferedCodes) {
    ASSERT_NE(findFunction(12), nullptr);
    EXPECT_EQ(findFunction(12)->menuText, u"Scroll down");
    EXPECT_EQ(findFunction(8)->group, MenuGroup::Profile);
    for (int code : {5, 6, 16, 32, 254, 255, -1})
        EXPECT_EQ(findFunction(code), nullptr) << code;
}

TEST(FunctionMenu, TopLevelAndSubmenus) {
    ASSERT_EQ(kFunctionMenu.size(), 6u);
    const MenuItem& defaults = kFunctionMenu[0];
    EXPECT_EQ(defaults.kind, MenuItemKind::Submenu);
    EXPECT_EQ(defaults.id, 255);
    EXPECT_EQ(defaults.text, u"Default commands");
    EXPECT_EQ(defaults.submenuWidth, 100);
    EXPECT_EQ(std::vector<int>(defaults.codes.begin(), defaults.codes.end()),
              (std::vector<int>{0, 1, 2, 3, 4, 11, 12}));

    const MenuItem& profile = kFunctionMenu[1];
    EXPECT_EQ(profile.kind, MenuItemKind::Submenu);
    EXPECT_EQ(profile.id, 254);
    EXPECT_EQ(profile.text, u"Profile");
    EXPECT_EQ(profile.submenuWidth, 145);
    EXPECT_EQ(std::vector<int>(profile.codes.begin(), profile.codes.end()), (std::vector<int>{9, 10, 8}));

    const std::vector<std::tuple<MenuItemKind, int, std::u16string_view>> rest{
        {MenuItemKind::Function, 7, u"Dpi roll"},
        {MenuItemKind::Function, 13, u"Single key assign..."},
        {MenuItemKind::MacroList, 14, u"Assign record macro"},
        {MenuItemKind::Function, 15, u"Disable button"},
    };
    for (size_t i = 0; i < rest.size(); ++i) {
        const MenuItem& item = kFunctionMenu[i + 2];
        EXPECT_EQ(std::tie(item.kind, item.id, item.text), rest[i]) << i;
        EXPECT_TRUE(item.codes.empty());
    }
    EXPECT_EQ(kDropDownWidth, 200);
}

TEST(FunctionMenu, EveryCatalogueCodeIsReachableOnceInItsGroup) {
    std::map<int, MenuGroup> reached;
    for (const MenuItem& item : kFunctionMenu) {
        if (item.kind != MenuItemKind::Submenu) {
            EXPECT_TRUE(reached.emplace(item.id, MenuGroup::TopLevel).second) << item.id;
            continue;
        }
        const MenuGroup group =
            item.id == kDefaultCommandsMenuId ? MenuGroup::DefaultCommands : MenuGroup::Profile;
        for (uint8_t code : item.codes)
            EXPECT_TRUE(reached.emplace(code, group).second) << int(code);
    }
    ASSERT_EQ(reached.size(), kFunctions.size());
    for (const FunctionInfo& f : kFunctions)
        EXPECT_EQ(reached.at(f.code), f.group) << int(f.code);
}

} // namespace
} // namespace talwyn::button_functions
