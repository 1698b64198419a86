// Profile and device commands against the simulated mouse: what the library
// writes reads back, the profile commands' bytes, versions and discovery.

#include "commands_fixture.h"
#include "device/device_image.h"
#include "devlib/profile_commands.h"
#include "devlib/settings_commands.h"
#include "protocol/device_ids.h"
#include "support/recording_sleeper.h"

#include <cstring>

namespace talwyn::devlib::testing {
namespace {

using namespace std::chrono_literals;
using Pauses = std::vector<std::chrono::milliseconds>;

TEST_F(DevlibCommandsTest, LaunchButtonReadsBackThroughTheProfile) {
    const std::string path = "/usr/bin/editor";
    LaunchSettings launch{2, 3, reinterpret_cast<const uint8_t*>(path.data()),
                          static_cast<uint16_t>(path.size())};
    EXPECT_EQ(setButtonLaunch(channel(), &launch, LaunchKind::Program), kResultOk);
    const auto sent = sentReports();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0],
              report({0xA1, 0x0A, 0, 0, 0, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x23, 0x00, 0x0F, 0x00}));
    EXPECT_EQ(pauses(), (Pauses{50ms, 100ms}));

    ProfileSettings settings{};
    ButtonDataSet data{};
    std::memset(&data, 0xEE, sizeof data);
    mouse.clearWireLog();
    EXPECT_EQ(readProfile(channel(), 2, &settings, &data), kResultOk);
    EXPECT_EQ(sentReports(), (std::vector<std::string>{report({0xA1, 0x0B, 0x07, 0, 0, 2, 0, 0}),
                                                       report({0xA1, 0x25, 0x03, 0, 0, 2, 0})}));
    EXPECT_EQ(settings.buttonSettings[2].functionType, 25);
    EXPECT_EQ(settings.buttonSettings[2].sub, 6);
    EXPECT_EQ(settings.buttonSettings[2].value, path.size());
    EXPECT_EQ(data.lengths[2], path.size());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.data[2])), path);
    EXPECT_EQ(data.data[1][0], 0xEE) << "slots of other buttons stay untouched";
    EXPECT_EQ(data.lengths[1], 0xEEEE);
}

TEST_F(DevlibCommandsTest, MacroReadsBackWithItsEvents) {
    ButtonSettings macro{};
    macro.button = 5;
    macro.functionType = 19;
    macro.sub = 1;
    macro.macroByte = 9;
    macro.eventCount = 2;
    macro.events[0] = {0x12, 0, 0x41, 0, {}, 20};
    macro.events[1] = {0x12, 0, 0x41, 1, {}, 0};
    ASSERT_EQ(setButtonSettings(channel(), 1, &macro), kResultOk);
    const ButtonSettings back = readBack(1).buttonSettings[4];
    EXPECT_EQ(back.functionType, 19);
    EXPECT_EQ(back.sub, 1);
    EXPECT_EQ(back.subCopy, 1);
    EXPECT_EQ(back.macroByte, 9);
    EXPECT_EQ(back.eventCount, 2);
    EXPECT_EQ(back.events[0].kind, 0x12);
    EXPECT_EQ(back.events[0].key, 0x41);
    EXPECT_EQ(back.events[0].delay, 20u);
    EXPECT_EQ(back.events[1].release, 1);
}

TEST_F(DevlibCommandsTest, SettingsReadBackThroughTheProfileBlock) {
    ASSERT_EQ(setPollingRate(channel(), 4, 250), kResultOk);
    ASSERT_EQ(setButtonResponseTime(channel(), 4, 8), kResultOk);
    ASSERT_EQ(setAngleSnapping(channel(), 4, 1), kResultOk);
    ASSERT_EQ(setLiftOff(channel(), 4, 1), kResultOk);
    ASSERT_EQ(setDpiSettings(channel(), 4, sampleDpi()), kResultOk);
    LightingColors colors{};
    for (uint8_t i = 0; i < 24; ++i)
        colors.bytes[i] = static_cast<uint8_t>(i * 7);
    ASSERT_EQ(updateLighting(channel(), 4, 5, colors, 50, 1, 2), kResultOk);
    ProfileSettings s{};
    ButtonDataSet data{};
    ASSERT_EQ(readProfile(channel(), 4, &s, &data), kResultOk);
    EXPECT_EQ(s.profileNumber, 4);
    EXPECT_EQ(s.pollingRate, 250u);
    EXPECT_EQ(s.responseTime, 8);
    EXPECT_EQ(s.angleSnapping, 1u);
    EXPECT_EQ(s.liftOffOption, 1u);
    const DpiSettings dpi = sampleDpi();
    EXPECT_EQ(std::memcmp(&s.dpiSettings, &dpi, sizeof(DpiSettings)), 0);
    EXPECT_EQ(s.lightingMode, 5u);
    EXPECT_EQ(std::memcmp(s.colors.bytes, colors.bytes, 24), 0);
    EXPECT_EQ(s.brightness, 50u);
    EXPECT_EQ(s.lightingFlag, 1u);
    EXPECT_EQ(s.lightingStep, 2u);
    EXPECT_TRUE(notes().empty());
}

TEST_F(DevlibCommandsTest, ProfileCommandsSendTheirBytes) {
    struct Case {
        const char* name;
        std::function<uint8_t(CommandChannel&)> run;
        std::string sent;
        Pauses pauses;
    };
    const std::vector<Case> cases{
        {"reset",
         [](CommandChannel& c) { return runProfileCommand(c, ProfileCommand::ResetToDefault, 2); },
         report({0xA1, 0x0B, 0x01, 0, 0, 2}),
         {50ms}},
        {"sync 6",
         [](CommandChannel& c) { return runProfileCommand(c, ProfileCommand::Sync, 6); },
         report({0xA1, 0x0B, 0x02, 0, 0, 6}),
         {50ms}},
        {"set current",
         [](CommandChannel& c) { return runProfileCommand(c, ProfileCommand::SetCurrent, 3); },
         report({0xA1, 0x0B, 0x04, 0, 0, 3}),
         {100ms}},
        {"add",
         [](CommandChannel& c) { return runProfileCommand(c, ProfileCommand::Add, 5); },
         report({0xA1, 0x0B, 0x05, 0, 0, 5}),
         {50ms}},
        {"delete",
         [](CommandChannel& c) { return runProfileCommand(c, ProfileCommand::Delete, 5); },
         report({0xA1, 0x0B, 0x06, 0, 0, 5}),
         {50ms}},
        {"copy",
         [](CommandChannel& c) { return copyProfile(c, 1, 4); },
         report({0xA1, 0x0B, 0x0A, 0, 0, 1, 4}),
         {50ms}},
        {"factory", [](CommandChannel& c) { return resetFactoryDefault(c); }, report({0xA1, 0x0E}), {50ms}},
    };
    for (const Case& c : cases) {
        mouse.clearWireLog();
        sleeper.pauses.clear();
        EXPECT_EQ(c.run(channel()), kResultOk) << c.name;
        EXPECT_EQ(sentReports(), std::vector<std::string>{c.sent}) << c.name;
        EXPECT_EQ(pauses(), c.pauses) << c.name;
    }
}

TEST_F(DevlibCommandsTest, CurrentProfileAndCountComeFromByteSixteen) {
    ASSERT_EQ(runProfileCommand(channel(), ProfileCommand::SetCurrent, 3), kResultOk);
    sleeper.pauses.clear();
    uint8_t current = 0;
    EXPECT_EQ(getCurrentProfile(channel(), &current), kResultOk);
    EXPECT_EQ(current, 3);
    EXPECT_EQ(pauses(), (Pauses{50ms, 10ms}));

    uint8_t count = 0;
    EXPECT_EQ(getProfileCount(channel(), &count), kResultOk);
    EXPECT_EQ(count, 5);
    for (int p = 1; p <= 5; ++p)
        ASSERT_EQ(runProfileCommand(channel(), ProfileCommand::Delete, p), kResultOk);
    count = 9;
    EXPECT_EQ(getProfileCount(channel(), &count), kResultDeviceError);
    EXPECT_EQ(count, 0) << "the reported count is stored even when rejected";
}

TEST_F(DevlibCommandsTest, CopyAndResetMoveWholeProfiles) {
    ASSERT_EQ(setPollingRate(channel(), 1, 125), kResultOk);
    ASSERT_EQ(copyProfile(channel(), 1, 2), kResultOk);
    ProfileSettings s{};
    ButtonDataSet data{};
    ASSERT_EQ(readProfile(channel(), 2, &s, &data), kResultOk);
    EXPECT_EQ(s.pollingRate, 125u);
    EXPECT_EQ(s.profileNumber, 2);
    ASSERT_EQ(runProfileCommand(channel(), ProfileCommand::ResetToDefault, 2), kResultOk);
    ASSERT_EQ(readProfile(channel(), 2, &s, &data), kResultOk);
    EXPECT_EQ(s.pollingRate, 1000u);
}

TEST_F(DevlibCommandsTest, ReadProfileLeavesRecordsAloneOnFailure) {
    ProfileSettings s{};
    s.pollingRate = 77;
    ButtonDataSet data{};
    EXPECT_EQ(readProfile(channel(), 6, &s, &data), kResultInvalidArgument);
    mouse.unplug();
    EXPECT_EQ(readProfile(channel(), 1, &s, &data), kResultDeviceError);
    EXPECT_EQ(s.pollingRate, 77u);
}

TEST_F(DevlibCommandsTest, VersionsReadTheirHexDigitsAsDecimal) {
    struct Case {
        uint16_t firmware;
        uint16_t expected;
    };
    for (const Case& c : std::vector<Case>{{0x0210, 210}, {0x01A5, 1}, {0x00A0, 0}}) {
        sim::SimMouse other({c.firmware, 0x0100, true});
        sim::SimHidBackend otherBackend(other);
        hid::RecordingSleeper otherSleeper;
        BackendInputSource otherInput(otherBackend);
        LibraryState lib({otherBackend, otherSleeper, otherSleeper, otherInput, nullptr});
        uint16_t version = 0xFFFF;
        EXPECT_EQ(lib.firmwareVersion(&version), kResultOk);
        EXPECT_EQ(version, c.expected) << std::hex << c.firmware;
        EXPECT_EQ(lib.bootloaderVersion(&version), kResultOk);
        EXPECT_EQ(version, 100);
        EXPECT_EQ(otherSleeper.pauses, (Pauses{50ms, 50ms}));
    }
}

TEST_F(DevlibCommandsTest, DeviceStatusOpensOnceAndReportsAbsence) {
    uint16_t status = 0;
    EXPECT_EQ(library.deviceStatus(&status), kResultOk);
    EXPECT_EQ(status, 1);
    mouse.unplug();
    EXPECT_EQ(library.deviceStatus(&status), kResultOk) << "an open interface is not checked again";
    library.closeConfig();
    EXPECT_EQ(library.deviceStatus(&status), kResultDeviceError);
    EXPECT_EQ(status, 255);
    EXPECT_TRUE(sentReports().empty());
}

TEST_F(DevlibCommandsTest, OpeningPicksTheRightCollection) {
    EXPECT_EQ(library.openConfig(protocol::kProductIdBootloader), 0) << "mouse is in normal mode";
    EXPECT_FALSE(channel().transport().isOpen());
    EXPECT_EQ(setLiftOff(channel(), 1, 0), kResultOk) << "a command reopens the normal interface";
    EXPECT_EQ(library.openCompliant(), 1);
    EXPECT_EQ(library.openConfig(protocol::kProductIdNormal), 1);
    mouse.clearWireLog();
    ASSERT_EQ(setLiftOff(channel(), 1, 0), kResultOk);
    ASSERT_EQ(mouse.wireLog().size(), 2u);
    EXPECT_NE(mouse.wireLog()[0].find("MI_01&Col01"), std::string::npos) << mouse.wireLog()[0];
}

} // namespace
} // namespace talwyn::devlib::testing

namespace talwyn::devlib::testing {
namespace {

// The program's upload (the 2048-byte image in two A0 08 reports) and the
// library's read describe one stored profile.
TEST_F(DevlibCommandsTest, AProfileUploadedByTheProgramReadsBackThroughTheLibrary) {
    ProfileData profile;
    profile.slotIndex = 2;
    profile.reportInterval = 2; // 500 Hz
    profile.liftOff = 1;
    profile.dpi[0].x = 800;
    profile.buttons[0].function = function_code::kMacro;
    profile.buttons[0].param = 7;
    profile.macros[profile.buttons[0].buttonIndex] = {u"copy", 7, {{1, 0x41, 0, 20}, {1, 0x41, 1, 0}}};
    profile.buttons[1].function = function_code::kSingleKey;
    profile.buttons[1].param = 0x70;
    const device::DeviceImage image = device::buildDeviceImage(profile);
    ASSERT_TRUE(channel().transport().ensureDevice());
    for (uint8_t part = 0; part < 2; ++part) {
        protocol::BlockReport upload{protocol::kReportIdData, 0x08, 0, 0, 0, profile.slotIndex, part};
        std::copy_n(image.bytes.begin() + part * protocol::kDataBlockSize, protocol::kDataBlockSize,
                    upload.begin() + protocol::kPayloadOffset);
        ASSERT_TRUE(channel().transport().sendReport(upload, 50ms));
    }

    ProfileSettings s{};
    ButtonDataSet data{};
    ASSERT_EQ(readProfile(channel(), 3, &s, &data), kResultOk);
    EXPECT_EQ(s.pollingRate, 500u);
    EXPECT_EQ(s.liftOffOption, 1u);
    EXPECT_EQ(s.dpiSettings.values[0], 800);
    const ButtonSettings& macro = s.buttonSettings[0];
    EXPECT_EQ(macro.functionType, 19);
    ASSERT_EQ(macro.eventCount, 2);
    EXPECT_EQ(macro.events[0].kind, 0x12);
    EXPECT_EQ(macro.events[0].key, 0x41);
    EXPECT_EQ(macro.events[0].delay, 20u);
    EXPECT_EQ(macro.events[1].release, 1);
    EXPECT_EQ(s.buttonSettings[1].functionType, 18);
    EXPECT_EQ(s.buttonSettings[1].value, 0x70);
}

} // namespace
} // namespace talwyn::devlib::testing
