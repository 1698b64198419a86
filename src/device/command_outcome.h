#pragma once
// The outcome of a device action as a whole, with the step that failed and
// why, so the program and talwynctl judge an apply by one rule and can say
// what went wrong.

#include "device/device_commands.h"

#include <string>

namespace talwyn::device {

enum class DeviceStep { Discovery, Upload, Activation, ActiveSlotRead };

enum class FailureReason {
    None,
    NotFound,      // no configuration interface of the mouse is present
    Busy,          // the mouse kept answering that it is busy
    TransferError, // a report could not be sent or fetched
    NotConfirmed,  // the mouse answered, but not with "done"
};

struct DeviceOutcome {
    DeviceStep step = DeviceStep::Discovery;
    FailureReason reason = FailureReason::None;
    hid::Result transfer = hid::Result::success(0); // for TransferError
    uint8_t status = 0;                             // for Busy and NotConfirmed

    bool ok() const { return reason == FailureReason::None; }
};

// Opens the link unless it is open already.
DeviceOutcome EnsureLinkOpen(DeviceLink& link);

// Uploads the image to `slot` and activates the slot. Succeeds only when the
// upload was taken and the activation confirmed; a failed upload leaves the
// slot as it was, unactivated.
DeviceOutcome ApplyProfileImage(DeviceLink& link, const DeviceImage& image, uint8_t slot);
// The same for a profile's image and its slotIndex.
DeviceOutcome ApplyProfileImage(DeviceLink& link, const ProfileData& profile);

// ReadActiveProfile as an outcome.
DeviceOutcome ReadActiveSlot(DeviceLink& link, uint8_t& slot);

// One line for the user: which step failed and why.
std::string describe(const DeviceOutcome& outcome);

} // namespace talwyn::device
