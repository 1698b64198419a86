#pragma once
// What the main window asks of its five pages, and nothing more. A page is a
// child window of the main window; it keeps its state in its controls and
// trades it with a ProfileData. Every call comes on the UI thread.

#include "profiles/profile_data.h"

#include <QString>

#include <functional>

class QWidget;

namespace talwyn {
class MacroLibrary;
}

namespace talwyn::pages {

// The window of a page, as the host places, shows and hides it.
class Page {
public:
    virtual ~Page() = default;
    virtual QWidget& window() = 0;
};

// A page whose values belong to a profile.
class ProfilePage : public Page {
public:
    // Stores the page's values into `profile`.
    virtual void saveToProfile(ProfileData& profile) = 0;
    // Shows `profile`'s values on the page; a value the page cannot show as
    // it stands (the sensor page's active level) is corrected in `profile`.
    virtual void loadFromProfile(ProfileData& profile) = 0;
};

// The button page.
class ButtonPage : public ProfilePage {
public:
    // Sets the desktop's pointer settings (double-click time, speed, wheel,
    // acceleration) from `profile`; only the apply calls it.
    virtual void applyPointerSettings(const ProfileData& profile) = 0;
    // Rebuilds the macro choices from the macro library; called each time
    // the page is shown.
    virtual void refreshMacroMenus() = 0;
};

// The sensor page.
class SensorPage : public ProfilePage {
public:
    static constexpr int kLevelIndicators = 5;
    // Sets the indicator of `level` (0 to 4) and clears the other four, each
    // repainted; other values change nothing. The mouse's own resolution
    // button reaches the page this way.
    virtual void setActiveLevelIndicator(int level) = 0;
    // Whether the indicator of `level` (0 to 4) is set.
    virtual bool levelIndicatorSet(int level) const = 0;
};

// The lighting page.
class LightingPage : public ProfilePage {};

// The macro page: owner of the macro library.
class MacroPage : public Page {
public:
    virtual bool isRecording() const = 0;
    virtual MacroLibrary& macroLibrary() = 0;
    // Writes the whole library to its folder; false when it could not be written.
    virtual bool saveMacroList() = 0;
    // Runs after a macro was deleted, so the profile's buttons that carried
    // it can fall back to their defaults at once.
    virtual void setMacroDeletedHandler(std::function<void()> handler) = 0;
};

// The support page.
class SupportPage : public Page {
public:
    // The firmware version shown, e.g. "1.05" or "-.--".
    virtual void setFirmwareVersionText(const QString& text) = 0;
    virtual QString firmwareVersionText() const = 0;
    // The page's start-up: shows the mouse's firmware version and offers a
    // due update; `done` learns on the UI thread whether the program goes on
    // (false: the user declined the offer).
    virtual void checkFirmwareAtStartUp(std::function<void(bool goOn)> done) = 0;
};

} // namespace talwyn::pages
