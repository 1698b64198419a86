#pragma once
// The desktop pointer settings a profile carries (double-click time, pointer
// speed, wheel lines, acceleration), worked out once from the profile and
// handed to a backend: the running desktop, or a log for demos and tests so
// they never touch the user's desktop.

#include "profiles/profile_data.h"

#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

namespace talwyn::pages {

// Two motion thresholds and an acceleration of 0, 1 or 2: above the first
// threshold the pointer moves twice as far, above the second (acceleration 2
// only) four times as far. All zero turns acceleration off.
struct AccelerationTriple {
    int firstThreshold = 0;
    int secondThreshold = 0;
    int acceleration = 0;

    bool operator==(const AccelerationTriple&) const = default;
};

inline constexpr AccelerationTriple kAccelerationOff{0, 0, 0};
// Levels 1 to 3 of the "Point Acceleration" slider: gentle, medium, strong.
inline constexpr std::array<AccelerationTriple, 3> kAccelerationLevels{{
    {12, 0, 1}, // doubles fast flicks only
    {6, 0, 1},  // doubles from moderate speed on
    {4, 12, 2}, // doubles early, quadruples fast flicks
}};

// Wheel lines per notch that means "one screen per notch".
inline constexpr int kWheelPageScroll = -1;

struct PointerRequest {
    int doubleClickMs = 0;
    int mouseSpeed = 0;            // 1..20 scale, 10 is neutral
    std::optional<int> wheelLines; // none: leave the wheel setting alone
    AccelerationTriple acceleration;

    bool operator==(const PointerRequest&) const = default;
};

// What the profile asks of the desktop: double-click time 1600 - speed,
// speed 2 x pointerSpeed (- 2 above 1), wheel lines from scrollByLine /
// scrollByPage, acceleration by level (clamped into 1..3) when enabled.
PointerRequest pointerRequestFor(const ProfileData& profile);

class PointerSettings {
public:
    virtual ~PointerSettings() = default;
    virtual void apply(const PointerRequest& request) = 0;
};

// Keeps one line per setting instead of changing anything; optionally also
// prints them to standard error so a simulated run shows what it would do.
class LoggingPointerSettings final : public PointerSettings {
public:
    explicit LoggingPointerSettings(bool echo = false) : echo_(echo) {}
    void apply(const PointerRequest& request) override;
    const QStringList& lines() const { return lines_; }

private:
    bool echo_;
    QStringList lines_;
};

// The Linux desktop: GNOME's mouse settings through gsettings where that
// schema exists, and the X server's pointer acceleration where the program
// runs on X11. Settings a desktop has no place for are skipped.
std::unique_ptr<PointerSettings> makeDesktopPointerSettings();

// The log lines a request turns into, shared by the logging backend and tests.
QStringList describePointerRequest(const PointerRequest& request);

} // namespace talwyn::pages
