#include "platform/qt_virtual_keys.h"

#include "platform/virtual_keys.h"

#include <algorithm>
#include <array>

namespace talwyn::platform {

namespace {

struct QtKeyVk {
    int key;
    uint8_t vk;
};

constexpr std::array kNamedKeys{
    QtKeyVk{Qt::Key_Backspace, vk::kBack},
    QtKeyVk{Qt::Key_Tab, vk::kTab},
    QtKeyVk{Qt::Key_Backtab, vk::kTab},
    QtKeyVk{Qt::Key_Clear, vk::kClear},
    QtKeyVk{Qt::Key_Return, vk::kReturn},
    QtKeyVk{Qt::Key_Enter, vk::kReturn},
    QtKeyVk{Qt::Key_Pause, vk::kPause},
    QtKeyVk{Qt::Key_CapsLock, vk::kCapital},
    QtKeyVk{Qt::Key_Escape, vk::kEscape},
    QtKeyVk{Qt::Key_Space, vk::kSpace},
    QtKeyVk{Qt::Key_PageUp, vk::kPrior},
    QtKeyVk{Qt::Key_PageDown, vk::kNext},
    QtKeyVk{Qt::Key_End, vk::kEnd},
    QtKeyVk{Qt::Key_Home, vk::kHome},
    QtKeyVk{Qt::Key_Left, vk::kLeft},
    QtKeyVk{Qt::Key_Up, vk::kUp},
    QtKeyVk{Qt::Key_Right, vk::kRight},
    QtKeyVk{Qt::Key_Down, vk::kDown},
    QtKeyVk{Qt::Key_Select, vk::kSelect},
    QtKeyVk{Qt::Key_Execute, vk::kExecute},
    QtKeyVk{Qt::Key_Print, vk::kSnapshot},
    QtKeyVk{Qt::Key_Insert, vk::kInsert},
    QtKeyVk{Qt::Key_Delete, vk::kDelete},
    QtKeyVk{Qt::Key_Help, vk::kHelp},
    QtKeyVk{Qt::Key_Meta, vk::kLWin},
    QtKeyVk{Qt::Key_Super_L, vk::kLWin},
    QtKeyVk{Qt::Key_Super_R, vk::kRWin},
    QtKeyVk{Qt::Key_Menu, vk::kApps},
    QtKeyVk{Qt::Key_NumLock, vk::kNumLock},
    QtKeyVk{Qt::Key_ScrollLock, vk::kScroll},
    QtKeyVk{Qt::Key_Shift, vk::kLShift},
    QtKeyVk{Qt::Key_Control, vk::kLControl},
    QtKeyVk{Qt::Key_Alt, vk::kLMenu},
    QtKeyVk{Qt::Key_AltGr, vk::kRMenu},
    QtKeyVk{Qt::Key_Semicolon, vk::kOem1},
    QtKeyVk{Qt::Key_Colon, vk::kOem1},
    QtKeyVk{Qt::Key_Equal, vk::kOemPlus},
    QtKeyVk{Qt::Key_Plus, vk::kOemPlus},
    QtKeyVk{Qt::Key_Comma, vk::kOemComma},
    QtKeyVk{Qt::Key_Less, vk::kOemComma},
    QtKeyVk{Qt::Key_Minus, vk::kOemMinus},
    QtKeyVk{Qt::Key_Underscore, vk::kOemMinus},
    QtKeyVk{Qt::Key_Period, vk::kOemPeriod},
    QtKeyVk{Qt::Key_Greater, vk::kOemPeriod},
    QtKeyVk{Qt::Key_Slash, vk::kOem2},
    QtKeyVk{Qt::Key_Question, vk::kOem2},
    QtKeyVk{Qt::Key_QuoteLeft, vk::kOem3},
    QtKeyVk{Qt::Key_AsciiTilde, vk::kOem3},
    QtKeyVk{Qt::Key_BracketLeft, vk::kOem4},
    QtKeyVk{Qt::Key_BraceLeft, vk::kOem4},
    QtKeyVk{Qt::Key_Backslash, vk::kOem5},
    QtKeyVk{Qt::Key_Bar, vk::kOem5},
    QtKeyVk{Qt::Key_BracketRight, vk::kOem6},
    QtKeyVk{Qt::Key_BraceRight, vk::kOem6},
    QtKeyVk{Qt::Key_Apostrophe, vk::kOem7},
    QtKeyVk{Qt::Key_QuoteDbl, vk::kOem7},
    // The shifted digits of a US layout.
    QtKeyVk{Qt::Key_ParenRight, vk::k0},
    QtKeyVk{Qt::Key_Exclam, vk::k0 + 1},
    QtKeyVk{Qt::Key_At, vk::k0 + 2},
    QtKeyVk{Qt::Key_NumberSign, vk::k0 + 3},
    QtKeyVk{Qt::Key_Dollar, vk::k0 + 4},
    QtKeyVk{Qt::Key_Percent, vk::k0 + 5},
    QtKeyVk{Qt::Key_AsciiCircum, vk::k0 + 6},
    QtKeyVk{Qt::Key_Ampersand, vk::k0 + 7},
    QtKeyVk{Qt::Key_Asterisk, vk::k0 + 8},
    QtKeyVk{Qt::Key_ParenLeft, vk::k0 + 9},
    QtKeyVk{Qt::Key_Back, vk::kBrowserBack},
    QtKeyVk{Qt::Key_Forward, vk::kBrowserForward},
    QtKeyVk{Qt::Key_Refresh, vk::kBrowserRefresh},
    QtKeyVk{Qt::Key_Stop, vk::kBrowserStop},
    QtKeyVk{Qt::Key_Search, vk::kBrowserSearch},
    QtKeyVk{Qt::Key_Favorites, vk::kBrowserFavorites},
    QtKeyVk{Qt::Key_HomePage, vk::kBrowserHome},
    QtKeyVk{Qt::Key_VolumeMute, vk::kVolumeMute},
    QtKeyVk{Qt::Key_VolumeDown, vk::kVolumeDown},
    QtKeyVk{Qt::Key_VolumeUp, vk::kVolumeUp},
    QtKeyVk{Qt::Key_MediaNext, vk::kMediaNextTrack},
    QtKeyVk{Qt::Key_MediaPrevious, vk::kMediaPrevTrack},
    QtKeyVk{Qt::Key_MediaStop, vk::kMediaStop},
    QtKeyVk{Qt::Key_MediaPlay, vk::kMediaPlayPause},
    QtKeyVk{Qt::Key_MediaTogglePlayPause, vk::kMediaPlayPause},
    QtKeyVk{Qt::Key_LaunchMail, vk::kLaunchMail},
    QtKeyVk{Qt::Key_LaunchMedia, vk::kLaunchMediaSelect},
    QtKeyVk{Qt::Key_Sleep, vk::kSleep},
};

// Keypad keys other than the digits keep their own codes.
constexpr std::array kKeypadKeys{
    QtKeyVk{Qt::Key_Asterisk, vk::kMultiply}, QtKeyVk{Qt::Key_Plus, vk::kAdd},
    QtKeyVk{Qt::Key_Minus, vk::kSubtract},    QtKeyVk{Qt::Key_Slash, vk::kDivide},
    QtKeyVk{Qt::Key_Period, vk::kDecimal},    QtKeyVk{Qt::Key_Comma, vk::kSeparator},
};

template <std::size_t N> uint8_t lookUp(const std::array<QtKeyVk, N>& table, int key) {
    const auto* entry =
        std::find_if(table.begin(), table.end(), [key](const QtKeyVk& e) { return e.key == key; });
    return entry != table.end() ? entry->vk : vk::kNone;
}

} // namespace

uint8_t virtualKeyForQtKey(int key, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return static_cast<uint8_t>((keypad ? vk::kNumpad0 : vk::k0) + (key - Qt::Key_0));
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return static_cast<uint8_t>(vk::kA + (key - Qt::Key_A));
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return static_cast<uint8_t>(vk::kF1 + (key - Qt::Key_F1));
    }
    if (keypad) {
        if (const uint8_t code = lookUp(kKeypadKeys, key); code != vk::kNone) {
            return code;
        }
    }
    return lookUp(kNamedKeys, key);
}

} // namespace talwyn::platform
