#pragma once
// The mouse coming, going and reporting: arrival and removal notices of the
// desktop, the firmware version they bring, and the resolution-level events
// the device library reports on its reader thread. Everything is handled on
// the UI thread; the device commands run on the device owner's worker.

#include "app/page_set.h"
#include "platform/owner_thread_queue.h"
#include "profiles/profile_set.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QObject;

namespace talwyn::platform {
class DeviceNotifier;
}

namespace talwyn::app {

class DeviceLibrary;
class DeviceOwner;

class MouseConnection {
public:
    struct Parts {
        ProfileSet& profiles;
        const PageSet& pages;
        DeviceOwner& device;
        DeviceLibrary& library;
        platform::DeviceNotifier& notifier;
        QObject& receiver; // answers and notices are dropped once it is gone
        std::function<void(const QString& text)> warn;
        // The mouse uses this slot: it becomes the current one.
        std::function<void(int slot)> slotInUse;
    };

    explicit MouseConnection(Parts parts);
    // Stops the events: none runs once this returns.
    ~MouseConnection();
    MouseConnection(const MouseConnection&) = delete;
    MouseConnection& operator=(const MouseConnection&) = delete;

    // Loads the device library and takes the mouse's events from it.
    void listenToEvents();
    // Follows the desktop's arrival and removal notices; warns when it cannot.
    void watchPlugging();

private:
    void onArrived(const QString& interfacePath);
    void onRemoved(const QString& interfacePath);
    void onEvent(uint8_t code, std::optional<uint8_t> data);
    void showFirmwareVersion(const QString& text);

    Parts parts_;
    platform::OwnerThreadQueue uiQueue_;
};

} // namespace talwyn::app
