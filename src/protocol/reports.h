#pragma once
// Report layouts of the mouse and the builders every sender uses.
//
// Command report (64 bytes, zero-filled):
//   0 report ID 0xA1 | 1 command | 2 sub-command | 3-4 zero | 5 profile
//   6-15 command arguments | 16.. payload
// Block report (1041 bytes): 0 report ID | 1 command | 2-15 header
//   | 16-1039 the 1024 data bytes | 1040 zero
// Reply: byte 1 is the status (1 done, 3 or 4 busy, else failed); data from 16.
// Input report (9 bytes): 0 report ID 0x03 | 1 event code | 2.. event data

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace talwyn::protocol {

inline constexpr uint8_t kReportIdCommand = 0xA1;
inline constexpr uint8_t kReportIdData = 0xA0;
inline constexpr uint8_t kReportIdInput = 0x03;

inline constexpr std::size_t kCommandReportSize = 64;
inline constexpr std::size_t kBlockReportSize = 1041;
inline constexpr std::size_t kInputReportSize = 9;
inline constexpr std::size_t kDataBlockSize = 1024;

inline constexpr std::size_t kStatusByte = 1;
inline constexpr std::size_t kProfileByte = 5;
inline constexpr std::size_t kPayloadOffset = 16;

inline constexpr uint8_t kReplyDone = 1;
inline constexpr uint8_t kReplyFailed = 2;
inline constexpr uint8_t kReplyBusy = 3;
inline constexpr uint8_t kReplyBusyAlt = 4;

constexpr bool isBusy(uint8_t status) {
    return status == kReplyBusy || status == kReplyBusyAlt;
}

using CommandReport = std::array<uint8_t, kCommandReportSize>;
using BlockReport = std::array<uint8_t, kBlockReportSize>;
using DataBlock = std::array<uint8_t, kDataBlockSize>;

// A1 command sub 00 00 profile arg6 arg7, zero elsewhere.
constexpr CommandReport makeCommand(uint8_t command, uint8_t sub = 0, uint8_t profile = 0, uint8_t arg6 = 0,
                                    uint8_t arg7 = 0) {
    CommandReport report{};
    report[0] = kReportIdCommand;
    report[1] = command;
    report[2] = sub;
    report[kProfileByte] = profile;
    report[6] = arg6;
    report[7] = arg7;
    return report;
}

// reportId command, header zero, `data` at the payload offset.
constexpr BlockReport makeBlockReport(uint8_t reportId, uint8_t command, std::span<const uint8_t> data = {}) {
    BlockReport report{};
    report[0] = reportId;
    report[1] = command;
    std::copy_n(data.begin(), std::min(data.size(), kDataBlockSize), report.begin() + kPayloadOffset);
    return report;
}

// A zeroed reply buffer asking for report `reportId`.
template <std::size_t N> constexpr std::array<uint8_t, N> makeReplyBuffer(uint8_t reportId) {
    std::array<uint8_t, N> reply{};
    reply[0] = reportId;
    return reply;
}

constexpr void putLe16(std::span<uint8_t> out, std::size_t offset, uint16_t value) {
    out[offset] = static_cast<uint8_t>(value & 0xFF);
    out[offset + 1] = static_cast<uint8_t>(value >> 8);
}

constexpr uint16_t getLe16(std::span<const uint8_t> in, std::size_t offset) {
    return static_cast<uint16_t>(in[offset] | (in[offset + 1] << 8));
}

// Wrapping 16-bit sum, the checksum of uploaded and firmware blocks.
constexpr uint16_t checksum16(std::span<const uint8_t> data) {
    uint16_t sum = 0;
    for (uint8_t b : data)
        sum = static_cast<uint16_t>(sum + b);
    return sum;
}

// A version number's hex digits read as a decimal number, stopping at the
// first letter: 0x0105 -> 105, 0x01A5 -> 1, 0x00A0 -> 0. Versions reach the
// user this way, whichever path read them.
uint16_t versionAsDecimal(uint16_t version);

} // namespace talwyn::protocol
