#pragma once
// The profile commands: active profile, count, enable/disable, copy, reset,
// sync, and reading one profile back. Each returns 1, 2 or 20 and holds the
// library lock for its whole run.

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
