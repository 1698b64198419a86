#pragma once
// Report layouts and status codes of the library's protocol with the mouse.
//
// Command report (64 bytes, zero-filled):
//   0 report ID 0xA1 | 1 command | 2 sub-command | 3-4 zero | 5 profile
//   6-15 command arguments | 16.. payload
// Block report (1041 bytes): 0 report ID | 1 command | 2-15 header
//   | 16-1039 the 1024 data bytes | 1040 zero
// Reply: byte 1 is the status (1 done, 3 or 4 busy, else failed); data from 16.

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

namespace talwyn::devlib {

inline constexpr uint16_t kVendorId = 0x22D4;
inline constexpr uint16_t kProductIdNormal = 0x1329;
inline constexpr uint16_t kProductIdBootloader = 0x1328;
inline constexpr uint16_t kConfigUsagePage = 0xFF01;
inline constexpr uint16_t kConfigUsage = 2;
inline constexpr uint16_t kCompliantUsagePage = 0xFF02;
inline constexpr uint16_t kCompliantUsage = 1;

inline constexpr uint8_t kReportIdCommand = 0xA1;
inline constexpr uint8_t kReportIdData = 0xA0;
inline constexpr std::size_t kCommandReportSize = 64;
inline constexpr std::size_t kBlockReportSize = 1041;
inline constexpr std::size_t kPayloadOffset = 16;
inline constexpr std::size_t kDataBlockSize = 1024;

inline constexpr uint8_t kReplyDone = 1;
inline constexpr uint8_t kReplyBusy = 3;
inline constexpr uint8_t kReplyBusyAlt = 4;

inline constexpr uint8_t kResultOk = 1;
inline constexpr uint8_t kResultInvalidArgument = 2;
inline constexpr uint8_t kResultCaptureStarted = 5;
inline constexpr uint8_t kResultDeviceError = 20;
inline constexpr uint8_t kResultNoDevice = 255;

inline constexpr std::chrono::milliseconds kFastRetryPause{30};
inline constexpr std::chrono::milliseconds kCommandRetryPause{50};

using CommandReport = std::array<uint8_t, kCommandReportSize>;
using BlockReport = std::array<uint8_t, kBlockReportSize>;
using DataBlock = std::array<uint8_t, kDataBlockSize>;

// A1 command sub 00 00 profile arg6 arg7, zero elsewhere.
constexpr CommandReport makeCommand(uint8_t command, uint8_t sub, uint8_t profile = 0, uint8_t arg6 = 0,
                                    uint8_t arg7 = 0) {
    CommandReport report{};
    report[0] = kReportIdCommand;
    report[1] = command;
    report[2] = sub;
    report[5] = profile;
    report[6] = arg6;
    report[7] = arg7;
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

constexpr bool isProfileNumber(int32_t profile) {
    return profile >= 1 && profile <= 5;
}

} // namespace talwyn::devlib
