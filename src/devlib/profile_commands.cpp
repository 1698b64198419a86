#include "devlib/profile_commands.h"

#include "devlib/profile_block.h"
#include "protocol/commands.h"

#include <algorithm>
#include <cstring>

namespace talwyn::devlib {
namespace {

using namespace std::chrono_literals;

constexpr uint8_t kSubGetCurrent = 0x03;
constexpr uint8_t kSubRead = 0x07;
constexpr uint8_t kSubCount = 0x09;
constexpr uint8_t kSubCopy = 0x0A;
constexpr uint8_t kLaunchSubBrowser = 1;
constexpr uint8_t kLaunchSubProgram = 6;

std::chrono::milliseconds pauseOf(ProfileCommand command) {
    switch (command) {
    case ProfileCommand::SetCurrent:
        return 100ms;
    default:
        return 50ms;
    }
}

// Reads the 1024-byte settings block of a profile.
bool readProfileBlock(CommandChannel& channel, uint8_t profile, protocol::DataBlock& block) {
    ConfigTransport& transport = channel.transport();
    const bool sent = transport.sendReport(
        protocol::makeCommand(protocol::command::kProfile, kSubRead, profile), kFastRetryPause);
    channel.sleeper().sleep(80ms);
    if (!sent)
        return false;
    auto reply = protocol::makeReplyBuffer<protocol::kBlockReportSize>(protocol::kReportIdData);
    if (!transport.receiveReport(reply) || reply[1] != protocol::kReplyDone)
        return false;
    std::copy_n(reply.begin() + protocol::kPayloadOffset, protocol::kDataBlockSize, block.begin());
    return true;
}

void readButtonBlocks(CommandChannel& channel, uint8_t profile, ProfileSettings& settings,
                      ButtonDataSet& data) {
    for (std::size_t i = 0; i < TALWYN_PROFILE_BUTTONS; ++i) {
        ButtonSettings& button = settings.buttonSettings[i];
        const auto number = static_cast<uint8_t>(i + 1);
        const bool launch = button.functionType == kFunctionTypeShortcut &&
                            (button.sub == kLaunchSubBrowser || button.sub == kLaunchSubProgram);
        if (launch) {
            // A failed read leaves a zero slot rather than stale host bytes.
            protocol::DataBlock block{};
            channel.readButtonData(number, profile, block);
            std::memcpy(data.data[i], block.data(), block.size());
            button.value = std::min<uint16_t>(button.value, protocol::kDataBlockSize);
            data.lengths[i] = button.value;
        } else if (button.functionType == kFunctionTypeMacro) {
            protocol::DataBlock block{};
            channel.readButtonData(number, profile, block);
            button.subCopy = button.sub;
            button.macroByte = static_cast<uint8_t>(button.value & 0xFF);
            decodeMacroEvents(block, button);
        }
    }
}

} // namespace

uint8_t runProfileCommand(CommandChannel& channel, ProfileCommand command, int32_t profile) {
    std::lock_guard guard(channel.libraryLock());
    const bool valid =
        command == ProfileCommand::Sync ? profile >= 1 && profile <= 6 : isProfileNumber(profile);
    if (!valid)
        return kResultInvalidArgument;
    if (!channel.transport().ensureDevice())
        return kResultDeviceError;
    return channel.runCommand(protocol::makeCommand(protocol::command::kProfile,
                                                    static_cast<uint8_t>(command),
                                                    static_cast<uint8_t>(profile)),
                              pauseOf(command));
}

uint8_t getCurrentProfile(CommandChannel& channel, uint8_t* profile) {
    std::lock_guard guard(channel.libraryLock());
    if (!profile)
        return kResultInvalidArgument;
    if (!channel.transport().ensureDevice())
        return kResultDeviceError;
    protocol::CommandReport reply{};
    if (channel.runCommand(protocol::makeCommand(protocol::command::kProfile, kSubGetCurrent), {50ms, 10ms},
                           &reply) != kResultOk)
        return kResultDeviceError;
    *profile = reply[16];
    return kResultOk;
}

uint8_t getProfileCount(CommandChannel& channel, uint8_t* count) {
    std::lock_guard guard(channel.libraryLock());
    if (!count)
        return kResultInvalidArgument;
    if (!channel.transport().ensureDevice())
        return kResultDeviceError;
    protocol::CommandReport reply{};
    if (channel.runCommand(protocol::makeCommand(protocol::command::kProfile, kSubCount), {50ms, 10ms},
                           &reply) != kResultOk)
        return kResultDeviceError;
    *count = reply[16];
    return *count >= 1 && *count <= 5 ? kResultOk : kResultDeviceError;
}

uint8_t copyProfile(CommandChannel& channel, int32_t source, int32_t target) {
    std::lock_guard guard(channel.libraryLock());
    if (!isProfileNumber(source) || !isProfileNumber(target))
        return kResultInvalidArgument;
    if (!channel.transport().ensureDevice())
        return kResultDeviceError;
    return channel.runCommand(protocol::makeCommand(protocol::command::kProfile, kSubCopy,
                                                    static_cast<uint8_t>(source),
                                                    static_cast<uint8_t>(target)),
                              50ms);
}

uint8_t resetFactoryDefault(CommandChannel& channel) {
    std::lock_guard guard(channel.libraryLock());
    if (!channel.transport().ensureDevice())
        return kResultDeviceError;
    return channel.runCommand(protocol::makeCommand(protocol::command::kFactoryReset, 0), 50ms);
}

uint8_t readProfile(CommandChannel& channel, int32_t profile, ProfileSettings* settings,
                    ButtonDataSet* data) {
    std::lock_guard guard(channel.libraryLock());
    if (!isProfileNumber(profile) || !settings || !data)
        return kResultInvalidArgument;
    if (!channel.transport().ensureDevice())
        return kResultDeviceError;
    protocol::DataBlock block{};
    if (!readProfileBlock(channel, static_cast<uint8_t>(profile), block))
        return kResultDeviceError;
    decodeProfileBlock(block, *settings);
    readButtonBlocks(channel, static_cast<uint8_t>(profile), *settings, *data);
    return kResultOk;
}

} // namespace talwyn::devlib
