#include "pages/pointer_settings.h"

#include <algorithm>

namespace talwyn::pages {

namespace {
constexpr int kDoubleClickBase = 1600;
} // namespace

PointerRequest pointerRequestFor(const ProfileData& profile) {
    PointerRequest request;
    request.doubleClickMs = kDoubleClickBase - profile.doubleClickSpeed;
    const int speed = profile.pointerSpeed;
    request.mouseSpeed = speed > 1 ? 2 * speed - 2 : 2 * speed;
    if (profile.scrollByLine != 0) {
        request.wheelLines = profile.scrollLines;
    } else if (profile.scrollByPage != 0) {
        request.wheelLines = kWheelPageScroll;
    }
    if (profile.accelEnabled != 0) {
        const int level =
            std::clamp<int>(profile.accelLevel, 1, static_cast<int>(kAccelerationLevels.size()));
        request.acceleration = kAccelerationLevels[static_cast<size_t>(level - 1)];
    } else {
        request.acceleration = kAccelerationOff;
    }
    return request;
}

} // namespace talwyn::pages
