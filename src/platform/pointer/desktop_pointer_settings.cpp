#include "platform/display_session.h"
#include "platform/pointer/gnome_pointer_settings.h"
#include "platform/pointer/kde_pointer_settings.h"
#include "platform/pointer/pointer_settings.h"
#include "platform/pointer/x11_pointer_settings.h"

#include <vector>

namespace talwyn::platform {

namespace {

class DesktopPointerSettings final : public PointerSettings {
public:
    explicit DesktopPointerSettings(std::vector<std::unique_ptr<PointerSettings>> backends)
        : backends_(std::move(backends)) {}

    void apply(const PointerRequest& request) override {
        for (const auto& backend : backends_) {
            backend->apply(request);
        }
    }

private:
    std::vector<std::unique_ptr<PointerSettings>> backends_;
};

bool onPlasma() {
    return qgetenv("XDG_CURRENT_DESKTOP").split(':').contains("KDE");
}

} // namespace

std::unique_ptr<PointerSettings> makeDesktopPointerSettings() {
    std::vector<std::unique_ptr<PointerSettings>> backends;
    if (auto gnome = std::make_unique<GnomePointerSettings>(); gnome->available()) {
        backends.push_back(std::move(gnome));
    }
    if (onPlasma()) {
        backends.push_back(
            std::make_unique<KdePointerSettings>(desktopConfigFolder(), "/sys/class/input", notifyPlasma));
    }
    if (sessionKind(processEnvironment()) == SessionKind::X11) {
        backends.push_back(std::make_unique<X11PointerSettings>());
    }
    return std::make_unique<DesktopPointerSettings>(std::move(backends));
}

} // namespace talwyn::platform
