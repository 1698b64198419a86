#pragma once
// Command codes: byte 1 of a command or block report (reports.h).

#include <array>
#include <cstdint>

namespace talwyn::protocol::command {

// The program's commands.
inline constexpr uint8_t kReadActiveProfile = 0x03; // slot in reply byte 16
inline constexpr uint8_t kActivateProfile = 0x04;   // slot in byte 5
inline constexpr uint8_t kSurfaceAnalysis = 0x05;   // sub-command below, value in reply byte 16
inline constexpr uint8_t kSurfaceStart = 0x01;
inline constexpr uint8_t kSurfaceRead = 0x02;
inline constexpr uint8_t kUploadImage = 0x08; // block report 0xA0, slot in byte 5, half in byte 6

// The library's commands in normal mode.
inline constexpr uint8_t kVersion = 0x02; // firmware version at reply 16, bootloader version at 18
inline constexpr uint8_t kButton = 0x0A;
inline constexpr uint8_t kProfile = 0x0B;
inline constexpr uint8_t kLighting = 0x0C;
inline constexpr uint8_t kSensor = 0x0D;
inline constexpr uint8_t kFactoryReset = 0x0E;
inline constexpr uint8_t kUploadButtonData = 0x21; // block report 0xA0, checksum at bytes 7-8
inline constexpr uint8_t kReadButtonData = 0x25;
inline constexpr uint8_t kEnterBootloader = 0x3A; // access code at bytes 4-7

inline constexpr std::array<uint8_t, 4> kBootloaderAccessCode{0x00, 0x6E, 0x91, 0x27};

// The bootloader's commands, all in 1041-byte reports.
inline constexpr uint8_t kStartTransfer = 0x03; // block count at 16, image checksum at 17-20
inline constexpr uint8_t kFirmwareBlock = 0x06; // report 0xA0, index at 2, checksum at 3-4
inline constexpr uint8_t kFinishTransfer = 0x09;
// Firmware blocks are numbered from this index on.
inline constexpr uint8_t kFirstFirmwareBlock = 12;

} // namespace talwyn::protocol::command
