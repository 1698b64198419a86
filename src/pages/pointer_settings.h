#pragma once
// The desktop pointer settings a profile asks for; the desktop backends that
// carry them out live in the platform layer.

#include "platform/pointer/pointer_settings.h"
#include "profiles/profile_data.h"

#include <array>

namespace talwyn::pages {

using platform::AccelerationTriple;
using platform::describePointerRequest;
using platform::kAccelerationOff;
using platform::kWheelPageScroll;
using platform::LoggingPointerSettings;
using platform::PointerRequest;
using platform::PointerSettings;

// Levels 1 to 3 of the "Point Acceleration" slider: gentle, medium, strong.
inline constexpr std::array<AccelerationTriple, 3> kAccelerationLevels{{
    {12, 0, 1}, // doubles fast flicks only
    {6, 0, 1},  // doubles from moderate speed on
    {4, 12, 2}, // doubles early, quadruples fast flicks
}};

// What the profile asks of the desktop: double-click time 1600 - speed,
// speed 2 x pointerSpeed (- 2 above 1), wheel lines from scrollByLine /
// scrollByPage, acceleration by level (clamped into 1..3) when enabled.
PointerRequest pointerRequestFor(const ProfileData& profile);

} // namespace talwyn::pages
