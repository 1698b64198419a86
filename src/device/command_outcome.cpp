#include "device/command_outcome.h"

#include "device/user_texts.h"

#include <cerrno>
#include <system_error>

namespace talwyn::device {

namespace {

// Status marks with which the mouse says it is still working.
bool isBusyMark(uint8_t status) {
    return status == 3 || status == 4;
}

// The outcome of one command, judged from its code and what the link saw.
DeviceOutcome outcomeOf(DeviceStep step, CommandStatus status, const DeviceLink& link) {
    if (status == CommandStatus::Done)
        return {step};
    const LinkTrace trace = link.lastTrace();
    if (!trace.transfer.ok())
        return {step, FailureReason::TransferError, trace.transfer};
    const uint8_t answered = trace.status.value_or(0);
    return {step, isBusyMark(answered) ? FailureReason::Busy : FailureReason::NotConfirmed,
            hid::Result::success(0), answered};
}

const char* stepName(DeviceStep step) {
    switch (step) {
    case DeviceStep::Discovery:
        return "opening the mouse";
    case DeviceStep::Upload:
        return "uploading the profile";
    case DeviceStep::Activation:
        return "activating the slot";
    case DeviceStep::ActiveSlotRead:
        return "reading the active slot";
    }
    return "device command";
}

std::string osMessage(const hid::Result& transfer) {
    return std::generic_category().message(transfer.osError);
}

std::string transferText(const hid::Result& transfer) {
    std::string text = "transfer error";
    if (transfer.osError != 0)
        text += ": " + osMessage(transfer);
    if (transfer.error == hid::ErrorClass::Retryable)
        text += " (retried)";
    return text;
}

} // namespace

DeviceOutcome EnsureLinkOpen(DeviceLink& link) {
    if (link.ensureOpen() == 1)
        return {DeviceStep::Discovery};
    const hid::Result transfer = link.lastTrace().transfer;
    if (transfer.ok())
        return {DeviceStep::Discovery, FailureReason::NotFound};
    if (transfer.osError == EBUSY)
        return {DeviceStep::Discovery, FailureReason::Busy, transfer};
    return {DeviceStep::Discovery, FailureReason::TransferError, transfer};
}

DeviceOutcome ApplyProfileImage(DeviceLink& link, const DeviceImage& image, uint8_t slot) {
    const DeviceOutcome upload = outcomeOf(DeviceStep::Upload, UploadProfileImage(link, image, slot), link);
    if (!upload.ok())
        return upload;
    return outcomeOf(DeviceStep::Activation, ActivateProfile(link, slot), link);
}

DeviceOutcome ApplyProfileImage(DeviceLink& link, const ProfileData& profile) {
    return ApplyProfileImage(link, buildDeviceImage(profile), profile.slotIndex);
}

DeviceOutcome ReadActiveSlot(DeviceLink& link, uint8_t& slot) {
    return outcomeOf(DeviceStep::ActiveSlotRead, ReadActiveProfile(link, slot), link);
}

std::string describe(const DeviceOutcome& outcome) {
    const std::string step = stepName(outcome.step);
    switch (outcome.reason) {
    case FailureReason::None:
        return step + " succeeded";
    case FailureReason::NotFound:
        return kMouseNotFound;
    case FailureReason::Busy:
        if (!outcome.transfer.ok())
            return step + " failed: the mouse is busy: " + osMessage(outcome.transfer);
        return step + " failed: the mouse is busy (status " + std::to_string(outcome.status) + ")";
    case FailureReason::TransferError:
        return step + " failed: " + transferText(outcome.transfer);
    case FailureReason::NotConfirmed:
        return step + " failed: not confirmed by the mouse (status " + std::to_string(outcome.status) + ")";
    }
    return step + " failed";
}

} // namespace talwyn::device
