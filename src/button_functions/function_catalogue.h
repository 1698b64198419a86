#pragma once
// The functions a mouse button can be given, as data: code, menu text, where
// the function button's drop-down menu shows it and what its param holds.
// The GUI builds its menus from these tables.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace talwyn::button_functions {

// What a ButtonAssignment's param holds for a function.
enum class FunctionParam {
    None,    // param is left as it was and ignored
    KeyCode, // virtual-key code of the assigned key
    MacroId, // macroId of the attached macro (16 and above)
};

enum class MenuGroup { DefaultCommands, Profile, TopLevel };

struct FunctionInfo {
    uint8_t code;
    std::u16string_view menuText;
    MenuGroup group;
    FunctionParam param;
};

// Every function offered by the menu, in menu order. Codes 5, 6 and 32 exist
// on the device but are never offered.
inline constexpr std::array<FunctionInfo, 14> kFunctions{{
    {0, u"Left click", MenuGroup::DefaultCommands, FunctionParam::None},
    {1, u"Right click", MenuGroup::DefaultCommands, FunctionParam::None},
    {2, u"Scroll click", MenuGroup::DefaultCommands, FunctionParam::None},
    {3, u"Forward", MenuGroup::DefaultCommands, FunctionParam::None},
    {4, u"Back", MenuGroup::DefaultCommands, FunctionParam::None},
    {11, u"Scroll up", MenuGroup::DefaultCommands, FunctionParam::None},
    {12, u"Scroll down", MenuGroup::DefaultCommands, FunctionParam::None},
    {9, u"Profile switch up", MenuGroup::Profile, FunctionParam::None},
    {10, u"Profile switch down", MenuGroup::Profile, FunctionParam::None},
    {8, u"Profile switch roll", MenuGroup::Profile, FunctionParam::None},
    {7, u"Dpi roll", MenuGroup::TopLevel, FunctionParam::None},
    {13, u"Single key assign...", MenuGroup::TopLevel, FunctionParam::KeyCode},
    {14, u"Assign record macro", MenuGroup::TopLevel, FunctionParam::MacroId},
    {15, u"Disable button", MenuGroup::TopLevel, FunctionParam::None},
}};

// The catalogue entry of a code; nullptr for a code the menu does not offer.
constexpr const FunctionInfo* findFunction(int code) {
    for (const FunctionInfo& info : kFunctions)
        if (info.code == code)
            return &info;
    return nullptr;
}

// Top level of one function button's drop-down menu.
enum class MenuItemKind {
    Function,  // chooses the function `id`
    Submenu,   // header `id` that only opens the fixed submenu `codes`
    MacroList, // opens the list of library macros; chooses function `id`
};

struct MenuItem {
    MenuItemKind kind;
    int id;
    std::u16string_view text;
    int submenuWidth; // pixels; 0 where the width is not fixed
    std::span<const uint8_t> codes;
};

inline constexpr int kDefaultCommandsMenuId = 255;
inline constexpr int kProfileMenuId = 254;
inline constexpr int kDropDownWidth = 200;
// The macro submenu is as wide as its widest name plus this margin.
inline constexpr int kMacroMenuMargin = 50;

inline constexpr std::array<uint8_t, 7> kDefaultCommandCodes{0, 1, 2, 3, 4, 11, 12};
inline constexpr std::array<uint8_t, 3> kProfileCodes{9, 10, 8};

inline constexpr std::array<MenuItem, 6> kFunctionMenu{{
    {MenuItemKind::Submenu, kDefaultCommandsMenuId, u"Default commands", 100, kDefaultCommandCodes},
    {MenuItemKind::Submenu, kProfileMenuId, u"Profile", 145, kProfileCodes},
    {MenuItemKind::Function, 7, findFunction(7)->menuText, 0, {}},
    {MenuItemKind::Function, 13, findFunction(13)->menuText, 0, {}},
    {MenuItemKind::MacroList, 14, findFunction(14)->menuText, 0, {}},
    {MenuItemKind::Function, 15, findFunction(15)->menuText, 0, {}},
}};

} // namespace talwyn::button_functions
