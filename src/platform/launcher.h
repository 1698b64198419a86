#pragma once
// Handing web addresses to the desktop and starting other programs.

#include <QString>

namespace talwyn::platform {

class Launcher {
public:
    virtual ~Launcher() = default;
    // Opens `address` in the user's browser without waiting for it. False
    // when the desktop refused it.
    virtual bool openAddress(const QString& address) = 0;
    // Starts `program` with the single argument `argument`, in the program's
    // folder, and does not wait for it. False when it could not be started.
    virtual bool startProgram(const QString& program, const QString& argument) = 0;
};

class DesktopLauncher final : public Launcher {
public:
    bool openAddress(const QString& address) override;
    bool startProgram(const QString& program, const QString& argument) override;
};

} // namespace talwyn::platform
