#pragma once
// The device library's half of the simulated firmware: settings, profile,
// button-data and version commands, bootloader mode and the firmware
// transfer. The state machine in sim_mouse.cpp hands it every report of the
// configuration (or bootloader) interface that the program's protocol does not
// handle: report 0xA1 with commands other than 0x03/0x04/0x05, 0xA0 block
// reports other than the 0x08 image upload, and all bootloader-mode traffic.
//
// One state behind both protocols: library profile p (1..5) is stored image
// p - 1, so a profile the program uploaded reads back through the library and
// the other way round. The library's profile block maps onto the image so:
//
//   block byte            image (offsets hex)          note
//   0 profile number      -                            p
//   1 report-rate code    15 reportInterval            1, 2, 4, 8 (ms)
//   2 response time       -                            kept per profile here
//   3 angle snapping      47 angleSnapOff              inverted: 1 = snapping off
//   4 lift-off option     46 liftOff
//   5 DPI first           32 activeDpiLevel
//   6 DPI second          56 dpiLevelCount
//   7-16 DPI values 0-4   level x words 34, 3D, 52, 5C, 61 (written to x and y)
//   17-26 DPI values 5-9  -                            kept per profile here
//   31 lighting mode      effect byte of every colour slot (1A, 1E, 24, 28, 2C, 30)
//   32-34 colour 0        17 slot A rgb                the image's slot A is brightness-scaled
//   35-37 colour 1        21 slot B rgb
//   38-40 colour 2        25 slot C rgb (its three copies)
//   41-43 colour 3        1B slot D rgb
//   44-55 colours 4-7     -                            kept per profile here
//   56 brightness         20 brightness percent
//   57 flag, 58 step      -                            kept per profile here
//   65 + 7i button i      65 + 7i button slot          same 7-byte layout, except that a
//                                                      key the program stored (02 usage 00 00)
//                                                      reads as 02 00 usage (the library's form)
//
// A button's data block (command 0x25) is the library's upload for it, except
// for a macro the program uploaded (kind 0x03 whose first word points into the
// macro area at 0x320 and up): that one is read from the image's event list,
// whose 7-byte events have the library's layout.
//
// Reports are validated (length, profile and button ranges, checksums, the
// bootloader access code, block order); a bad one is noted in the wire log
// and answered with status 2. A finished transfer installs the version its
// image names (sim/firmware_image.h).

#include "sim/sim_mouse.h"

#include <array>
#include <optional>
#include <span>

namespace talwyn::sim {

class LibraryProtocol {
public:
    // Handles one set-feature report; the reply says what the host's next
    // get-feature reads return.
    ReportReply handle(FirmwareContext& context, InterfaceRole role, std::span<const uint8_t> report);

private:
    // Settings of a profile that its image has no place for.
    struct ProfileExtras {
        uint8_t responseTime = 4;
        std::array<uint16_t, 5> upperDpi{};
        std::array<uint8_t, 12> upperColors{};
        uint8_t lightingFlag = 0;
        uint8_t lightingStep = 1;
    };

    struct Transfer {
        bool announced = false;
        uint8_t blockCount = 0;
        uint32_t checksum = 0;
        uint32_t receivedSum = 0;
        uint8_t blocksReceived = 0;
        std::optional<uint16_t> version; // named by the first block
    };

    ReportReply handleNormal(FirmwareContext& context, std::span<const uint8_t> report);
    ReportReply handleBootloader(FirmwareContext& context, std::span<const uint8_t> report);
    ReportReply handleSensor(FirmwareContext& context, std::span<const uint8_t> report);
    ReportReply handleLighting(FirmwareContext& context, std::span<const uint8_t> report);
    ReportReply handleButton(FirmwareContext& context, std::span<const uint8_t> report);
    ReportReply handleProfile(FirmwareContext& context, std::span<const uint8_t> report);
    ReportReply handleUpload(FirmwareContext& context, std::span<const uint8_t> report);
    ReportReply readButtonData(FirmwareContext& context, std::span<const uint8_t> report);
    ReportReply handleBlock(FirmwareContext& context, std::span<const uint8_t> report);
    ReportReply finishTransfer(FirmwareContext& context);
    // True (and noted) when an injected fault makes the mouse refuse `step`.
    bool refusedByFault(FirmwareContext& context, FirmwareStep step);

    std::array<uint8_t, protocol::kDataBlockSize> profileBlock(const FirmwareState& state,
                                                               std::size_t slot) const;
    void resetProfile(FirmwareState& state, std::size_t slot);

    std::array<ProfileExtras, protocol::kProfileCount> extras_{};
    Transfer transfer_;
};

} // namespace talwyn::sim
