#pragma once
// The settings commands of one profile: report rate, response time, angle
// snapping, lift-off, resolutions, all sensor settings, lighting, button
// functions and launch buttons. Each returns 1, 2 (argument out of range,
// nothing sent) or 20 (no device, transfer failure, not acknowledged) and
// holds the library lock for its whole run.

#include "devlib/command_channel.h"
#include "talwyn_pro_dll.h"

namespace talwyn::devlib {

struct SensorValues {
    int32_t rateCode;
    int32_t responseTime;
    int32_t angleSnapping;
    int32_t liftOff;
};

enum class LaunchKind : uint8_t { Program = 0x23, Browser = 0x24 };

uint8_t setPollingRate(CommandChannel& channel, int32_t profile, int32_t rateHz);
uint8_t setButtonResponseTime(CommandChannel& channel, int32_t profile, int32_t time);
uint8_t setAngleSnapping(CommandChannel& channel, int32_t profile, int32_t on);
uint8_t setLiftOff(CommandChannel& channel, int32_t profile, int32_t on);
uint8_t setDpiSettings(CommandChannel& channel, int32_t profile, const DpiSettings& dpi);
uint8_t resetSensorSettings(CommandChannel& channel, int32_t profile, const SensorValues& values,
                            const DpiSettings& dpi);
uint8_t updateLighting(CommandChannel& channel, int32_t profile, int32_t mode, const LightingColors& colors,
                       int32_t brightness, int32_t flag, int32_t step);
uint8_t setButtonSettings(CommandChannel& channel, int32_t profile, const ButtonSettings* settings);
uint8_t setButtonLaunch(CommandChannel& channel, const LaunchSettings* settings, LaunchKind kind);

} // namespace talwyn::devlib
