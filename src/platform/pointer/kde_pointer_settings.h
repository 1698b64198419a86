#pragma once
// Plasma's pointer settings, on X11 and Wayland. Plasma reads the
// double-click time and wheel lines from kdeglobals ([KDE]), the X11 pointer
// speed and profile from kcminputrc ([Mouse]) and, on Wayland, KWin reads them
// per input device from kcminputrc ([Libinput][vendor][product][name]). The
// files are written first, then running programs are told: Plasma's programs
// take double-click time and wheel lines at once, KWin takes a device's speed
// and profile at once through its input-device objects and from the file when
// the mouse is plugged in again or at the next login.

#include "platform/pointer/pointer_settings.h"

#include <filesystem>
#include <functional>
#include <vector>

namespace talwyn::platform {

// An input device as the kernel lists it under /sys/class/input.
struct InputDevice {
    QString node; // "event5"
    int vendor = 0;
    int product = 0;
    QString name;

    bool operator==(const InputDevice&) const = default;
};

// The event devices of the Talwyn PRO under `inputClassFolder`; devices
// whose files cannot be read are left out.
std::vector<InputDevice> talwynInputDevices(const std::filesystem::path& inputClassFolder);

class KdePointerSettings final : public PointerSettings {
public:
    // Told which devices were written, after the files are saved.
    using Notifier = std::function<void(const PointerRequest&, const std::vector<InputDevice>&)>;

    KdePointerSettings(std::filesystem::path configFolder, std::filesystem::path inputClassFolder,
                       Notifier notify);
    void apply(const PointerRequest& request) override;

private:
    std::filesystem::path configFolder_;
    std::filesystem::path inputClassFolder_;
    Notifier notify_;
};

// Sends Plasma's change notices over the session bus without waiting for
// any answer; does nothing where no session bus runs.
void notifyPlasma(const PointerRequest& request, const std::vector<InputDevice>& devices);

// The configuration folder of the user's desktop (XDG_CONFIG_HOME or ~/.config).
std::filesystem::path desktopConfigFolder();

} // namespace talwyn::platform
