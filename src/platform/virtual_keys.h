#pragma once
// Windows virtual-key codes: the key codes the profile files, macros and key
// names use everywhere, whatever the host system calls its keys.

#include <cstdint>

namespace talwyn::platform::vk {

inline constexpr uint8_t kNone = 0x00;
inline constexpr uint8_t kBack = 0x08;
inline constexpr uint8_t kTab = 0x09;
inline constexpr uint8_t kClear = 0x0C;
inline constexpr uint8_t kReturn = 0x0D;
inline constexpr uint8_t kPause = 0x13;
inline constexpr uint8_t kCapital = 0x14;
inline constexpr uint8_t kEscape = 0x1B;
inline constexpr uint8_t kSpace = 0x20;
inline constexpr uint8_t kPrior = 0x21;
inline constexpr uint8_t kNext = 0x22;
inline constexpr uint8_t kEnd = 0x23;
inline constexpr uint8_t kHome = 0x24;
inline constexpr uint8_t kLeft = 0x25;
inline constexpr uint8_t kUp = 0x26;
inline constexpr uint8_t kRight = 0x27;
inline constexpr uint8_t kDown = 0x28;
inline constexpr uint8_t kSelect = 0x29;
inline constexpr uint8_t kPrint = 0x2A;
inline constexpr uint8_t kExecute = 0x2B;
inline constexpr uint8_t kSnapshot = 0x2C;
inline constexpr uint8_t kInsert = 0x2D;
inline constexpr uint8_t kDelete = 0x2E;
inline constexpr uint8_t kHelp = 0x2F;
inline constexpr uint8_t k0 = 0x30; // '0' .. '9' follow
inline constexpr uint8_t kA = 0x41; // 'A' .. 'Z' follow
inline constexpr uint8_t kLWin = 0x5B;
inline constexpr uint8_t kRWin = 0x5C;
inline constexpr uint8_t kApps = 0x5D;
inline constexpr uint8_t kSleep = 0x5F;
inline constexpr uint8_t kNumpad0 = 0x60; // numpad 0 .. 9 follow
inline constexpr uint8_t kMultiply = 0x6A;
inline constexpr uint8_t kAdd = 0x6B;
inline constexpr uint8_t kSeparator = 0x6C;
inline constexpr uint8_t kSubtract = 0x6D;
inline constexpr uint8_t kDecimal = 0x6E;
inline constexpr uint8_t kDivide = 0x6F;
inline constexpr uint8_t kF1 = 0x70; // F1 .. F24 follow
inline constexpr uint8_t kNumLock = 0x90;
inline constexpr uint8_t kScroll = 0x91;
inline constexpr uint8_t kLShift = 0xA0;
inline constexpr uint8_t kRShift = 0xA1;
inline constexpr uint8_t kLControl = 0xA2;
inline constexpr uint8_t kRControl = 0xA3;
inline constexpr uint8_t kLMenu = 0xA4;
inline constexpr uint8_t kRMenu = 0xA5;
inline constexpr uint8_t kBrowserBack = 0xA6;
inline constexpr uint8_t kBrowserForward = 0xA7;
inline constexpr uint8_t kBrowserRefresh = 0xA8;
inline constexpr uint8_t kBrowserStop = 0xA9;
inline constexpr uint8_t kBrowserSearch = 0xAA;
inline constexpr uint8_t kBrowserFavorites = 0xAB;
inline constexpr uint8_t kBrowserHome = 0xAC;
inline constexpr uint8_t kVolumeMute = 0xAD;
inline constexpr uint8_t kVolumeDown = 0xAE;
inline constexpr uint8_t kVolumeUp = 0xAF;
inline constexpr uint8_t kMediaNextTrack = 0xB0;
inline constexpr uint8_t kMediaPrevTrack = 0xB1;
inline constexpr uint8_t kMediaStop = 0xB2;
inline constexpr uint8_t kMediaPlayPause = 0xB3;
inline constexpr uint8_t kLaunchMail = 0xB4;
inline constexpr uint8_t kLaunchMediaSelect = 0xB5;
inline constexpr uint8_t kLaunchApp1 = 0xB6;
inline constexpr uint8_t kLaunchApp2 = 0xB7;
inline constexpr uint8_t kOem1 = 0xBA;      // ;:
inline constexpr uint8_t kOemPlus = 0xBB;   // =+
inline constexpr uint8_t kOemComma = 0xBC;  // ,<
inline constexpr uint8_t kOemMinus = 0xBD;  // -_
inline constexpr uint8_t kOemPeriod = 0xBE; // .>
inline constexpr uint8_t kOem2 = 0xBF;      // /?
inline constexpr uint8_t kOem3 = 0xC0;      // `~
inline constexpr uint8_t kOem4 = 0xDB;      // [{
inline constexpr uint8_t kOem5 = 0xDC;      // \|
inline constexpr uint8_t kOem6 = 0xDD;      // ]}
inline constexpr uint8_t kOem7 = 0xDE;      // '"
inline constexpr uint8_t kOem102 = 0xE2;    // the extra key beside left Shift

} // namespace talwyn::platform::vk
