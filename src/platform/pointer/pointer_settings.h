#pragma once
// The desktop pointer settings a profile carries (double-click time, pointer
// speed, wheel lines, acceleration) as one request, and the backends that hand
// it to the running desktop, or to a log for demos and tests so they never
// touch the user's desktop.

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace talwyn::platform {

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

// Wheel lines per notch that means "one screen per notch".
inline constexpr int kWheelPageScroll = -1;

struct PointerRequest {
    int doubleClickMs = 0;
    int mouseSpeed = 0;            // 1..20 scale, 10 is neutral
    std::optional<int> wheelLines; // none: leave the wheel setting alone
    AccelerationTriple acceleration;

    bool operator==(const PointerRequest&) const = default;
};

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

// The log lines a request turns into, shared by the logging backend and tests.
QStringList describePointerRequest(const PointerRequest& request);

// The desktop's own speed scale: -1 slowest, 0 neutral, 1 fastest.
double desktopSpeedFor(const PointerRequest& request);

// Every backend the running session has a place for: GNOME's settings where
// the schema exists, Plasma's where Plasma runs, and the X server's pointer
// acceleration on an X11 session only (Wayland has no such control).
// Settings a desktop has no place for are skipped.
std::unique_ptr<PointerSettings> makeDesktopPointerSettings();

} // namespace talwyn::platform
