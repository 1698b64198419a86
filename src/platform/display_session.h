#pragma once
// Which display the program draws on. On a Wayland desktop it goes through
// XWayland whenever the session offers one: the skinned menus and pop-ups are
// placed at screen positions, which only X11 lets a program choose, and
// dragging, activation and synthetic test input behave as on X11. Native
// Wayland is the fallback for sessions without XWayland.

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

namespace talwyn::platform {

enum class SessionKind { X11, Wayland, Other };

// The session's variables, read through one function so tests can give their own.
using EnvironmentReader = std::function<QByteArray(const char* name)>;
EnvironmentReader processEnvironment();

SessionKind sessionKind(const EnvironmentReader& environment);
// The session the program runs in.
bool onWaylandSession();

// The Qt platform plugin to ask for, or empty to leave Qt's own choice: a
// platform named in QT_QPA_PLATFORM is kept as it stands.
QString chosenPlatform(const EnvironmentReader& environment);

// The program's arguments with "-platform <name>" added when a choice is
// made, so that programs the program starts inherit no forced platform.
std::vector<QByteArray> argumentsWithPlatform(int argc, char** argv, const EnvironmentReader& environment);

} // namespace talwyn::platform
