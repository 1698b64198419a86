// Settings, profile and device commands against the simulated mouse: the
// exact reports on the wire, the pauses, the results, and that what the
// library writes reads back.

#include "device/device_image.h"
#include "devlib/profile_commands.h"
#include "devlib/settings_commands.h"
#include "protocol/device_ids.h"
#include "sim_fixture.h"
#include "support/recording_sleeper.h"

#include <cstring>

namespace talwyn::devlib::testing {
namespace {

using namespace std::chrono_literals;
using Pauses = std::vector<std::chrono::milliseconds>;

class DevlibCommandsTest : public SimLibraryTest {
protected:
    CommandChannel& channel() { return library.channel(); }
    // A profile as the library reads it back.
    ProfileSettings readBack(int32_t profile) {
        ProfileSettings settings{};
        ButtonDataSet data{};
        EXPECT_EQ(readProfile(channel(), profile, &settings, &data), kResultOk);
        return settings;
    }
};

TEST_F(DevlibCommandsTest, PollingRateSendsItsCodeAndPausesBeforeTheStatus) {
    EXPECT_EQ(setPollingRate(channel(), 3, 500), kResultOk);
    EXPECT_EQ(sentReports(), std::vector<std::string>{report({0xA1, 0x0D, 0x01, 0, 0, 3, 0x02, 0})});
    EXPECT_EQ(pauses(), Pauses{50ms});
    EXPECT_EQ(mouse.snapshot().images[2][0x15], 2);
}

TEST_F(DevlibCommandsTest, RangeChecksComeBeforeTheDeviceWhereTheOrderSaysSo) {
    struct Case {
        const char* name;
        std::function<uint8_t(CommandChannel&)> run;
        uint8_t withMouse;
        uint8_t withoutMouse;
    };
    DpiSettings dpi{};
    const std::vector<Case> cases{
        {"profile 6", [](CommandChannel& c) { return setPollingRate(c, 6, 500); }, 2, 2},
        {"rate 300 (checked after the device)", [](CommandChannel& c) { return setPollingRate(c, 1, 300); },
         2, 20},
        {"response time 3", [](CommandChannel& c) { return setButtonResponseTime(c, 1, 3); }, 2, 2},
        {"response time 0", [](CommandChannel& c) { return setButtonResponseTime(c, 1, 0); }, 2, 2},
        {"response time 14", [](CommandChannel& c) { return setButtonResponseTime(c, 1, 14); }, 2, 2},
        {"lift-off 2", [](CommandChannel& c) { return setLiftOff(c, 1, 2); }, 2, 2},
        {"angle snapping -1", [](CommandChannel& c) { return setAngleSnapping(c, 1, -1); }, 2, 2},
        {"dpi profile 0", [dpi](CommandChannel& c) { return setDpiSettings(c, 0, dpi); }, 2, 2},
        {"sync 7", [](CommandChannel& c) { return runProfileCommand(c, ProfileCommand::Sync, 7); }, 2, 2},
        {"copy to 6", [](CommandChannel& c) { return copyProfile(c, 1, 6); }, 2, 2},
        {"set current 0",
         [](CommandChannel& c) { return runProfileCommand(c, ProfileCommand::SetCurrent, 0); }, 2, 2},
        {"valid lift-off", [](CommandChannel& c) { return setLiftOff(c, 1, 1); }, 1, 20},
        {"factory reset", [](CommandChannel& c) { return resetFactoryDefault(c); }, 1, 20},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.run(channel()), c.withMouse) << c.name;
    }
    channel().transport().closeConfig();
    mouse.unplug();
    mouse.clearWireLog();
    for (const Case& c : cases) {
        EXPECT_EQ(c.run(channel()), c.withoutMouse) << c.name << " without a mouse";
    }
    EXPECT_TRUE(sentReports().empty());
}

TEST_F(DevlibCommandsTest, ResponseTimeUsesOnlyTheLowByte) {
    EXPECT_EQ(setButtonResponseTime(channel(), 2, 258), kResultOk);
    EXPECT_EQ(sentReports(), std::vector<std::string>{report({0xA1, 0x0D, 0x02, 0, 0, 2, 0x02, 0})});
    for (int time : {4, 6, 8, 10, 12})
        EXPECT_EQ(setButtonResponseTime(channel(), 2, time), kResultOk) << time;
}

TEST_F(DevlibCommandsTest, OnOffCommandsSendTheirSubCommandAndPause) {
    EXPECT_EQ(setLiftOff(channel(), 1, 1), kResultOk);
    EXPECT_EQ(setAngleSnapping(channel(), 4, 1), kResultOk);
    EXPECT_EQ(sentReports(), (std::vector<std::string>{report({0xA1, 0x0D, 0x04, 0, 0, 1, 1, 0}),
                                                       report({0xA1, 0x0D, 0x03, 0, 0, 4, 1, 0})}));
    EXPECT_EQ(pauses(), (Pauses{50ms, 30ms}));
}

DpiSettings sampleDpi() {
    DpiSettings dpi{};
    dpi.first = 2;
    dpi.second = 5;
    const uint16_t values[10] = {400, 400, 800, 800, 1600, 3200, 6400, 100, 200, 12000};
    std::memcpy(dpi.values, values, sizeof values);
    return dpi;
}

TEST_F(DevlibCommandsTest, DpiPayloadStartsAtByteSixteen) {
    EXPECT_EQ(setDpiSettings(channel(), 1, sampleDpi()), kResultOk);
    const std::string sent = sentReports().at(0);
    EXPECT_EQ(sent.substr(0, 16), "a10d0a0000010205");
    EXPECT_EQ(sent.substr(32, 40), "90019001200320034006800c00196400c800e02e");
    EXPECT_EQ(sent.size(), 128u);
}

TEST_F(DevlibCommandsTest, SensorResetCarriesRawValuesThenResolutions) {
    EXPECT_EQ(resetSensorSettings(channel(), 5, {8, 6, 1, 0}, sampleDpi()), kResultOk);
    const std::string sent = sentReports().at(0);
    EXPECT_EQ(sent.substr(0, 16), "a10d0f0000050000");
    EXPECT_EQ(sent.substr(32, 20), "08060100020590019001");
}

TEST_F(DevlibCommandsTest, LightingCopiesTheColoursAndLowBytes) {
    LightingColors colors{};
    for (uint8_t i = 0; i < 24; ++i)
        colors.bytes[i] = static_cast<uint8_t>(0xC0 + i);
    EXPECT_EQ(updateLighting(channel(), 2, 0x105, colors, 75, 1, 0x202), kResultOk);
    const std::string sent = sentReports().at(0);
    EXPECT_EQ(sent.substr(0, 16), "a10c000000020000");
    EXPECT_EQ(sent.substr(32, 2), "05");
    EXPECT_EQ(sent.substr(34, 48), hexOf(std::span<const uint8_t>(colors.bytes, 24)));
    EXPECT_EQ(sent.substr(82, 6), "4b0102");
    EXPECT_EQ(pauses(), Pauses{100ms});
}

TEST_F(DevlibCommandsTest, KeyAssignmentSendsOneEntryAndNoUpload) {
    ButtonSettings key{};
    key.button = 3;
    key.functionType = 18;
    key.sub = 0x00;
    key.value = 0x70;
    EXPECT_EQ(setButtonSettings(channel(), 1, &key), kResultOk);
    EXPECT_EQ(sentReports(),
              std::vector<std::string>{report({0xA1, 0x0A, 0, 0, 0,    1,    3,    0,    0,    0,    0,   0,
                                               0,    0,    0, 0, 0x02, 0x00, 0x3A, 0x00, 0x00, 0x00, 0x0F})});
}

TEST_F(DevlibCommandsTest, MacroUploadsItsEventBlockWithTheChecksum) {
    ButtonSettings macro{};
    macro.button = 2;
    macro.functionType = 19;
    macro.macroByte = 7;
    macro.eventCount = 3;
    macro.events[0] = {0x12, 0, 0x41, 0, {}, 20};
    macro.events[1] = {0x12, 0, 0x41, 1, {}, 0};
    macro.events[2] = {0x10, 0, 0x01, 0, {}, 300};
    EXPECT_EQ(setButtonSettings(channel(), 4, &macro), kResultOk);
    const auto sent = sentReports();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].substr(32, 14), "03010700030"
                                      "00f");
    // 0x01+0x04+0x14 + 0x01+0x04+0x01 + 0x10+0x01+0x2C+0x01 = 0x5D
    EXPECT_EQ(sent[1].substr(0, 32), "a0210200000400"
                                     "5d00"
                                     "00000000000000");
    EXPECT_EQ(sent[1].substr(32, 56), "01040000140000"
                                      "01040001000000"
                                      "1001000"
                                      "02c0100"
                                      "00000000000000");
    EXPECT_EQ(sent[1].size(), 1041u * 2);
    EXPECT_EQ(pauses(), (Pauses{50ms, 100ms}));
    EXPECT_TRUE(notes().empty()) << notes().front();
}

TEST_F(DevlibCommandsTest, ShortcutWinLUploadsFourKeyEvents) {
    ButtonSettings shortcut{};
    shortcut.button = 1;
    shortcut.functionType = 25;
    shortcut.sub = 2;
    EXPECT_EQ(setButtonSettings(channel(), 1, &shortcut), kResultOk);
    const auto sent = sentReports();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].substr(32, 14), "18010200040"
                                      "00f");
    EXPECT_EQ(sent[1].substr(32, 70), "01e30000050000"
                                      "010f0000960000"
                                      "01e30001050000"
                                      "010f0001050000"
                                      "00000000000000");
}

TEST_F(DevlibCommandsTest, MediaSubSevenSendsTheConfigurationUsage) {
    ButtonSettings media{};
    media.button = 6;
    media.functionType = 24;
    media.sub = 7;
    EXPECT_EQ(setButtonSettings(channel(), 1, &media), kResultOk);
    EXPECT_EQ(sentReports().at(0).substr(32, 14), "20018301000"
                                                  "00f");
}

TEST_F(DevlibCommandsTest, UploadChecksumIsTheWrappingByteSum) {
    protocol::DataBlock data{};
    data[0] = 0xFF;
    data[1] = 0xFF;
    ASSERT_TRUE(channel().transport().ensureDevice());
    EXPECT_EQ(channel().uploadButtonData(data, 1, 1), kResultOk);
    EXPECT_EQ(sentReports().at(0).substr(14, 4), "fe01");
    EXPECT_EQ(protocol::checksum16(std::vector<uint8_t>(1024, 0xFF)), 0xFC00);
}

TEST_F(DevlibCommandsTest, BusyRepliesAreWaitedOutThreeTimes) {
    mouse.injectBusy(3);
    EXPECT_EQ(setPollingRate(channel(), 1, 1000), kResultOk);
    EXPECT_EQ(pauses(), (Pauses{50ms, 0ms, 30ms}));
    EXPECT_EQ(linesAfter("get_feature ").size(), 4u);

    sleeper.pauses.clear();
    mouse.injectBusy(4);
    EXPECT_EQ(setPollingRate(channel(), 1, 1000), kResultDeviceError);
    EXPECT_EQ(pauses(), (Pauses{50ms, 0ms, 30ms, 60ms}));
}

TEST_F(DevlibCommandsTest, TransientWriteFailuresAreRetriedFatalOnesAreNot) {
    ASSERT_TRUE(channel().transport().ensureDevice());
    mouse.injectFailures(hid::ErrorClass::Retryable, 3);
    EXPECT_EQ(setPollingRate(channel(), 1, 125), kResultOk);
    EXPECT_EQ(pauses(), (Pauses{50ms, 50ms, 50ms}));

    sleeper.pauses.clear();
    mouse.injectFailures(hid::ErrorClass::Retryable, 4);
    EXPECT_EQ(setPollingRate(channel(), 1, 125), kResultDeviceError);
    EXPECT_EQ(pauses(), (Pauses{50ms, 50ms, 50ms}));

    sleeper.pauses.clear();
    mouse.clearWireLog();
    mouse.injectFailures(hid::ErrorClass::Fatal, 1);
    EXPECT_EQ(setPollingRate(channel(), 1, 125), kResultDeviceError);
    EXPECT_TRUE(pauses().empty());
    EXPECT_TRUE(sentReports().empty());
}

TEST_F(DevlibCommandsTest, EventCountMattersOnlyForMacros) {
    // Types other than macros read no events, whatever count they carry.
    const int32_t types[] = {16, 18, 21, 25, 255};
    for (std::size_t i = 0; i < std::size(types); ++i) {
        ButtonSettings record{};
        record.button = static_cast<int32_t>(i + 1);
        record.functionType = types[i];
        record.sub = 2;
        record.value = 800;
        record.eventCount = 0xFFFF;
        EXPECT_EQ(setButtonSettings(channel(), 2, &record), kResultOk) << types[i];
    }

    // A resolution assignment is stored with its value twice, the second time
    // where a macro keeps its event count: read back, the record carries that
    // count and is accepted again.
    const ButtonSettings resolution = readBack(2).buttonSettings[2];
    EXPECT_EQ(resolution.functionType, 21);
    EXPECT_EQ(resolution.eventCount, 800);
    EXPECT_EQ(setButtonSettings(channel(), 2, &resolution), kResultOk);
}

TEST_F(DevlibCommandsTest, OverlongRecordsAreRefusedBeforeAnythingIsSent) {
    ButtonSettings macro{};
    macro.button = 1;
    macro.functionType = 19;
    macro.eventCount = 141;
    EXPECT_EQ(setButtonSettings(channel(), 1, &macro), kResultInvalidArgument);
    EXPECT_EQ(setButtonSettings(channel(), 1, nullptr), kResultInvalidArgument);
    std::vector<uint8_t> path(1025, 'x');
    LaunchSettings launch{1, 1, path.data(), 1025};
    EXPECT_EQ(setButtonLaunch(channel(), &launch, LaunchKind::Program), kResultInvalidArgument);
    launch = {1, 1, nullptr, 4};
    EXPECT_EQ(setButtonLaunch(channel(), &launch, LaunchKind::Program), kResultInvalidArgument);
    launch = {1, 7, path.data(), 4};
    EXPECT_EQ(setButtonLaunch(channel(), &launch, LaunchKind::Browser), kResultInvalidArgument);
    EXPECT_TRUE(sentReports().empty());
}

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
