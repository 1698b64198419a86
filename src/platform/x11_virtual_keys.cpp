#include "platform/x11_virtual_keys.h"

#include "platform/virtual_keys.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include <algorithm>
#include <array>
#include <utility>

namespace talwyn::platform {

namespace {

struct KeysymVk {
    uint32_t keysym;
    uint8_t vk;
};

constexpr std::array kNamedKeys{
    KeysymVk{XK_BackSpace, vk::kBack},
    KeysymVk{XK_Tab, vk::kTab},
    KeysymVk{XK_ISO_Left_Tab, vk::kTab},
    KeysymVk{XK_Clear, vk::kClear},
    KeysymVk{XK_Return, vk::kReturn},
    KeysymVk{XK_Pause, vk::kPause},
    KeysymVk{XK_Break, vk::kPause},
    KeysymVk{XK_Caps_Lock, vk::kCapital},
    KeysymVk{XK_Escape, vk::kEscape},
    KeysymVk{XK_space, vk::kSpace},
    KeysymVk{XK_Prior, vk::kPrior},
    KeysymVk{XK_Next, vk::kNext},
    KeysymVk{XK_End, vk::kEnd},
    KeysymVk{XK_Home, vk::kHome},
    KeysymVk{XK_Left, vk::kLeft},
    KeysymVk{XK_Up, vk::kUp},
    KeysymVk{XK_Right, vk::kRight},
    KeysymVk{XK_Down, vk::kDown},
    KeysymVk{XK_Select, vk::kSelect},
    KeysymVk{XK_Execute, vk::kExecute},
    KeysymVk{XK_Print, vk::kSnapshot},
    KeysymVk{XK_Sys_Req, vk::kSnapshot},
    KeysymVk{XK_Insert, vk::kInsert},
    KeysymVk{XK_Delete, vk::kDelete},
    KeysymVk{XK_Help, vk::kHelp},
    KeysymVk{XK_Super_L, vk::kLWin},
    KeysymVk{XK_Super_R, vk::kRWin},
    KeysymVk{XK_Menu, vk::kApps},
    KeysymVk{XK_Num_Lock, vk::kNumLock},
    KeysymVk{XK_Scroll_Lock, vk::kScroll},
    KeysymVk{XK_Shift_L, vk::kLShift},
    KeysymVk{XK_Shift_R, vk::kRShift},
    KeysymVk{XK_Control_L, vk::kLControl},
    KeysymVk{XK_Control_R, vk::kRControl},
    KeysymVk{XK_Alt_L, vk::kLMenu},
    KeysymVk{XK_Meta_L, vk::kLMenu},
    KeysymVk{XK_Alt_R, vk::kRMenu},
    KeysymVk{XK_ISO_Level3_Shift, vk::kRMenu},
    // Keypad: the navigation keysyms sit at level 0 of the digit keys.
    KeysymVk{XK_KP_Insert, vk::kNumpad0},
    KeysymVk{XK_KP_End, vk::kNumpad0 + 1},
    KeysymVk{XK_KP_Down, vk::kNumpad0 + 2},
    KeysymVk{XK_KP_Next, vk::kNumpad0 + 3},
    KeysymVk{XK_KP_Left, vk::kNumpad0 + 4},
    KeysymVk{XK_KP_Begin, vk::kNumpad0 + 5},
    KeysymVk{XK_KP_Right, vk::kNumpad0 + 6},
    KeysymVk{XK_KP_Home, vk::kNumpad0 + 7},
    KeysymVk{XK_KP_Up, vk::kNumpad0 + 8},
    KeysymVk{XK_KP_Prior, vk::kNumpad0 + 9},
    KeysymVk{XK_KP_Delete, vk::kDecimal},
    KeysymVk{XK_KP_Decimal, vk::kDecimal},
    KeysymVk{XK_KP_Multiply, vk::kMultiply},
    KeysymVk{XK_KP_Add, vk::kAdd},
    KeysymVk{XK_KP_Separator, vk::kSeparator},
    KeysymVk{XK_KP_Subtract, vk::kSubtract},
    KeysymVk{XK_KP_Divide, vk::kDivide},
    KeysymVk{XK_KP_Enter, vk::kReturn},
    KeysymVk{XK_semicolon, vk::kOem1},
    KeysymVk{XK_equal, vk::kOemPlus},
    KeysymVk{XK_comma, vk::kOemComma},
    KeysymVk{XK_minus, vk::kOemMinus},
    KeysymVk{XK_period, vk::kOemPeriod},
    KeysymVk{XK_slash, vk::kOem2},
    KeysymVk{XK_grave, vk::kOem3},
    KeysymVk{XK_bracketleft, vk::kOem4},
    KeysymVk{XK_backslash, vk::kOem5},
    KeysymVk{XK_bracketright, vk::kOem6},
    KeysymVk{XK_apostrophe, vk::kOem7},
    KeysymVk{XK_less, vk::kOem102},
    KeysymVk{XF86XK_Back, vk::kBrowserBack},
    KeysymVk{XF86XK_Forward, vk::kBrowserForward},
    KeysymVk{XF86XK_Reload, vk::kBrowserRefresh},
    KeysymVk{XF86XK_Stop, vk::kBrowserStop},
    KeysymVk{XF86XK_Search, vk::kBrowserSearch},
    KeysymVk{XF86XK_Favorites, vk::kBrowserFavorites},
    KeysymVk{XF86XK_HomePage, vk::kBrowserHome},
    KeysymVk{XF86XK_AudioMute, vk::kVolumeMute},
    KeysymVk{XF86XK_AudioLowerVolume, vk::kVolumeDown},
    KeysymVk{XF86XK_AudioRaiseVolume, vk::kVolumeUp},
    KeysymVk{XF86XK_AudioNext, vk::kMediaNextTrack},
    KeysymVk{XF86XK_AudioPrev, vk::kMediaPrevTrack},
    KeysymVk{XF86XK_AudioStop, vk::kMediaStop},
    KeysymVk{XF86XK_AudioPlay, vk::kMediaPlayPause},
    KeysymVk{XF86XK_AudioPause, vk::kMediaPlayPause},
    KeysymVk{XF86XK_Mail, vk::kLaunchMail},
    KeysymVk{XF86XK_AudioMedia, vk::kLaunchMediaSelect},
    KeysymVk{XF86XK_MyComputer, vk::kLaunchApp1},
    KeysymVk{XF86XK_Calculator, vk::kLaunchApp2},
    KeysymVk{XF86XK_Sleep, vk::kSleep},
};

struct KeysymRange {
    uint32_t first;
    uint32_t last;
    uint8_t firstVk;
};

constexpr std::array kRanges{
    KeysymRange{XK_a, XK_z, vk::kA},
    KeysymRange{XK_A, XK_Z, vk::kA}, // layouts whose letter keys carry capitals at level 0
    KeysymRange{XK_0, XK_9, vk::k0},
    KeysymRange{XK_KP_0, XK_KP_9, vk::kNumpad0},
    KeysymRange{XK_F1, XK_F24, vk::kF1},
};

} // namespace

uint8_t virtualKeyForKeysym(uint32_t keysym) {
    for (const KeysymRange& range : kRanges) {
        if (keysym >= range.first && keysym <= range.last) {
            return static_cast<uint8_t>(range.firstVk + (keysym - range.first));
        }
    }
    const auto* named = std::find_if(kNamedKeys.begin(), kNamedKeys.end(),
                                     [keysym](const KeysymVk& e) { return e.keysym == keysym; });
    return named != kNamedKeys.end() ? named->vk : vk::kNone;
}

} // namespace talwyn::platform
