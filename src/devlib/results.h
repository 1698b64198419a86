#pragma once
// What the library's exports answer, and the profile numbers they take.

#include <cstdint>

namespace talwyn::devlib {

inline constexpr uint8_t kResultOk = 1;
inline constexpr uint8_t kResultInvalidArgument = 2;
inline constexpr uint8_t kResultCaptureStarted = 5;
inline constexpr uint8_t kResultDeviceError = 20;
inline constexpr uint8_t kResultNoDevice = 255;

constexpr bool isProfileNumber(int32_t profile) {
    return profile >= 1 && profile <= 5;
}

} // namespace talwyn::devlib
