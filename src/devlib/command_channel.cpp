#include "devlib/command_channel.h"

#include "protocol/commands.h"

#include <algorithm>

namespace talwyn::devlib {
namespace {

using namespace std::chrono_literals;

} // namespace

uint8_t CommandChannel::runCommand(const protocol::CommandReport& report,
                                   std::initializer_list<std::chrono::milliseconds> pauses,
                                   protocol::CommandReport* reply) {
    std::lock_guard guard(libraryLock_);
    if (!transport_.sendReport(report, kCommandRetryPause))
        return kResultDeviceError;
    for (auto pause : pauses)
        sleeper().sleep(pause);
    auto status = protocol::makeReplyBuffer<protocol::kCommandReportSize>(protocol::kReportIdCommand);
    const bool read = transport_.receiveReport(status);
    if (reply)
        *reply = status;
    return read && status[1] == protocol::kReplyDone ? kResultOk : kResultDeviceError;
}

uint8_t CommandChannel::uploadButtonData(const protocol::DataBlock& data, uint8_t profile, uint8_t button) {
    std::lock_guard guard(libraryLock_);
    protocol::BlockReport report =
        protocol::makeBlockReport(protocol::kReportIdData, protocol::command::kUploadButtonData, data);
    report[2] = button;
    report[5] = profile;
    protocol::putLe16(report, 7, protocol::checksum16(data));
    const bool sent = transport_.sendReport(report, kFastRetryPause);
    sleeper().sleep(100ms);
    if (!sent)
        return kResultInvalidArgument;
    auto status = protocol::makeReplyBuffer<protocol::kCommandReportSize>(protocol::kReportIdCommand);
    return transport_.receiveReport(status) && status[1] == protocol::kReplyDone ? kResultOk
                                                                                 : kResultDeviceError;
}

uint8_t CommandChannel::readButtonData(uint8_t button, uint8_t profile, protocol::DataBlock& out) {
    std::lock_guard guard(libraryLock_);
    if (!transport_.ensureDevice())
        return kResultDeviceError;
    const protocol::CommandReport request =
        protocol::makeCommand(protocol::command::kReadButtonData, button, profile);
    const bool sent = transport_.sendReport(request, kFastRetryPause);
    sleeper().sleep(10ms);
    if (!sent)
        return kResultDeviceError;
    auto reply = protocol::makeReplyBuffer<protocol::kBlockReportSize>(protocol::kReportIdData);
    if (!transport_.receiveReport(reply) || reply[1] != protocol::kReplyDone)
        return kResultDeviceError;
    std::copy_n(reply.begin() + protocol::kPayloadOffset, protocol::kDataBlockSize, out.begin());
    return kResultOk;
}

uint8_t CommandChannel::readVersion(std::size_t replyOffset, uint16_t& version) {
    std::lock_guard guard(libraryLock_);
    if (!transport_.ensureDevice())
        return kResultDeviceError;
    const bool sent =
        transport_.sendReport(protocol::makeCommand(protocol::command::kVersion), kCommandRetryPause);
    sleeper().sleep(50ms);
    if (!sent)
        return kResultDeviceError;
    auto reply = protocol::makeReplyBuffer<protocol::kCommandReportSize>(protocol::kReportIdCommand);
    if (!transport_.receiveReport(reply) || reply[1] != protocol::kReplyDone)
        return kResultDeviceError;
    version = protocol::versionAsDecimal(protocol::getLe16(reply, replyOffset));
    return kResultOk;
}

} // namespace talwyn::devlib
