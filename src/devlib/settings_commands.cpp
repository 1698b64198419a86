#include "devlib/settings_commands.h"

#include "devlib/button_encoding.h"
#include "protocol/commands.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace talwyn::devlib {
namespace {

using namespace std::chrono_literals;
using std::chrono::milliseconds;

enum class SensorSub : uint8_t {
    PollingRate = 0x01,
    ResponseTime = 0x02,
    AngleSnapping = 0x03,
    LiftOff = 0x04,
    Dpi = 0x0A,
    All = 0x0F,
};

constexpr std::array kUploadRetryPauses{0ms, 50ms, 100ms};

uint8_t lowByte(int32_t value) {
    return static_cast<uint8_t>(value & 0xFF);
}

protocol::CommandReport sensorCommand(SensorSub sub, int32_t profile, uint8_t arg6 = 0, uint8_t arg7 = 0) {
    return protocol::makeCommand(protocol::command::kSensor, static_cast<uint8_t>(sub), lowByte(profile),
                                 arg6, arg7);
}

void putDpiValues(protocol::CommandReport& report, std::size_t offset, const DpiSettings& dpi) {
    for (std::size_t i = 0; i < 10; ++i)
        protocol::putLe16(report, offset + 2 * i, dpi.values[i]);
}

bool isOnOff(int32_t value) {
    return value == 0 || value == 1;
}

std::optional<uint8_t> rateCode(int32_t rateHz) {
    switch (rateHz) {
    case 125:
        return 8;
    case 250:
        return 4;
    case 500:
        return 2;
    case 1000:
        return 1;
    default:
        return std::nullopt;
    }
}

// Range check first (2), then the device (20), then the exchange.
uint8_t checkedCommand(CommandChannel& channel, bool argumentsValid, const protocol::CommandReport& report,
                       milliseconds pause) {
    std::lock_guard guard(channel.libraryLock());
    if (!argumentsValid)
        return kResultInvalidArgument;
    if (!channel.transport().ensureDevice())
        return kResultDeviceError;
    return channel.runCommand(report, pause);
}

uint8_t uploadWithRetries(CommandChannel& channel, const protocol::DataBlock& data, uint8_t profile,
                          uint8_t button) {
    if (channel.uploadButtonData(data, profile, button) == kResultOk)
        return kResultOk;
    for (auto pause : kUploadRetryPauses) {
        channel.sleeper().sleep(pause);
        if (channel.uploadButtonData(data, profile, button) == kResultOk)
            return kResultOk;
    }
    return kResultDeviceError;
}

} // namespace

uint8_t setPollingRate(CommandChannel& channel, int32_t profile, int32_t rateHz) {
    std::lock_guard guard(channel.libraryLock());
    if (!isProfileNumber(profile))
        return kResultInvalidArgument;
    if (!channel.transport().ensureDevice())
        return kResultDeviceError;
    const auto code = rateCode(rateHz);
    if (!code)
        return kResultInvalidArgument;
    return channel.runCommand(sensorCommand(SensorSub::PollingRate, profile, *code), 50ms);
}

uint8_t setButtonResponseTime(CommandChannel& channel, int32_t profile, int32_t time) {
    const uint8_t t = lowByte(time);
    const bool valid = isProfileNumber(profile) && t % 2 == 0 && t >= 2 && t <= 12;
    return checkedCommand(channel, valid, sensorCommand(SensorSub::ResponseTime, profile, t), 50ms);
}

uint8_t setAngleSnapping(CommandChannel& channel, int32_t profile, int32_t on) {
    return checkedCommand(channel, isProfileNumber(profile) && isOnOff(on),
                          sensorCommand(SensorSub::AngleSnapping, profile, lowByte(on)), 30ms);
}

uint8_t setLiftOff(CommandChannel& channel, int32_t profile, int32_t on) {
    return checkedCommand(channel, isProfileNumber(profile) && isOnOff(on),
                          sensorCommand(SensorSub::LiftOff, profile, lowByte(on)), 50ms);
}

uint8_t setDpiSettings(CommandChannel& channel, int32_t profile, const DpiSettings& dpi) {
    protocol::CommandReport report = sensorCommand(SensorSub::Dpi, profile, dpi.first, dpi.second);
    putDpiValues(report, 16, dpi);
    return checkedCommand(channel, isProfileNumber(profile), report, 50ms);
}

uint8_t resetSensorSettings(CommandChannel& channel, int32_t profile, const SensorValues& values,
                            const DpiSettings& dpi) {
    protocol::CommandReport report = sensorCommand(SensorSub::All, profile);
    report[16] = lowByte(values.rateCode);
    report[17] = lowByte(values.responseTime);
    report[18] = lowByte(values.angleSnapping);
    report[19] = lowByte(values.liftOff);
    report[20] = dpi.first;
    report[21] = dpi.second;
    putDpiValues(report, 22, dpi);
    return checkedCommand(channel, isProfileNumber(profile), report, 50ms);
}

uint8_t updateLighting(CommandChannel& channel, int32_t profile, int32_t mode, const LightingColors& colors,
                       int32_t brightness, int32_t flag, int32_t step) {
    protocol::CommandReport report = protocol::makeCommand(protocol::command::kLighting, 0, lowByte(profile));
    report[16] = lowByte(mode);
    std::memcpy(report.data() + 17, colors.bytes, sizeof colors.bytes);
    report[41] = lowByte(brightness);
    report[42] = lowByte(flag);
    report[43] = lowByte(step);
    return checkedCommand(channel, isProfileNumber(profile), report, 100ms);
}

uint8_t setButtonSettings(CommandChannel& channel, int32_t profile, const ButtonSettings* settings) {
    std::lock_guard guard(channel.libraryLock());
    // Only a macro's events are read; one claiming more than the record holds
    // is refused, never read past. Other types carry any count unread.
    if (!isProfileNumber(profile) || !settings ||
        (settings->functionType == kFunctionTypeMacro && settings->eventCount > TALWYN_MAX_BUTTON_EVENTS))
        return kResultInvalidArgument;
    if (!channel.transport().ensureDevice())
        return kResultDeviceError;
    const EncodedButton encoded = encodeButton(*settings);
    const uint8_t button = lowByte(settings->button);
    protocol::CommandReport report =
        protocol::makeCommand(protocol::command::kButton, 0, lowByte(profile), button);
    const auto entry = encoded.entry.bytes();
    std::copy(entry.begin(), entry.end(), report.begin() + protocol::kPayloadOffset);
    if (channel.runCommand(report, 50ms) != kResultOk)
        return kResultDeviceError;
    if (!encoded.data)
        return kResultOk;
    return uploadWithRetries(channel, *encoded.data, lowByte(profile), button);
}

uint8_t setButtonLaunch(CommandChannel& channel, const LaunchSettings* settings, LaunchKind kind) {
    std::lock_guard guard(channel.libraryLock());
    if (!settings || !isProfileNumber(settings->profile) || settings->length > TALWYN_MAX_LAUNCH_DATA ||
        (settings->length > 0 && !settings->data))
        return kResultInvalidArgument;
    if (!channel.transport().ensureDevice())
        return kResultDeviceError;
    if (settings->button < 1 || settings->button > TALWYN_PROFILE_BUTTONS)
        return kResultInvalidArgument;
    protocol::DataBlock data{};
    std::copy_n(settings->data, settings->length, data.begin());
    const uint8_t profile = lowByte(settings->profile);
    const uint8_t button = lowByte(settings->button);
    protocol::CommandReport report = protocol::makeCommand(protocol::command::kButton, 0, profile, button);
    report[16] = static_cast<uint8_t>(kind);
    protocol::putLe16(report, 18, settings->length);
    const auto pause = kind == LaunchKind::Program ? 50ms : 80ms;
    if (channel.runCommand(report, pause) != kResultOk)
        return kResultDeviceError;
    return channel.uploadButtonData(data, profile, button) == kResultOk ? kResultOk : kResultDeviceError;
}

} // namespace talwyn::devlib
