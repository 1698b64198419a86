#include "platform/pointer/gnome_pointer_settings.h"

#include <QProcess>
#include <QStandardPaths>

namespace talwyn::platform {

namespace {

constexpr char kGnomeMouseSchema[] = "org.gnome.desktop.peripherals.mouse";
constexpr int kToolTimeoutMs = 3000;

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

} // namespace

GnomePointerSettings::GnomePointerSettings()
    : program_(QStandardPaths::findExecutable(QStringLiteral("gsettings"))) {
    available_ = !program_.isEmpty() && runGsettings(program_, {QStringLiteral("list-keys"),
                                                                QString::fromLatin1(kGnomeMouseSchema)});
}

void GnomePointerSettings::apply(const PointerRequest& request) {
    if (!available_) {
        return;
    }
    set(QStringLiteral("double-click"), QString::number(request.doubleClickMs));
    set(QStringLiteral("speed"), QString::number(desktopSpeedFor(request), 'f', 2));
    set(QStringLiteral("accel-profile"),
        request.acceleration.acceleration == 0 ? QStringLiteral("flat") : QStringLiteral("adaptive"));
}

void GnomePointerSettings::set(const QString& key, const QString& value) const {
    runGsettings(program_, {QStringLiteral("set"), QString::fromLatin1(kGnomeMouseSchema), key, value});
}

} // namespace talwyn::platform
