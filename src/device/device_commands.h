#pragma once
// The program's commands to the mouse: each one feature report through the
// DeviceLink, a fixed pause, then the status report.
//
// Command reports (64 bytes, zero except where given):
//   ReadActiveProfile     A1 03                    pause 2000 ms, slot in status byte 16
//   ActivateProfile       A1 04 00 00 00 <slot>    pause 1500 ms
//   StartSurfaceAnalysis  A1 05 01                 pause 50 ms
//   ReadSurfaceAnalysis   A1 05 02                 pause 30 ms, value in status byte 16
//   UploadProfileImage    two 1041-byte reports A0 08 .. (below), pause 200 ms each
// Status request: 64 bytes, A1 then zeros; byte 1 = 1 means done.

#include "device/device_image.h"
#include "device/device_link.h"
#include "protocol/reports.h"

#include <array>

namespace talwyn::device {

enum class CommandStatus : int {
    Done = 1,
    StatusNotFetched = 2, // upload only
    NotConfirmed = 4,     // not taken, or not confirmed by the mouse
};

// Sets `slot` (0..4) only when the mouse confirms and names a valid slot.
CommandStatus ReadActiveProfile(DeviceLink& link, uint8_t& slot);
CommandStatus ActivateProfile(DeviceLink& link, uint8_t slot);
CommandStatus StartSurfaceAnalysis(DeviceLink& link);
// Sets `value` from status byte 16 whatever the status says; leaves it when
// the report could not be sent or the status not fetched.
void ReadSurfaceAnalysis(DeviceLink& link, uint8_t& value);

// The upload report of one part (0 or 1) of an image.
protocol::BlockReport makeUploadReport(const DeviceImage& image, uint8_t slot, uint8_t part);
// Sends both parts; 4 when a send fails, 2 when a status fetch fails, else 1.
CommandStatus UploadProfileImage(DeviceLink& link, const DeviceImage& image, uint8_t slot);
// Builds the profile's image and uploads it to its slotIndex.
CommandStatus UploadProfileImage(DeviceLink& link, const ProfileData& profile);

} // namespace talwyn::device
