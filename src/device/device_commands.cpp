#include "device/device_commands.h"

#include "protocol/commands.h"

#include <chrono>
#include <optional>
#include <span>

namespace talwyn::device {

namespace {

using namespace std::chrono_literals;
using protocol::CommandReport;
using protocol::makeCommand;
namespace command = protocol::command;

constexpr std::size_t kValueByte = protocol::kPayloadOffset;
constexpr uint8_t kSlotCount = 5;
constexpr std::size_t kUploadPartByte = 6;

// Fetches the status; the reply when it could be fetched.
std::optional<CommandReport> fetchStatus(DeviceLink& link) {
    auto status = protocol::makeReplyBuffer<protocol::kCommandReportSize>(protocol::kReportIdCommand);
    if (link.readStatus(status) != 1)
        return std::nullopt;
    return status;
}

bool confirmed(const std::optional<CommandReport>& status) {
    return status && (*status)[protocol::kStatusByte] == protocol::kReplyDone;
}

} // namespace

CommandStatus ReadActiveProfile(DeviceLink& link, uint8_t& slot) {
    CommandReport r = makeCommand(command::kReadActiveProfile);
    if (link.writeReport(r) != 1)
        return CommandStatus::NotConfirmed;
    link.sleeper().sleep(2000ms);
    const auto status = fetchStatus(link);
    if (!confirmed(status) || (*status)[kValueByte] >= kSlotCount)
        return CommandStatus::NotConfirmed;
    slot = (*status)[kValueByte];
    return CommandStatus::Done;
}

CommandStatus ActivateProfile(DeviceLink& link, uint8_t slot) {
    CommandReport r = makeCommand(command::kActivateProfile, 0, slot);
    if (link.writeReport(r) != 1)
        return CommandStatus::NotConfirmed;
    link.sleeper().sleep(1500ms);
    return confirmed(fetchStatus(link)) ? CommandStatus::Done : CommandStatus::NotConfirmed;
}

CommandStatus StartSurfaceAnalysis(DeviceLink& link) {
    CommandReport r = makeCommand(command::kSurfaceAnalysis, command::kSurfaceStart);
    const int sent = link.writeReport(r);
    link.sleeper().sleep(50ms);
    if (sent != 1)
        return CommandStatus::NotConfirmed;
    return confirmed(fetchStatus(link)) ? CommandStatus::Done : CommandStatus::NotConfirmed;
}

void ReadSurfaceAnalysis(DeviceLink& link, uint8_t& value) {
    CommandReport r = makeCommand(command::kSurfaceAnalysis, command::kSurfaceRead);
    const int sent = link.writeReport(r);
    link.sleeper().sleep(30ms);
    if (sent != 1)
        return;
    if (const auto status = fetchStatus(link))
        value = (*status)[kValueByte];
}

protocol::BlockReport makeUploadReport(const DeviceImage& image, uint8_t slot, uint8_t part) {
    const auto half =
        std::span(image.bytes).subspan(part * protocol::kDataBlockSize, protocol::kDataBlockSize);
    protocol::BlockReport report =
        protocol::makeBlockReport(protocol::kReportIdData, command::kUploadImage, half);
    report[protocol::kProfileByte] = slot;
    report[kUploadPartByte] = part;
    return report;
}

CommandStatus UploadProfileImage(DeviceLink& link, const DeviceImage& image, uint8_t slot) {
    for (uint8_t part = 0; part < 2; ++part) {
        auto report = makeUploadReport(image, slot, part);
        if (link.writeReport(report) != 1)
            return CommandStatus::NotConfirmed;
        link.sleeper().sleep(200ms);
        if (!fetchStatus(link))
            return CommandStatus::StatusNotFetched;
    }
    return CommandStatus::Done;
}

CommandStatus UploadProfileImage(DeviceLink& link, const ProfileData& profile) {
    return UploadProfileImage(link, buildDeviceImage(profile), profile.slotIndex);
}

} // namespace talwyn::device
