#include "devlib/command_channel.h"

#include <algorithm>
#include <cstdio>

namespace talwyn::devlib {
namespace {

using namespace std::chrono_literals;

constexpr uint8_t kCommandUpload = 0x21;
constexpr uint8_t kCommandReadButtonData = 0x25;
constexpr uint8_t kCommandVersion = 0x02;

} // namespace

uint8_t CommandChannel::runCommand(const CommandReport& report,
                                   std::initializer_list<std::chrono::milliseconds> pauses,
                                   CommandReport* reply) {
    std::lock_guard guard(libraryLock_);
    if (!transport_.sendReport(report, kCommandRetryPause))
        return kResultDeviceError;
    for (auto pause : pauses)
        sleeper().sleep(pause);
    auto status = makeReplyBuffer<kCommandReportSize>(kReportIdCommand);
    const bool read = transport_.receiveReport(status);
    if (reply)
        *reply = status;
    return read && status[1] == kReplyDone ? kResultOk : kResultDeviceError;
}

uint8_t CommandChannel::uploadButtonData(const DataBlock& data, uint8_t profile, uint8_t button) {
    std::lock_guard guard(libraryLock_);
    BlockReport report{};
    report[0] = kReportIdData;
    report[1] = kCommandUpload;
    report[2] = button;
    report[5] = profile;
    putLe16(report, 7, checksum16(data));
    std::copy(data.begin(), data.end(), report.begin() + kPayloadOffset);
    const bool sent = transport_.sendReport(report, kFastRetryPause);
    sleeper().sleep(100ms);
    if (!sent)
        return kResultInvalidArgument;
    auto status = makeReplyBuffer<kCommandReportSize>(kReportIdCommand);
    return transport_.receiveReport(status) && status[1] == kReplyDone ? kResultOk : kResultDeviceError;
}

uint8_t CommandChannel::readButtonData(uint8_t button, uint8_t profile, DataBlock& out) {
    std::lock_guard guard(libraryLock_);
    if (!transport_.ensureDevice())
        return kResultDeviceError;
    const CommandReport request = makeCommand(kCommandReadButtonData, button, profile);
    const bool sent = transport_.sendReport(request, kFastRetryPause);
    sleeper().sleep(10ms);
    if (!sent)
        return kResultDeviceError;
    auto reply = makeReplyBuffer<kBlockReportSize>(kReportIdData);
    if (!transport_.receiveReport(reply) || reply[1] != kReplyDone)
        return kResultDeviceError;
    std::copy_n(reply.begin() + kPayloadOffset, kDataBlockSize, out.begin());
    return kResultOk;
}

uint8_t CommandChannel::readVersion(std::size_t replyOffset, uint16_t& version) {
    std::lock_guard guard(libraryLock_);
    if (!transport_.ensureDevice())
        return kResultDeviceError;
    const bool sent = transport_.sendReport(makeCommand(kCommandVersion, 0), kCommandRetryPause);
    sleeper().sleep(50ms);
    if (!sent)
        return kResultDeviceError;
    auto reply = makeReplyBuffer<kCommandReportSize>(kReportIdCommand);
    if (!transport_.receiveReport(reply) || reply[1] != kReplyDone)
        return kResultDeviceError;
    version = hexDigitsAsDecimal(getLe16(reply, replyOffset));
    return kResultOk;
}

uint16_t hexDigitsAsDecimal(uint16_t value) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%x", value);
    uint16_t decimal = 0;
    for (const char* c = hex; *c >= '0' && *c <= '9'; ++c)
        decimal = static_cast<uint16_t>(decimal * 10 + (*c - '0'));
    return decimal;
}

} // namespace talwyn::devlib
