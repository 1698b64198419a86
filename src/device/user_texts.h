#pragma once
// Texts about the mouse that the program, its pages and the firmware updater
// all show; written once so they cannot drift apart.

#include <string>

namespace talwyn::device {

inline constexpr char kMouseNotFound[] = "Talwyn PRO mouse not found !";
// In place of a version while no mouse answers.
inline constexpr char kNoFirmwareVersion[] = "-.--";

// A firmware number as its version text: 105 -> "1.05".
std::string firmwareVersionText(int number);

} // namespace talwyn::device
