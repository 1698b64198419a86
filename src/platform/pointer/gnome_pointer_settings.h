#pragma once
// GNOME keeps the mouse settings in the org.gnome.desktop.peripherals.mouse
// schema (double-click time, speed, acceleration profile), on X11 and
// Wayland alike; it has no wheel-lines setting.

#include "platform/pointer/pointer_settings.h"

namespace talwyn::platform {

class GnomePointerSettings final : public PointerSettings {
public:
    GnomePointerSettings();
    // False where gsettings or the schema is missing; apply() then does nothing.
    bool available() const { return available_; }
    void apply(const PointerRequest& request) override;

private:
    void set(const QString& key, const QString& value) const;

    QString program_;
    bool available_ = false;
};

} // namespace talwyn::platform
