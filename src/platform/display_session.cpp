#include "platform/display_session.h"

#include <QtGlobal>

namespace talwyn::platform {

EnvironmentReader processEnvironment() {
    return [](const char* name) { return qgetenv(name); };
}

SessionKind sessionKind(const EnvironmentReader& environment) {
    // A nested or remote compositor may leave XDG_SESSION_TYPE at "tty":
    // its socket name is what a Wayland client connects to.
    const QByteArray type = environment("XDG_SESSION_TYPE");
    if (type == "wayland" || !environment("WAYLAND_DISPLAY").isEmpty()) {
        return SessionKind::Wayland;
    }
    if (type == "x11" || !environment("DISPLAY").isEmpty()) {
        return SessionKind::X11;
    }
    return SessionKind::Other;
}

bool onWaylandSession() {
    return sessionKind(processEnvironment()) == SessionKind::Wayland;
}

QString chosenPlatform(const EnvironmentReader& environment) {
    if (!environment("QT_QPA_PLATFORM").isEmpty() || sessionKind(environment) != SessionKind::Wayland) {
        return {};
    }
    return environment("DISPLAY").isEmpty() ? QStringLiteral("wayland") : QStringLiteral("xcb");
}

std::vector<QByteArray> argumentsWithPlatform(int argc, char** argv, const EnvironmentReader& environment) {
    std::vector<QByteArray> arguments(argv, argv + argc);
    const QString platform = chosenPlatform(environment);
    if (!platform.isEmpty() && !arguments.empty()) {
        arguments.insert(arguments.begin() + 1, {QByteArrayLiteral("-platform"), platform.toLatin1()});
    }
    return arguments;
}

} // namespace talwyn::platform
