#include "sim/firmware_image.h"
#include "sim/sim_backend.h"
#include "sim/sim_control.h"
#include "sim/sim_mouse.h"

#include "support/notice_collector.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

namespace talwyn::sim {
namespace {

std::vector<uint8_t> report(std::initializer_list<uint8_t> head,
                            std::size_t size = protocol::kCommandReportSize) {
    std::vector<uint8_t> r(head);
    r.resize(size, 0);
    return r;
}

struct SimFixture : ::testing::Test {
    SimMouse mouse;
    SimHandle events = *mouse.open(mouse.interfaces()[0].info.path);
    SimHandle config = *mouse.open(mouse.interfaces()[1].info.path);

    std::vector<uint8_t> status() {
        std::vector<uint8_t> buffer = report({protocol::kReportIdCommand});
        EXPECT_TRUE(mouse.getFeature(config, buffer).ok());
        return buffer;
    }
    std::vector<uint8_t> send(const std::vector<uint8_t>& r) {
        EXPECT_TRUE(mouse.setFeature(config, r).ok());
        return status();
    }
    std::vector<std::string> notes() const {
        std::vector<std::string> out;
        for (const auto& line : mouse.wireLog())
            if (line.starts_with("note "))
                out.push_back(line.substr(5));
        return out;
    }
    std::optional<InputReport> input(int timeoutMs = 0) {
        InputReport r{};
        const auto result = mouse.readInput(events, r, timeoutMs);
        EXPECT_TRUE(result.ok());
        if (result.bytes == 0)
            return std::nullopt;
        return r;
    }
};

TEST_F(SimFixture, ExposesItsInterfacesInEnumerationOrder) {
    const auto all = mouse.enumerate(protocol::kVendorId, protocol::kProductIdNormal);
    ASSERT_EQ(all.size(), 3u);
    const std::string guid = "#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    EXPECT_EQ(all[0].path, "\\\\?\\HID#VID_22D4&PID_1329&MI_00#7&1A2B3C4D&0&0000" + guid);
    EXPECT_EQ((std::pair{all[0].usagePage, all[0].usage}), (std::pair<uint16_t, uint16_t>{0x0001, 0x0002}));
    EXPECT_EQ((std::pair{all[1].usagePage, all[1].usage}), (std::pair<uint16_t, uint16_t>{0xFF01, 2}));
    EXPECT_EQ((std::pair{all[2].usagePage, all[2].usage}), (std::pair<uint16_t, uint16_t>{0xFF02, 1}));
    EXPECT_EQ(all[1].releaseNumber, 0x0105);
    EXPECT_TRUE(mouse.enumerate(protocol::kVendorId, protocol::kProductIdBootloader).empty());
    EXPECT_TRUE(mouse.enumerate(0x1234, 0).empty());

    FirmwareState bootloader;
    bootloader.mode = Mode::Bootloader;
    const auto bl = interfacesFor(bootloader);
    ASSERT_EQ(bl.size(), 1u);
    EXPECT_EQ(bl[0].info.productId, protocol::kProductIdBootloader);
    EXPECT_EQ(bl[0].info.releaseNumber, 0x0100);
    EXPECT_EQ((std::pair{bl[0].info.usagePage, bl[0].info.usage}),
              (std::pair<uint16_t, uint16_t>{0xFF01, 2}));
}

TEST_F(SimFixture, AnswersTheProgramProtocol) {
    EXPECT_EQ(send(report({0xA1, 0x04, 0, 0, 0, 4}))[1], protocol::kReplyDone);
    const auto active = send(report({0xA1, 0x03}));
    EXPECT_EQ(active[1], protocol::kReplyDone);
    EXPECT_EQ(active[16], 4);
    mouse.setSurfaceValue(91);
    EXPECT_EQ(send(report({0xA1, 0x05, 0x01}))[1], protocol::kReplyDone);
    EXPECT_EQ(send(report({0xA1, 0x05, 0x02}))[16], 91);
    EXPECT_TRUE(notes().empty());
}

TEST_F(SimFixture, ImageUploadStoresBothParts) {
    for (uint8_t part = 0; part < 2; ++part) {
        auto r = report({0xA0, 0x08, 0, 0, 0, 3, part}, protocol::kBlockReportSize);
        std::fill(r.begin() + 16, r.begin() + 1040, static_cast<uint8_t>(0x10 + part));
        r[1040] = part; // must be zero: noted, yet the part is stored
        EXPECT_EQ(send(r)[1], protocol::kReplyDone);
    }
    EXPECT_EQ(notes(), std::vector<std::string>{"last byte of an image upload is 1, expected 0"});
    const Image image = mouse.snapshot().images[3];
    EXPECT_EQ(image[0], 0x10);
    EXPECT_EQ(image[1023], 0x10);
    EXPECT_EQ(image[1024], 0x11);
    EXPECT_EQ(image[2047], 0x11);
}

TEST_F(SimFixture, MalformedReportsAreRefusedAndNoted) {
    struct Case {
        std::vector<uint8_t> report;
        std::string note;
    };
    const Case cases[] = {
        {report({0xA1, 0x03}, 63), "report a103 has 63 bytes, expected 64"},
        {report({0xA0, 0x08}, 1040), "report a008 has 1040 bytes, expected 1041"},
        {report({0xA0, 0x08, 0, 0, 0, 5, 0}, protocol::kBlockReportSize),
         "image upload to slot 5 part 0 refused"},
        {report({0xA0, 0x08, 0, 0, 0, 1, 2}, protocol::kBlockReportSize),
         "image upload to slot 1 part 2 refused"},
        {report({0xA1, 0x04, 0, 0, 0, 5}), "activation of slot 5 refused"},
        {report({0xA1, 0x05, 0x07}), "unknown surface analysis step 7"},
    };
    const FirmwareState before = mouse.snapshot();
    for (const Case& c : cases) {
        mouse.clearWireLog();
        EXPECT_EQ(send(c.report)[1], protocol::kReplyFailed) << c.note;
        EXPECT_EQ(notes(), std::vector<std::string>{c.note});
    }
    EXPECT_EQ(mouse.snapshot().images, before.images);
    EXPECT_EQ(mouse.snapshot().activeSlot, before.activeSlot);
}

TEST_F(SimFixture, FeatureReportsOnOtherInterfacesAreRefused) {
    const auto r = report({0xA1, 0x03});
    EXPECT_EQ(mouse.setFeature(events, r).error, hid::ErrorClass::Fatal);
    std::vector<uint8_t> unknown = report({0x42});
    EXPECT_EQ(mouse.getFeature(config, unknown).error, hid::ErrorClass::Fatal);
    EXPECT_EQ(notes(), (std::vector<std::string>{"feature report on the event interface refused",
                                                 "get_feature of unknown report id 42"}));
}

TEST_F(SimFixture, WireLogHasOneLinePerTransferAndGoesToTheLogFile) {
    const auto file = std::filesystem::path(TALWYN_TEST_TMP) / "sim_wire.log";
    std::filesystem::create_directories(file.parent_path());
    std::filesystem::remove(file);
    ASSERT_TRUE(mouse.setLogFile(file));
    send(report({0xA1, 0x03}));
    mouse.pressDpi();
    input();
    const std::vector<std::string> expected = {
        "set_feature " + config.path + " a103" + std::string(124, '0'),
        "get_feature " + config.path + " a101" + std::string(124, '0'),
        "input " + events.path + " 030202000000000000",
    };
    EXPECT_EQ(mouse.wireLog(), expected);
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    EXPECT_EQ(lines, expected);
}

TEST_F(SimFixture, ResolutionButtonStepsThroughTheActiveProfilesLevels) {
    // Default images: five levels, level 2 selected (index 1).
    std::vector<int> seen;
    for (int i = 0; i < 5; ++i) {
        mouse.pressDpi();
        const auto r = input();
        ASSERT_TRUE(r);
        EXPECT_EQ((*r)[0], 3);
        EXPECT_EQ((*r)[1], 2);
        seen.push_back((*r)[2]);
    }
    EXPECT_EQ(seen, (std::vector<int>{2, 3, 4, 0, 1}));

    // A profile with two levels, level 2 active, in slot 1.
    auto part0 = report({0xA0, 0x08, 0, 0, 0, 1, 0}, protocol::kBlockReportSize);
    part0[16 + 0x32] = 2;
    part0[16 + 0x56] = 2;
    send(part0);
    send(report({0xA1, 0x04, 0, 0, 0, 1}));
    EXPECT_EQ(mouse.snapshot().activeDpiLevel, 1);
    mouse.pressDpi();
    EXPECT_EQ((*input())[2], 0);
}

TEST_F(SimFixture, InputReportsOnlyComeFromTheEventInterface) {
    mouse.pressDpi();
    InputReport r{};
    auto other = mouse.readInput(config, r, 0);
    EXPECT_TRUE(other.ok());
    EXPECT_EQ(other.bytes, 0u);
    EXPECT_TRUE(input());
    EXPECT_FALSE(input(0));
}

TEST_F(SimFixture, LaunchButtonsSendTheirReport) {
    std::string reason;
    EXPECT_FALSE(mouse.pressLaunch(2, &reason));
    EXPECT_EQ(reason, "button 2 does not launch a program or a browser");
    EXPECT_FALSE(mouse.pressLaunch(7, &reason));

    auto part0 = report({0xA0, 0x08, 0, 0, 0, 0, 0}, protocol::kBlockReportSize);
    const std::size_t slot2 = 16 + protocol::image_offset::kButtonSlots + 7;
    part0[slot2] = 0x24;
    part0[slot2 + 2] = 0x10;
    part0[slot2 + 3] = 0x01;
    send(part0);
    ASSERT_TRUE(mouse.pressLaunch(2, &reason)) << reason;
    EXPECT_EQ(*input(), (InputReport{3, 0x24, 0x10, 0x01, 2, 1, 0, 0, 0}));
}

TEST_F(SimFixture, UnplugKillsHandlesAndSendsNotices) {
    const uint64_t start = mouse.lastNoticeSequence();
    mouse.unplug();
    EXPECT_TRUE(mouse.enumerate(0, 0).empty());
    EXPECT_EQ(mouse.setFeature(config, report({0xA1, 0x03})).error, hid::ErrorClass::Fatal);
    mouse.plug();
    EXPECT_EQ(mouse.setFeature(config, report({0xA1, 0x03})).error,
              hid::ErrorClass::Fatal); // old handle stays dead
    EXPECT_FALSE(mouse.open("no such path"));

    std::vector<std::pair<hid::DeviceChange, std::string>> notices;
    uint64_t seq = start;
    while (const auto n = mouse.waitNotice(seq, 0)) {
        seq = n->first;
        notices.emplace_back(n->second.change, n->second.interfacePath);
    }
    ASSERT_EQ(notices.size(), 6u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(notices[i].first, hid::DeviceChange::Removal);
        EXPECT_EQ(notices[i + 3].first, hid::DeviceChange::Arrival);
        EXPECT_EQ(notices[i].second, mouse.interfaces()[i].info.path);
    }
}

TEST_F(SimFixture, InProcessMonitorDeliversNotices) {
    SimMouseMonitor monitor(mouse);
    testing::NoticeCollector notices;
    ASSERT_TRUE(monitor.start(notices.callback()));
    mouse.notify(hid::DeviceChange::Arrival, "\\\\?\\HID#VID_3282&PID_0003&MI_00#x");
    const auto got = notices.waitFor(1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].interfacePath, "\\\\?\\HID#VID_3282&PID_0003&MI_00#x");
    monitor.stop();
}

TEST_F(SimFixture, ControlCommands) {
    struct Case {
        std::vector<std::string> args;
        bool ok;
    };
    const Case cases[] = {
        {{}, false},
        {{"state", "x"}, false},
        {{"press"}, false},
        {{"press", "launch", "x"}, false},
        {{"surface", "256"}, false},
        {{"surface", "-1"}, false},
        {{"surface", "12"}, true},
        {{"fault", "busy", "2"}, true},
        {{"fault", "busy", "2x"}, false},
        {{"fault", "error", "sometimes", "1"}, false},
        {{"fault", "error", "fatal", "1"}, true},
        {{"notify", "arrival", "p"}, true},
        {{"notify", "plugged", "p"}, false},
        {{"bogus"}, false},
        {{"\xa8press", "dpi"}, false},
        {{"notify", "arrival", "\xff\xfe"}, true},
    };
    for (const Case& c : cases) {
        const ControlResult r = runControl(mouse, c.args);
        EXPECT_EQ(r.ok, c.ok) << r.json;
        const auto parsed = nlohmann::json::parse(r.json);
        EXPECT_EQ(parsed.contains("error"), !c.ok) << r.json;
    }
    const FirmwareState s = mouse.snapshot();
    EXPECT_EQ(s.surfaceValue, 12);
    EXPECT_EQ(s.faults.busyReplies, 2);
    EXPECT_EQ(s.faults.fatalFailures, 1);
}

TEST_F(SimFixture, StateJsonDescribesTheWholeMouse) {
    runControl(mouse, {"unplug"});
    const auto state = nlohmann::json::parse(runControl(mouse, {"state"}).json);
    EXPECT_EQ(state["present"], false);
    EXPECT_EQ(state["mode"], "normal");
    EXPECT_EQ(state["activeSlot"], 0);
    EXPECT_EQ(state["activeDpiLevel"], 1);
    EXPECT_EQ(state["firmwareVersion"], 0x0105);
    ASSERT_EQ(state["images"].size(), 5u);
    for (const auto& image : state["images"]) {
        const std::string hex = image;
        EXPECT_EQ(hex.size(), 4096u);
        EXPECT_EQ(hex.find_first_not_of("0123456789abcdef"), std::string::npos);
    }
    EXPECT_EQ(std::string(state["images"][1]).substr(0, 18), "0150726f66696c6532"); // slot 1, "Profile2"
}

// A firmware update driven report by report, as the device library sends it.
struct FirmwareUpdateDriver {
    SimMouse& mouse;
    std::vector<uint8_t> image;

    // Sends `r` on the mouse's configuration (or bootloader) interface and
    // reads the status reply of the same length; true when accepted.
    bool accepted(const std::vector<uint8_t>& r) {
        const std::optional<SimHandle> handle = mouse.open(configPath());
        if (!handle) {
            ADD_FAILURE() << "no configuration interface";
            return false;
        }
        EXPECT_TRUE(mouse.setFeature(*handle, r).ok());
        std::vector<uint8_t> reply(r.size(), 0);
        reply[0] = protocol::kReportIdCommand;
        EXPECT_TRUE(mouse.getFeature(*handle, reply).ok());
        return reply[1] == protocol::kReplyDone;
    }
    std::string configPath() const {
        for (const auto& iface : mouse.interfaces())
            if (iface.role == InterfaceRole::Configuration || iface.role == InterfaceRole::Bootloader)
                return iface.info.path;
        return {};
    }
    std::vector<uint8_t> block(std::size_t k) const {
        std::vector<uint8_t> r(protocol::kBlockReportSize, 0);
        r[0] = protocol::kReportIdData;
        r[1] = 0x06;
        r[2] = static_cast<uint8_t>(k + 12);
        uint16_t sum = 0;
        for (std::size_t i = 0; i < 1024; ++i) {
            const uint8_t b = k * 1024 + i < image.size() ? image[k * 1024 + i] : 0;
            r[16 + i] = b;
            sum = static_cast<uint16_t>(sum + b);
        }
        r[3] = static_cast<uint8_t>(sum & 0xFF);
        r[4] = static_cast<uint8_t>(sum >> 8);
        return r;
    }
    // The first step the mouse refused, or "done".
    std::string run() {
        if (!accepted(report({protocol::kReportIdCommand, 0x3A, 0, 0, 0x00, 0x6E, 0x91, 0x27})))
            return "enter";
        if (mouse.snapshot().mode != Mode::Bootloader)
            return "restart";
        const std::size_t blocks = (image.size() + 1023) / 1024;
        uint32_t total = 0;
        for (std::size_t k = 0; k < blocks; ++k)
            for (std::size_t i = 16; i < 16 + 1024; ++i)
                total += block(k)[i];
        std::vector<uint8_t> start = report({protocol::kReportIdCommand, 0x03}, protocol::kBlockReportSize);
        start[16] = static_cast<uint8_t>(blocks);
        for (int i = 0; i < 4; ++i)
            start[17 + i] = static_cast<uint8_t>(total >> (8 * i));
        if (!accepted(start))
            return "start";
        for (std::size_t k = 0; k < blocks; ++k)
            if (!accepted(block(k)))
                return "block " + std::to_string(k);
        if (!accepted(report({protocol::kReportIdCommand, 0x09}, protocol::kBlockReportSize)))
            return "finish";
        return "done";
    }
};

TEST_F(SimFixture, FirmwareFaultsRefuseTheirStepAndTheImageSetsTheNewVersion) {
    struct Case {
        std::vector<std::string> fault;
        const char* refused;
        Mode modeAfter;
        uint16_t versionAfter;
    };
    const Case cases[] = {
        {{"fault", "firmware", "none"}, "done", Mode::Normal, 0x0106},
        {{"fault", "firmware", "enter"}, "enter", Mode::Normal, 0x0105},
        {{"fault", "firmware", "restart"}, "restart", Mode::Normal, 0x0105},
        {{"fault", "firmware", "start"}, "start", Mode::Bootloader, 0x0105},
        {{"fault", "firmware", "block", "2"}, "block 2", Mode::Bootloader, 0x0105},
        {{"fault", "firmware", "finish", "1"}, "finish", Mode::Bootloader, 0x0105},
    };
    for (const Case& c : cases) {
        SimMouse fresh;
        ASSERT_TRUE(runControl(fresh, c.fault).ok) << c.refused;
        FirmwareUpdateDriver driver{fresh, makeFirmwareImage(0x0106, 3000)};
        EXPECT_EQ(driver.run(), c.refused);
        EXPECT_EQ(fresh.snapshot().mode, c.modeAfter) << c.refused;
        EXPECT_EQ(fresh.snapshot().firmwareVersion, c.versionAfter) << c.refused;
    }
}

TEST_F(SimFixture, AFirmwareFaultLastsItsCountAndAnUntaggedImageKeepsTheVersion) {
    ASSERT_TRUE(runControl(mouse, {"fault", "firmware", "block", "0", "2"}).ok);
    FirmwareUpdateDriver driver{mouse, std::vector<uint8_t>(2048, 0xFF)};
    EXPECT_EQ(driver.run(), "block 0");
    // Still in bootloader mode: a new announcement, then the second refusal, then the block goes through.
    EXPECT_EQ(mouse.snapshot().faults.firmware.times, 1);
    EXPECT_EQ(mouse.snapshot().mode, Mode::Bootloader);
    std::vector<uint8_t> start = report({protocol::kReportIdCommand, 0x03}, protocol::kBlockReportSize);
    start[16] = 2;
    const uint32_t total = 2048u * 0xFF;
    for (int i = 0; i < 4; ++i)
        start[17 + i] = static_cast<uint8_t>(total >> (8 * i));
    EXPECT_TRUE(driver.accepted(start));
    EXPECT_FALSE(driver.accepted(driver.block(0)));
    EXPECT_TRUE(driver.accepted(driver.block(0)));
    EXPECT_TRUE(driver.accepted(driver.block(1)));
    EXPECT_TRUE(driver.accepted(report({protocol::kReportIdCommand, 0x09}, protocol::kBlockReportSize)));
    EXPECT_EQ(mouse.snapshot().mode, Mode::Normal);
    EXPECT_EQ(mouse.snapshot().firmwareVersion, 0x0105);

    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"fault", "firmware"},
                                               {"fault", "firmware", "block"},
                                               {"fault", "firmware", "block", "x"},
                                               {"fault", "firmware", "finish", "-1"},
                                               {"fault", "firmware", "none", "3"},
                                               {"fault", "firmware", "melt"}}) {
        EXPECT_FALSE(runControl(mouse, bad).ok) << bad.back();
    }
}

} // namespace
} // namespace talwyn::sim
