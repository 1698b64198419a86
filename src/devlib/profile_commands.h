#pragma once
// The profile commands: active profile, count, enable/disable, copy, reset,
// sync, and reading one profile back. Each returns 1, 2 or 20 and holds the
// library lock for its whole run.
//
// Command bytes (64-byte reports A1 0B sub 00 00 p ..., zero elsewhere):
//   01 reset p (50 ms)   02 sync n 1-6 (50)   03 current -> reply 16 (50+10)
//   04 set current (100) 05 add (50)          06 delete (50)
//   07 read -> 0xA0 block of the profile (80) 09 count -> reply 16 (50+10)
//   0A copy: byte 5 source, byte 6 target (50)
//   A1 0E: factory reset (50)   A1 25 b 00 00 p: a button's data block (10)

#include "devlib/command_channel.h"
#include "talwyn_pro_dll.h"

namespace talwyn::devlib {

enum class ProfileCommand : uint8_t {
    ResetToDefault = 0x01,
    Sync = 0x02,
    SetCurrent = 0x04,
    Add = 0x05,
    Delete = 0x06,
};

// The one-argument commands (profile 1 to 5; Sync also takes 6).
uint8_t runProfileCommand(CommandChannel& channel, ProfileCommand command, int32_t profile);
uint8_t getCurrentProfile(CommandChannel& channel, uint8_t* profile);
uint8_t getProfileCount(CommandChannel& channel, uint8_t* count);
uint8_t copyProfile(CommandChannel& channel, int32_t source, int32_t target);
uint8_t resetFactoryDefault(CommandChannel& channel);
uint8_t readProfile(CommandChannel& channel, int32_t profile, ProfileSettings* settings, ButtonDataSet* data);

} // namespace talwyn::devlib
