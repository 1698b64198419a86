// Key names of the host turned into Windows virtual-key codes.

#include "platform/desktop_button_watch.h"
#include "platform/qt_virtual_keys.h"
#include "platform/x11_virtual_keys.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include <gtest/gtest.h>

namespace talwyn::platform {
namespace {

TEST(VirtualKeys, Keysyms) {
    const std::pair<uint32_t, int> cases[] = {
        {XK_a, 0x41},
        {XK_z, 0x5A},
        {XK_A, 0x41},
        {XK_0, 0x30},
        {XK_9, 0x39},
        {XK_F1, 0x70},
        {XK_F12, 0x7B},
        {XK_F24, 0x87},
        {XK_F25, 0},
        {XK_Return, 0x0D},
        {XK_Escape, 0x1B},
        {XK_space, 0x20},
        {XK_BackSpace, 0x08},
        {XK_ISO_Left_Tab, 0x09},
        {XK_Shift_L, 0xA0},
        {XK_Shift_R, 0xA1},
        {XK_Control_L, 0xA2},
        {XK_Control_R, 0xA3},
        {XK_Alt_L, 0xA4},
        {XK_ISO_Level3_Shift, 0xA5},
        {XK_Super_L, 0x5B},
        {XK_Menu, 0x5D},
        {XK_Prior, 0x21},
        {XK_Next, 0x22},
        {XK_Left, 0x25},
        {XK_Down, 0x28},
        {XK_Print, 0x2C},
        {XK_Insert, 0x2D},
        {XK_Delete, 0x2E},
        {XK_Pause, 0x13},
        {XK_Caps_Lock, 0x14},
        {XK_Num_Lock, 0x90},
        // Keypad keys are the numpad, whatever their level 0 is named.
        {XK_KP_Insert, 0x60},
        {XK_KP_End, 0x61},
        {XK_KP_Home, 0x67},
        {XK_KP_Prior, 0x69},
        {XK_KP_7, 0x67},
        {XK_KP_Delete, 0x6E},
        {XK_KP_Enter, 0x0D},
        {XK_KP_Add, 0x6B},
        {XK_KP_Divide, 0x6F},
        {XK_semicolon, 0xBA},
        {XK_equal, 0xBB},
        {XK_comma, 0xBC},
        {XK_minus, 0xBD},
        {XK_period, 0xBE},
        {XK_slash, 0xBF},
        {XK_grave, 0xC0},
        {XK_bracketleft, 0xDB},
        {XK_backslash, 0xDC},
        {XK_bracketright, 0xDD},
        {XK_apostrophe, 0xDE},
        {XK_less, 0xE2},
        {XF86XK_AudioMute, 0xAD},
        {XF86XK_AudioRaiseVolume, 0xAF},
        {XF86XK_AudioPlay, 0xB3},
        {XF86XK_Back, 0xA6},
        // Shifted keysyms never name a key: the table is read at level 0.
        {XK_exclam, 0},
        {XK_colon, 0},
        {XK_Greek_alpha, 0},
        {0, 0},
        {0xFFFFFF, 0},
    };
    for (const auto& [keysym, vk] : cases) {
        EXPECT_EQ(virtualKeyForKeysym(keysym), vk) << std::hex << "keysym 0x" << keysym;
    }
}

TEST(VirtualKeys, QtKeys) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        int vk;
    };
    const Case cases[] = {
        {Qt::Key_A, {}, 0x41},
        {Qt::Key_Z, Qt::ShiftModifier, 0x5A},
        {Qt::Key_5, {}, 0x35},
        {Qt::Key_5, Qt::KeypadModifier, 0x65},
        {Qt::Key_F1, {}, 0x70},
        {Qt::Key_F24, {}, 0x87},
        {Qt::Key_Exclam, Qt::ShiftModifier, 0x31},
        {Qt::Key_ParenRight, Qt::ShiftModifier, 0x30},
        {Qt::Key_Asterisk, Qt::ShiftModifier, 0x38},
        {Qt::Key_Asterisk, Qt::KeypadModifier, 0x6A},
        {Qt::Key_Minus, {}, 0xBD},
        {Qt::Key_Minus, Qt::KeypadModifier, 0x6D},
        {Qt::Key_Enter, Qt::KeypadModifier, 0x0D},
        {Qt::Key_Return, {}, 0x0D},
        {Qt::Key_Escape, {}, 0x1B},
        {Qt::Key_Home, Qt::KeypadModifier, 0x24},
        {Qt::Key_Shift, {}, 0xA0},
        {Qt::Key_Control, {}, 0xA2},
        {Qt::Key_Alt, {}, 0xA4},
        {Qt::Key_AltGr, {}, 0xA5},
        {Qt::Key_Meta, {}, 0x5B},
        {Qt::Key_Question, Qt::ShiftModifier, 0xBF},
        {Qt::Key_VolumeMute, {}, 0xAD},
        {Qt::Key_unknown, {}, 0},
        {Qt::Key_Eacute, {}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(virtualKeyForQtKey(c.key, c.modifiers), c.vk) << std::hex << "Qt key 0x" << c.key;
    }
}

TEST(VirtualKeys, PointerButtons) {
    const std::pair<int, Qt::MouseButton> cases[] = {
        {1, Qt::LeftButton},    {2, Qt::MiddleButton}, {3, Qt::RightButton}, {4, Qt::NoButton},
        {5, Qt::NoButton},      {6, Qt::NoButton},     {7, Qt::NoButton},    {8, Qt::BackButton},
        {9, Qt::ForwardButton}, {0, Qt::NoButton},     {255, Qt::NoButton},
    };
    for (const auto& [button, expected] : cases) {
        EXPECT_EQ(qtButtonForX11Button(button), expected) << "button " << button;
    }
}

} // namespace
} // namespace talwyn::platform
