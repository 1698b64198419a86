// The desktop backend of the pointer settings. GNOME keeps the mouse settings
// in the org.gnome.desktop.peripherals.mouse schema (double-click time, speed,
// acceleration profile); plain X11 offers only the pointer acceleration.
#include "pages/pointer_settings.h"

#include <QProcess>
#include <QStandardPaths>

#include <X11/Xlib.h>

#include <algorithm>
#include <memory>

namespace talwyn::pages {

namespace {

constexpr char kGnomeMouseSchema[] = "org.gnome.desktop.peripherals.mouse";
constexpr int kToolTimeoutMs = 3000;
constexpr double kNeutralSpeed = 10.0;

bool runGsettings(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(kToolTimeoutMs);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

class GnomeSettings {
public:
    GnomeSettings() : program_(QStandardPaths::findExecutable(QStringLiteral("gsettings"))) {
        available_ = !program_.isEmpty() && runGsettings(program_, {QStringLiteral("list-keys"),
                                                                    QString::fromLatin1(kGnomeMouseSchema)});
    }

    void apply(const PointerRequest& request) const {
        if (!available_) {
            return;
        }
        set(QStringLiteral("double-click"), QString::number(request.doubleClickMs));
        // GNOME's speed runs from -1 to 1 with 0 neutral; the profile's 1..20 has 10 neutral.
        const double speed = std::clamp((request.mouseSpeed - kNeutralSpeed) / kNeutralSpeed, -1.0, 1.0);
        set(QStringLiteral("speed"), QString::number(speed, 'f', 2));
        set(QStringLiteral("accel-profile"),
            request.acceleration.acceleration == 0 ? QStringLiteral("flat") : QStringLiteral("adaptive"));
    }

private:
    void set(const QString& key, const QString& value) const {
        runGsettings(program_, {QStringLiteral("set"), QString::fromLatin1(kGnomeMouseSchema), key, value});
    }

    QString program_;
    bool available_ = false;
};

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

// X11 multiplies motion above the threshold by numerator / denominator.
void applyX11Acceleration(const AccelerationTriple& triple) {
    if (!qEnvironmentVariableIsSet("DISPLAY")) {
        return;
    }
    const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display) {
        return;
    }
    const int numerator = triple.acceleration == 0 ? 1 : 1 << triple.acceleration;
    XChangePointerControl(display.get(), True, True, numerator, 1, triple.firstThreshold);
    XSync(display.get(), False);
}

class DesktopPointerSettings final : public PointerSettings {
public:
    void apply(const PointerRequest& request) override {
        gnome_.apply(request);
        applyX11Acceleration(request.acceleration);
    }

private:
    GnomeSettings gnome_;
};

} // namespace

std::unique_ptr<PointerSettings> makeDesktopPointerSettings() {
    return std::make_unique<DesktopPointerSettings>();
}

} // namespace talwyn::pages
