#include "pages/pointer_settings.h"

#include <algorithm>
#include <cstdio>

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

QStringList describePointerRequest(const PointerRequest& request) {
    QStringList lines;
    lines << QStringLiteral("double-click time %1 ms").arg(request.doubleClickMs);
    lines << QStringLiteral("mouse speed %1").arg(request.mouseSpeed);
    if (request.wheelLines == kWheelPageScroll) {
        lines << QStringLiteral("wheel scroll page");
    } else if (request.wheelLines) {
        lines << QStringLiteral("wheel scroll lines %1").arg(*request.wheelLines);
    }
    const AccelerationTriple& a = request.acceleration;
    lines << QStringLiteral("acceleration %1 %2 %3")
                 .arg(a.firstThreshold)
                 .arg(a.secondThreshold)
                 .arg(a.acceleration);
    return lines;
}

void LoggingPointerSettings::apply(const PointerRequest& request) {
    const QStringList lines = describePointerRequest(request);
    if (echo_) {
        for (const QString& line : lines) {
            std::fprintf(stderr, "pointer settings: %s\n", qPrintable(line));
        }
    }
    lines_ << lines;
}

} // namespace talwyn::pages
