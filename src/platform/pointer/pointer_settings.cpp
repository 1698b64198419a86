#include "platform/pointer/pointer_settings.h"

#include <algorithm>
#include <cstdio>

namespace talwyn::platform {

namespace {
constexpr double kNeutralSpeed = 10.0;
} // namespace

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

double desktopSpeedFor(const PointerRequest& request) {
    return std::clamp((request.mouseSpeed - kNeutralSpeed) / kNeutralSpeed, -1.0, 1.0);
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

} // namespace talwyn::platform
