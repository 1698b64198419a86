#pragma once
// The settings commands of one profile: report rate, response time, angle
// snapping, lift-off, resolutions, all sensor settings, lighting, button
// functions and launch buttons. Each returns 1, 2 (argument out of range,
// nothing sent) or 20 (no device, transfer failure, not acknowledged) and
// holds the library lock for its whole run.
//
// Command bytes (64-byte reports, zero elsewhere; p = profile):
//   report rate      A1 0D 01 00 00 p code(8,4,2,1)     pause 50
//   response time    A1 0D 02 00 00 p t                 pause 50
//   angle snapping   A1 0D 03 00 00 p 0|1               pause 30
//   lift-off         A1 0D 04 00 00 p 0|1               pause 50
//   resolutions      A1 0D 0A 00 00 p first second, 16-35 values (LE)      pause 50
//   sensor reset     A1 0D 0F 00 00 p, 16-19 r t a l, 20 first, 21 second,
//                    22-41 values                                          pause 50
//   lighting         A1 0C 00 00 00 p, 16 mode, 17-40 colours,
//                    41 brightness, 42 flag, 43 step                       pause 100
//   button           A1 0A 00 00 00 p b, 16-22 button entry                pause 50
//   launch           A1 0A 00 00 00 p b, 16 23|24, 18-19 length            pause 50|80
//   data upload      A0 21 b 00 00 p 00 chk16(7-8), 16-1039 data (1041 bytes)

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
