#pragma once
// The device library's half of the simulated firmware: settings, profile,
// button-data and version commands, bootloader mode and the firmware
// transfer. The state machine in sim_mouse.cpp hands it every report of the
// configuration (or bootloader) interface that the program's protocol does not
// handle: report 0xA1 with commands other than 0x03/0x04/0x05, 0xA0 block
// reports other than the 0x08 image upload, and all bootloader-mode traffic.

#include "sim/sim_mouse.h"

#include <span>

namespace talwyn::sim {

class LibraryProtocol {
public:
    // Handles one set-feature report; the reply says what the host's next
    // get-feature reads return.
    ReportReply handle(FirmwareContext& context, InterfaceRole role, std::span<const uint8_t> report);
};

} // namespace talwyn::sim
