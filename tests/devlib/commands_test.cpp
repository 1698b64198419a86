// Settings commands against the simulated mouse: the exact reports on the
// wire, the pauses and the results.

#include "commands_fixture.h"
#include "device/device_image.h"
#include "devlib/profile_commands.h"
#include "devlib/settings_commands.h"
#include "protocol/device_ids.h"
#include "support/recording_sleeper.h"

namespace talwyn::devlib::testing {
namespace {

using namespace std::chrono_literals;
using Pauses = std::vector<std::chrono::milliseconds>;

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

} // namespace
} // namespace talwyn::devlib::testing
