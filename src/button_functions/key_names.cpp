#include "button_functions/key_names.h"

#include <array>
#include <string_view>

namespace talwyn::button_functions {
namespace {

using NameTable = std::array<std::u16string_view, 256>;

constexpr std::u16string_view kDigits = u"0123456789";
constexpr std::u16string_view kLetters = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::array<std::u16string_view, 24> kFunctionKeys{
    u"F1",  u"F2",  u"F3",  u"F4",  u"F5",  u"F6",  u"F7",  u"F8",  u"F9",  u"F10", u"F11", u"F12",
    u"F13", u"F14", u"F15", u"F16", u"F17", u"F18", u"F19", u"F20", u"F21", u"F22", u"F23", u"F24"};

constexpr NameTable buildNames() {
    NameTable t{};
    t[0x01] = u"Left Button";
    t[0x02] = u"Right Button";
    t[0x04] = u"Middle Button";
    t[0x08] = u"BACK";
    t[0x09] = u"TAB";
    t[0x0C] = u"CLEAR";
    t[0x0D] = u"ENTER";
    t[0x13] = u"PAUSE";
    t[0x14] = u"CAPS LOCK";
    t[0x1B] = u"ESC";
    t[0x20] = u"SPACE";
    t[0x21] = u"PAGE UP";
    t[0x22] = u"PAGE DOWN";
    t[0x23] = u"END";
    t[0x24] = u"HOME";
    t[0x25] = u"LEFT ARROW";
    t[0x26] = u"UP ARROW "; // the trailing blank is part of the shown name
    t[0x27] = u"RIGHT ARROW";
    t[0x28] = u"DOWN ARROW";
    t[0x29] = u"SELECT";
    t[0x2A] = u"PRINT";
    t[0x2B] = u"EXECUTE";
    t[0x2C] = u"PRINT SCREEN";
    t[0x2D] = u"INS";
    t[0x2E] = u"DEL";
    t[0x2F] = u"HELP";
    for (size_t i = 0; i < kDigits.size(); ++i) {
        t[0x30 + i] = kDigits.substr(i, 1);
        t[0x60 + i] = kDigits.substr(i, 1); // numeric keypad
    }
    for (size_t i = 0; i < kLetters.size(); ++i)
        t[0x41 + i] = kLetters.substr(i, 1);
    t[0x5B] = u"Left Window";
    t[0x5C] = u"Right Window";
    t[0x5D] = u"Application";
    t[0x6A] = u"*";
    t[0x6B] = u"+";
    t[0x6D] = u"-";
    t[0x6E] = u".";
    t[0x6F] = u"/";
    for (size_t i = 0; i < kFunctionKeys.size(); ++i)
        t[0x70 + i] = kFunctionKeys[i];
    t[0x90] = u"NUM LOCK";
    t[0x91] = u"SCROLL LOCK";
    t[0xA0] = u"Left SHIFT";
    t[0xA1] = u"Right SHIFT";
    t[0xA2] = u"Left CONTROL";
    t[0xA3] = u"Right CONTROL";
    t[0xA4] = u"Left ALT";
    t[0xA5] = u"Right ALT";
    t[0xA6] = u"Browser Back";
    t[0xA7] = u"Browser Forward";
    t[0xA8] = u"Browser Refresh";
    t[0xAE] = u"Volume Down";
    t[0xAF] = u"Volume Up "; // the trailing blank is part of the shown name
    t[0xBA] = u";";
    t[0xBB] = u"+";
    t[0xBC] = u",";
    t[0xBD] = u"-";
    t[0xBE] = u".";
    t[0xBF] = u"/";
    t[0xC0] = u"`";
    t[0xDB] = u"[";
    t[0xDC] = u"\\";
    t[0xDD] = u"]";
    t[0xDE] = u"'";
    t[0xFF] = u"Fn";
    return t;
}

constexpr NameTable kNames = buildNames();

} // namespace

std::u16string keyName(int code) {
    if (code < 0 || code >= static_cast<int>(kNames.size()))
        return {};
    return std::u16string(kNames[static_cast<size_t>(code)]);
}

} // namespace talwyn::button_functions
