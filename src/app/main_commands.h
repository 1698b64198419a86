#pragma once
// The main window's command numbers and the codes of its menus, shared by
// the window and the parts it hands its jobs to.

#include "profiles/profile_set.h"

namespace talwyn::app {

// Commands of the main window (WM_COMMAND numbers).
namespace main_command {
inline constexpr int kPageCount = 5;
inline constexpr int kFirstPage = 1000; // 1000..1004: button, sensor, lighting, macro, support
inline constexpr int kFirstSlot = 1007; // 1007..1011: slots 1..5
inline constexpr int kReset = 1031;
inline constexpr int kShowApplied = 1041;
inline constexpr int kApply = 1042;
inline constexpr int kHide = 1044;
inline constexpr int kVersionLabel = 1080;
// Slot menu buttons: 1020 is slot 1 ... 1016 is slot 5.
inline constexpr int kSlotMenuOfFirstSlot = 1020;
inline constexpr int kTrayMenu = 1200;

constexpr bool isPage(int id) {
    return id >= kFirstPage && id < kFirstPage + kPageCount;
}
constexpr bool isSlot(int id) {
    return id >= kFirstSlot && id < kFirstSlot + ProfileSet::kSlotCount;
}
constexpr bool isSlotMenu(int id) {
    return id <= kSlotMenuOfFirstSlot && id > kSlotMenuOfFirstSlot - ProfileSet::kSlotCount;
}
} // namespace main_command

// Codes of the slot menus and the tray menu.
enum class SlotMenuItem : int { Rename = 1, Save = 2, Export = 3, Import = 4, ToggleEnabled = 5 };
enum class TrayMenuItem : int { ConfigMouse = 100, Exit = 101 };

} // namespace talwyn::app
