#pragma once
// The one owner of the mouse in the program. Every device command (apply,
// synchronization, discovery and firmware version, surface analysis, the
// mouse arriving and leaving) runs whole on its worker, one after the other
// in the order posted, so the reports of two commands never interleave and
// the handle never changes under a running command. Answers go back to the
// UI thread, which never waits for the mouse. Nothing else in the program
// uses the device link.
//
// Quitting never waits for the mouse either: when the owner goes, the link
// is cancelled and the pauses end, so the running command stops at its next
// report and those still queued run without the mouse (an apply still
// writes its slot files whole).

#include "app/device_library.h"
#include "device/device_link.h"
#include "pages/device_access.h"
#include "profiles/profile_set.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace talwyn::app {

class SerialWorker;

// What an apply achieved.
struct ApplyOutcome {
    std::vector<int> unsavedSlots;
    // The mouse took the profile and confirmed its activation.
    bool mouseFound = false;
};

class DeviceOwner final : public pages::DeviceAccess {
public:
    using Answer = std::function<void()>;
    // What a command has to work with. `answer` runs a closure on the UI
    // thread, unless the command's receiver is gone by then.
    struct Context {
        device::DeviceLink& link;
        DeviceLibrary& library;
        std::function<void(Answer)> answer;
    };
    using Command = std::function<void(Context&)>;

    // Made on the UI thread. `interruptPauses` ends the link's pauses now and
    // for good; empty when they take no time anyway.
    DeviceOwner(device::DeviceLink& link, DeviceLibrary& library, std::function<void()> interruptPauses = {});
    ~DeviceOwner() override;
    DeviceOwner(const DeviceOwner&) = delete;
    DeviceOwner& operator=(const DeviceOwner&) = delete;

    // Queues `command` behind every command posted before it.
    void post(QObject* receiver, Command command);
    // Blocks until every command posted so far has run; for unattended runs and tests.
    void waitIdle();

    // With a mouse, tells `applying` which slot goes to it, uploads that
    // profile and activates it; then, mouse or not, writes the five slot
    // files of `snapshot` before `done` hears of both.
    void apply(QObject* receiver, ProfileSet snapshot, std::function<void(int slot)> applying,
               std::function<void(const ApplyOutcome&)> done);
    // With a mouse, the slot it uses (slot 0 when it does not say); no answer without one.
    void synchronize(QObject* receiver, std::function<void(int slot)> answer);
    // After an arrival notice, unless connected: lets the mouse settle, opens
    // it and answers its firmware number (none when it cannot be opened);
    // once open, synchronizes and registers for its events again.
    void arrive(QObject* receiver, std::function<void(std::optional<int> number)> version,
                std::function<void(int slot)> slot);
    // After a removal notice, when connected: closes the link and the library's device.
    void remove(QObject* receiver, std::function<void()> done);

    void findFirmware(QObject* receiver, std::function<void(std::optional<int> number)> answer) override;
    void startSurfaceAnalysis(QObject* receiver, std::function<void(bool found)> answer) override;
    void readSurfaceAnalysis(QObject* receiver, std::function<void(int value)> answer) override;

private:
    device::DeviceLink& link_;
    DeviceLibrary& library_;
    std::function<void()> interruptPauses_;
    // Lives on the UI thread; answers are its queued calls, so they keep
    // their order and also run inside the pop-ups' modal loops.
    QObject answers_;
    // Last: joined first, while everything its commands use still exists.
    std::unique_ptr<SerialWorker> worker_;
};

} // namespace talwyn::app
