#pragma once
// The apply and the synchronization with the mouse: the pages' values go
// into the current slot, the slot files and the macro library are written,
// and the device owner hands the profile to the mouse; at start-up and on
// arrival the mouse tells which slot it uses. Runs on the UI thread.

#include "app/page_set.h"
#include "profiles/profile_set.h"

#include <QString>

#include <functional>

class QObject;

namespace talwyn::app {

class DeviceOwner;
struct ApplyOutcome;

class ProfileSync {
public:
    struct Parts {
        ProfileSet& profiles;
        const PageSet& pages;
        DeviceOwner& device;
        QObject& receiver; // answers are dropped once it is gone
        std::function<void(const QString& text)> warn;
        // The mouse uses this slot: it becomes the current one.
        std::function<void(int slot)> slotInUse;
        // An apply has finished and told the user what went wrong, if anything.
        std::function<void()> applied;
    };

    explicit ProfileSync(Parts parts);

    void apply();
    void synchronize();
    bool busy() const { return busy_ > 0; }

private:
    void finishApply(const ApplyOutcome& outcome, bool macrosSaved);

    Parts parts_;
    int busy_ = 0;
};

} // namespace talwyn::app
