#include "device/device_commands.h"

#include <algorithm>
#include <chrono>
#include <optional>

namespace talwyn::device {

namespace {

using namespace std::chrono_literals;
using Report = std::array<uint8_t, kStatusReportSize>;

constexpr uint8_t kCommandReport = 0xA1;
constexpr uint8_t kDataReport = 0xA0;
constexpr uint8_t kReadActive = 0x03;
constexpr uint8_t kActivate = 0x04;
constexpr uint8_t kSurface = 0x05;
constexpr uint8_t kUploadImage = 0x08;
constexpr std::size_t kValueByte = 16;
constexpr std::size_t kSlotByte = 5;
constexpr uint8_t kSlotCount = 5;

Report command(uint8_t code, uint8_t sub = 0) {
    Report r{};
    r[0] = kCommandReport;
    r[1] = code;
    r[2] = sub;
    return r;
}

Report statusRequest() {
    Report r{};
    r[0] = kCommandReport;
    return r;
}

// Fetches the status; the reply when it could be fetched.
std::optional<Report> fetchStatus(DeviceLink& link) {
    Report status = statusRequest();
    if (link.readStatus(status) != 1)
        return std::nullopt;
    return status;
}

bool confirmed(const std::optional<Report>& status) {
    return status && (*status)[1] == kStatusReady;
}

} // namespace

CommandStatus ReadActiveProfile(DeviceLink& link, uint8_t& slot) {
    Report r = command(kReadActive);
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
    Report r = command(kActivate);
    r[kSlotByte] = slot;
    if (link.writeReport(r) != 1)
        return CommandStatus::NotConfirmed;
    link.sleeper().sleep(1500ms);
    return confirmed(fetchStatus(link)) ? CommandStatus::Done : CommandStatus::NotConfirmed;
}

CommandStatus StartSurfaceAnalysis(DeviceLink& link) {
    Report r = command(kSurface, 0x01);
    const int sent = link.writeReport(r);
    link.sleeper().sleep(50ms);
    if (sent != 1)
        return CommandStatus::NotConfirmed;
    return confirmed(fetchStatus(link)) ? CommandStatus::Done : CommandStatus::NotConfirmed;
}

void ReadSurfaceAnalysis(DeviceLink& link, uint8_t& value) {
    Report r = command(kSurface, 0x02);
    const int sent = link.writeReport(r);
    link.sleeper().sleep(30ms);
    if (sent != 1)
        return;
    if (const auto status = fetchStatus(link))
        value = (*status)[kValueByte];
}

std::array<uint8_t, kUploadReportSize> makeUploadReport(const DeviceImage& image, uint8_t slot,
                                                        uint8_t part) {
    std::array<uint8_t, kUploadReportSize> report{};
    report[upload_offset::kReportId] = kDataReport;
    report[upload_offset::kCommand] = kUploadImage;
    report[upload_offset::kSlot] = slot;
    report[upload_offset::kPart] = part;
    const auto first = image.bytes.begin() + static_cast<std::ptrdiff_t>(part) * kUploadPartSize;
    std::copy_n(first, kUploadPartSize, report.begin() + upload_offset::kImageBytes);
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
