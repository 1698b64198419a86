#include "app/device_owner.h"

#include "app/device_events.h"
#include "app/serial_worker.h"
#include "device/command_outcome.h"
#include "device/device_commands.h"

#include <QPointer>

#include <chrono>

namespace talwyn::app {

namespace {

constexpr std::chrono::milliseconds kArrivalSettle{900};

// ReadActiveProfile with the fallback to the first slot.
int activeSlot(device::DeviceLink& link) {
    uint8_t slot = 0;
    if (device::ReadActiveProfile(link, slot) != device::CommandStatus::Done) {
        slot = 0;
    }
    return slot;
}

} // namespace

DeviceOwner::DeviceOwner(device::DeviceLink& link, DeviceLibrary& library,
                         std::function<void()> interruptPauses)
    : link_(link), library_(library), interruptPauses_(std::move(interruptPauses)),
      worker_(std::make_unique<SerialWorker>()) {}

DeviceOwner::~DeviceOwner() {
    link_.cancel();
    if (interruptPauses_) {
        interruptPauses_();
    }
    worker_.reset();
}

void DeviceOwner::post(QObject* receiver, Command command) {
    // The guard is made and read on the UI thread only; the worker just carries it.
    auto guard = std::make_shared<QPointer<QObject>>(receiver);
    worker_->post([this, guard, command = std::move(command)] {
        Context context{link_, library_, [this, guard](Answer answer) {
                            QMetaObject::invokeMethod(
                                &answers_,
                                [guard, answer = std::move(answer)] {
                                    if (*guard) {
                                        answer();
                                    }
                                },
                                Qt::QueuedConnection);
                        }};
        command(context);
    });
}

void DeviceOwner::waitIdle() {
    worker_->waitIdle();
}

void DeviceOwner::apply(QObject* receiver, ProfileSet snapshot, std::function<void(int slot)> applying,
                        std::function<void(const ApplyOutcome&)> done) {
    post(receiver, [snapshot = std::move(snapshot), applying = std::move(applying),
                    done = std::move(done)](Context& c) {
        ApplyOutcome outcome;
        if (!c.link.connected() && c.link.open() != 1) {
            c.link.close();
        } else {
            const int applied = snapshot.currentIndex();
            c.answer([applying, applied] { applying(applied); });
            const ProfileData& profile = snapshot.current();
            outcome.mouseFound = device::ApplyProfileImage(c.link, profile).ok();
        }
        // The files come after the reports, so the mouse is not kept waiting
        // for the disk; the outcome still reports both.
        for (int i = 0; i < ProfileSet::kSlotCount; ++i) {
            if (!snapshot.saveSlot(i)) {
                outcome.unsavedSlots.push_back(i);
            }
        }
        c.answer([done, outcome] { done(outcome); });
    });
}

void DeviceOwner::synchronize(QObject* receiver, std::function<void(int slot)> answer) {
    post(receiver, [answer = std::move(answer)](Context& c) {
        if (!c.link.connected() && c.link.open() != 1) {
            return;
        }
        const int slot = activeSlot(c.link);
        c.answer([answer, slot] { answer(slot); });
    });
}

void DeviceOwner::arrive(QObject* receiver, std::function<void(std::optional<int> number)> version,
                         std::function<void(int slot)> slot) {
    post(receiver, [version = std::move(version), slot = std::move(slot)](Context& c) {
        if (c.link.connected()) {
            return;
        }
        c.link.sleeper().sleep(kArrivalSettle);
        if (c.link.ensureOpen() != 1) {
            c.answer([version] { version(std::nullopt); });
            return;
        }
        const int number = c.link.firmwareVersionNumber();
        c.answer([version, number] { version(number); });
        const int active = activeSlot(c.link);
        c.answer([slot, active] { slot(active); });
        c.library.capture(DeviceEventRelay::callback());
    });
}

void DeviceOwner::remove(QObject* receiver, std::function<void()> done) {
    post(receiver, [done = std::move(done)](Context& c) {
        if (!c.link.connected()) {
            return;
        }
        c.link.close();
        c.library.closeDevice();
        c.answer(done);
    });
}

void DeviceOwner::findFirmware(QObject* receiver, std::function<void(std::optional<int> number)> answer) {
    post(receiver, [answer = std::move(answer)](Context& c) {
        std::optional<int> number;
        if (c.link.ensureOpen() == 1) {
            number = c.link.firmwareVersionNumber();
        }
        c.answer([answer, number] { answer(number); });
    });
}

void DeviceOwner::startSurfaceAnalysis(QObject* receiver, std::function<void(bool found)> answer) {
    post(receiver, [answer = std::move(answer)](Context& c) {
        const bool found = c.link.open() == 1;
        if (found) {
            device::StartSurfaceAnalysis(c.link); // its status is not judged
        } else {
            c.link.close();
        }
        c.answer([answer, found] { answer(found); });
    });
}

void DeviceOwner::readSurfaceAnalysis(QObject* receiver, std::function<void(int value)> answer) {
    post(receiver, [answer = std::move(answer)](Context& c) {
        uint8_t value = 0; // stays 0 when the request cannot be sent
        device::ReadSurfaceAnalysis(c.link, value);
        c.answer([answer, value] { answer(value); });
    });
}

} // namespace talwyn::app
