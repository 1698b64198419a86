#pragma once
// Host button records <-> the mouse's 7-byte button entries and 7-byte events.
//
// DeviceButtonEntry: 0 code | 1 sub | 2-3 value (LE) | 4-5 value2 (LE) | 6 tail 0x0F
// DeviceEvent:       0 kind | 1-2 HID usage (LE) | 3 release | 4-6 delay (24-bit LE)
// An event list ends with 7 zero bytes.

#include "protocol/reports.h"
#include "talwyn_pro_dll.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace talwyn::devlib {

inline constexpr std::size_t kEntrySize = 7;
inline constexpr std::size_t kEventSize = 7;

struct DeviceButtonEntry {
    uint8_t code = 0x00;
    uint8_t sub = 0x01;
    uint16_t value = 0;
    uint16_t value2 = 0;
    uint8_t tail = 0x0F;

    std::array<uint8_t, kEntrySize> bytes() const;
    static DeviceButtonEntry parse(std::span<const uint8_t, kEntrySize> bytes);
};

// Host function types whose records carry events or data the library reads.
inline constexpr int32_t kFunctionTypeMacro = 19;
inline constexpr int32_t kFunctionTypeShortcut = 25;

// Device codes whose function carries a data block (macro events, shortcut events).
inline constexpr uint8_t kCodeMacro = 0x03;
inline constexpr uint8_t kCodeShortcut = 0x18;
inline constexpr uint8_t kCodeRunProgram = 0x23;
inline constexpr uint8_t kCodeOpenBrowser = 0x24;

struct EncodedButton {
    DeviceButtonEntry entry;
    // Set for macros and shortcuts: the event block to upload after the entry.
    std::optional<protocol::DataBlock> data;
};

// Encodes `settings` by its function type. The caller has checked that a
// macro's eventCount fits the record.
EncodedButton encodeButton(const ButtonSettings& settings);

// The built-in shortcut events for type 25 (`sub` 0 to 5; others have none).
std::span<const ButtonEvent> shortcutEvents(uint8_t sub);

// Decodes a mouse entry into a host record for button `buttonNumber`
// (events are not touched; eventCount is value2, cut to the record for
// macros, whose events are copied into it).
ButtonSettings decodeButtonEntry(const DeviceButtonEntry& entry, int32_t buttonNumber);

// Decodes `count` macro events from a data block; at most what the record
// holds.
void decodeMacroEvents(std::span<const uint8_t, protocol::kDataBlockSize> block, ButtonSettings& settings);

} // namespace talwyn::devlib
