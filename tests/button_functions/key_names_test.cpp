#include "button_functions/key_names.h"

#include <gtest/gtest.h>

namespace talwyn::button_functions {
namespace {

TEST(KeyName, NamedCodes) {
    struct Case {
        int code;
        std::u16string name;
    };
    const Case cases[] = {
        {0x01, u"Left Button"},
        {0x04, u"Middle Button"},
        {0x08, u"BACK"},
        {0x0D, u"ENTER"},
        {0x1B, u"ESC"},
        {0x26, u"UP ARROW "},
        {0x28, u"DOWN ARROW"},
        {0x2C, u"PRINT SCREEN"},
        {0x2F, u"HELP"},
        {0x30, u"0"},
        {0x39, u"9"},
        {0x41, u"A"},
        {0x5A, u"Z"},
        {0x5D, u"Application"},
        {0x60, u"0"},
        {0x69, u"9"},
        {0x6B, u"+"},
        {0x6F, u"/"},
        {0x70, u"F1"},
        {0x7B, u"F12"},
        {0x87, u"F24"},
        {0x91, u"SCROLL LOCK"},
        {0xA0, u"Left SHIFT"},
        {0xA5, u"Right ALT"},
        {0xA6, u"Browser Back"},
        {0xA8, u"Browser Refresh"},
        {0xAE, u"Volume Down"},
        {0xAF, u"Volume Up "},
        {0xBB, u"+"},
        {0xBF, u"/"},
        {0xC0, u"`"},
        {0xDB, u"["},
        {0xDC, u"\\"},
        {0xDE, u"'"},
        {0xFF, u"Fn"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(keyName(c.code), c.name) << std::hex << c.code;
}

TEST(KeyName, UnlistedAndOutOfRangeCodesAreEmpty) {
    for (int code : {0x00, 0x03, 0x07, 0x0A, 0x10, 0x3A, 0x40, 0x5E, 0x6C, 0x88,
                     0x92, 0xA9, 0xAD, 0xB0, 0xC1, 0xDF, 0xFE, -1,   256,  0x141})
        EXPECT_EQ(keyName(code), u"") << std::hex << code;
}

} // namespace
} // namespace talwyn::button_functions
