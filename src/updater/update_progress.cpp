#include "updater/update_progress.h"

#include <algorithm>

namespace talwyn::updater {

namespace {

// Progress values with a fixed meaning; every other value below 100 reports a block.
constexpr uint32_t kStarted = 1;
constexpr uint32_t kInBootloader = 3;
constexpr uint32_t kTransferAccepted = 4;
constexpr uint32_t kTransferFinished = 100;

const QString kRetryInBootloader =
    QStringLiteral("Leave the mouse plugged in and press Update to try again. If you close the updater now, "
                   "start it again: it finds the mouse waiting in bootloader mode.");

} // namespace

FailureText failureText(uint8_t status, int failedBlock, int blockCount) {
    switch (status) {
    case TALWYN_FW_ERR_NO_IMAGE:
        return {
            QStringLiteral("The firmware image did not reach the device library. The mouse is unchanged."),
            QStringLiteral("Start the updater again.")};
    case TALWYN_FW_ERR_ENTER_BOOTLOADER:
        return {QStringLiteral("The mouse refused to switch to bootloader mode. Its firmware is unchanged."),
                QStringLiteral("Unplug the mouse, plug it in again and press Update.")};
    case TALWYN_FW_ERR_NO_BOOTLOADER:
        return {QStringLiteral("The mouse did not restart in bootloader mode. Its firmware is unchanged."),
                QStringLiteral("Unplug the mouse, plug it in again and press Update.")};
    case TALWYN_FW_ERR_START:
        return {QStringLiteral("The mouse did not accept the start of the transfer. It waits in bootloader "
                               "mode and works again once an update completes."),
                kRetryInBootloader};
    case TALWYN_FW_ERR_BLOCK:
        return {
            QStringLiteral("Block %1 of %2 was not accepted. The mouse waits in bootloader mode and works "
                           "again once an update completes.")
                .arg(failedBlock)
                .arg(blockCount),
            kRetryInBootloader + QStringLiteral(" If it fails again, use another USB port.")};
    case TALWYN_FW_ERR_FINISH:
        return {
            QStringLiteral("The mouse did not accept the end of the transfer. It waits in bootloader mode "
                           "and works again once an update completes."),
            kRetryInBootloader};
    case TALWYN_FW_ERR_NO_DEVICE:
        return {QStringLiteral("The mouse was found neither in normal nor in bootloader mode."),
                QStringLiteral("Check the cable, plug the mouse in and press Update.")};
    default:
        return {QStringLiteral("The device library reported the unknown status 0x%1.")
                    .arg(QString::number(status, 16).rightJustified(2, QLatin1Char('0')).toUpper()),
                QStringLiteral("Start the updater again.")};
    }
}

FailureText silentMouseText() {
    return {QStringLiteral("The mouse stopped answering during the update."),
            QStringLiteral("Unplug the mouse, plug it in again and start the updater again.")};
}

void UpdateProgress::take(uint8_t status, uint32_t value) {
    if (outcome_ != Outcome::Running)
        return;
    if (status == TALWYN_FW_NEW_VERSION) {
        outcome_ = Outcome::Succeeded;
        step_ = Step::Ended;
        percent_ = 100;
        newVersion_ = static_cast<int>(value & 0xFFFF);
        return;
    }
    if (status != TALWYN_FW_PROGRESS) {
        outcome_ = Outcome::Failed;
        step_ = Step::Ended;
        errorStatus_ = status;
        return;
    }
    percent_ = static_cast<int>(std::min(value, kTransferFinished));
    if (value == kTransferFinished) {
        step_ = Step::Returning;
    } else if (step_ == Step::Writing) {
        // Block 0 reports the same value as the accepted announcement before it.
        blocksWritten_ = std::min(blocksWritten_ + 1, blockCount_);
        if (blocksWritten_ == blockCount_)
            step_ = Step::Finishing;
    } else if (value == kTransferAccepted) {
        step_ = blockCount_ > 0 ? Step::Writing : Step::Finishing;
    } else if (value == kInBootloader) {
        step_ = Step::BootloaderFound;
    } else if (value == kStarted) {
        step_ = Step::Searching;
    }
}

QString UpdateProgress::stepText() const {
    switch (step_) {
    case Step::Searching:
        return QStringLiteral("Waiting for the mouse in bootloader mode...");
    case Step::BootloaderFound:
        return QStringLiteral("Bootloader found, announcing the transfer...");
    case Step::Writing:
        return QStringLiteral("Writing block %1 of %2...").arg(blocksWritten_ + 1).arg(blockCount_);
    case Step::Finishing:
        return QStringLiteral("Finishing the transfer...");
    case Step::Returning:
        return QStringLiteral("Waiting for the mouse to restart...");
    case Step::Ended:
        break;
    }
    return outcome_ == Outcome::Succeeded ? QStringLiteral("Update complete.")
                                          : QStringLiteral("Update failed.");
}

FailureText UpdateProgress::failure() const {
    return failureText(errorStatus_, std::min(blocksWritten_ + 1, blockCount_), blockCount_);
}

} // namespace talwyn::updater
