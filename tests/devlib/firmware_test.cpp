// The firmware update against the simulated mouse, whose bootloader checks
// block order and every checksum: progress reports, reports on the wire,
// pauses, and each way the update can end.

#include "callback_recorder.h"
#include "protocol/device_ids.h"
#include "sim_fixture.h"

#include <memory>
#include <numeric>
#include <optional>

namespace talwyn::devlib::testing {
namespace {

using namespace std::chrono_literals;
using Pauses = std::vector<std::chrono::milliseconds>;

std::vector<uint8_t> imageOf(std::size_t size) {
    std::vector<uint8_t> image(size);
    for (std::size_t i = 0; i < size; ++i)
        image[i] = static_cast<uint8_t>(i % 251 + 1);
    return image;
}

std::string le32Hex(uint32_t value) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    return hexOf(bytes);
}

Progress step(uint32_t value) {
    return {TALWYN_FW_PROGRESS, value};
}

TEST(DevlibFirmwareImage, SplitsIntoZeroFilledBlocks) {
    struct Case {
        std::size_t size;
        std::size_t blocks;
    };
    for (const Case& c : std::vector<Case>{{0, 0}, {1, 1}, {1024, 1}, {1025, 2}, {1280, 2}, {102400, 100}}) {
        const auto image = FirmwareImage::fromBytes(imageOf(c.size));
        ASSERT_TRUE(image) << c.size;
        EXPECT_EQ(image->blocks.size(), c.blocks) << c.size;
    }
    EXPECT_FALSE(FirmwareImage::fromBytes(imageOf(102401)));
    const auto ones = FirmwareImage::fromBytes(std::vector<uint8_t>(1024, 0xFF));
    EXPECT_EQ(ones->checksum(), 261120u);
    EXPECT_EQ(protocol::checksum16(ones->blocks[0]), 0xFC00);
    const auto partial = FirmwareImage::fromBytes(std::vector<uint8_t>(1500, 0xFF));
    EXPECT_EQ(partial->blocks[1][475], 0xFF);
    EXPECT_EQ(partial->blocks[1][476], 0x00);
}

class DevlibFirmwareTest : public SimLibraryTest {
protected:
    void SetUp() override {
        progressReports().reset();
        ASSERT_EQ(library.setProgressCallback(recordProgress), kResultOk);
    }
    void TearDown() override { progressReports().reset(); }

    // Waits for the update's last report.
    std::vector<Progress> finish(std::size_t reports) {
        EXPECT_TRUE(progressReports().waitFor(reports));
        return progressReports().entries();
    }
    void enterBootloader() {
        protocol::CommandReport enter = protocol::makeCommand(0x3A, 0);
        enter[5] = 0x6E;
        enter[6] = 0x91;
        enter[7] = 0x27;
        ASSERT_TRUE(library.channel().transport().ensureDevice());
        ASSERT_EQ(library.channel().runCommand(enter, 30ms), kResultOk);
        ASSERT_EQ(mouse.snapshot().mode, sim::Mode::Bootloader);
        mouse.clearWireLog();
        sleeper.pauses.clear();
    }
};

TEST_F(DevlibFirmwareTest, UpdatesAMouseInNormalMode) {
    const auto image = imageOf(2048);
    EXPECT_EQ(library.setProgressCallback(nullptr), kResultDeviceError);
    ASSERT_EQ(library.updateFirmware(static_cast<uint32_t>(image.size()), image.data()), kResultOk);
    EXPECT_EQ(finish(7),
              (std::vector<Progress>{
                  step(1), step(3), step(4), step(4), step(54), step(100), {TALWYN_FW_NEW_VERSION, 105}}));
    const auto sent = sentReports();
    ASSERT_EQ(sent.size(), 6u);
    EXPECT_EQ(sent[0], report({0xA1, 0x3A, 0, 0, 0x00, 0x6E, 0x91, 0x27}));
    const uint32_t sum = std::accumulate(image.begin(), image.end(), 0u);
    EXPECT_EQ(sent[1].substr(0, 4), "a103");
    EXPECT_EQ(sent[1].substr(32, 10), "02" + le32Hex(sum));
    EXPECT_EQ(sent[1].size(), 1041u * 2);
    const uint16_t sum0 = protocol::checksum16(std::span(image).first(1024));
    const uint16_t sum1 = protocol::checksum16(std::span(image).subspan(1024));
    EXPECT_EQ(sent[2].substr(0, 10), "a0060c" + le32Hex(sum0).substr(0, 4));
    EXPECT_EQ(sent[2].substr(32, 2048), hexOf(std::span(image).first(1024)));
    EXPECT_EQ(sent[3].substr(0, 10), "a0060d" + le32Hex(sum1).substr(0, 4));
    EXPECT_EQ(sent[4], report({0xA1, 0x09}, 1041));
    EXPECT_EQ(sent[5], report({0xA1, 0x02}));
    EXPECT_EQ(pauses(), (Pauses{30ms, 1000ms, 50ms, 20ms, 70ms, 20ms, 70ms, 200ms, 10ms, 50ms}));
    EXPECT_EQ(mouse.snapshot().mode, sim::Mode::Normal);
}

TEST_F(DevlibFirmwareTest, AMouseInBootloaderModeSkipsTheEntry) {
    enterBootloader();
    const auto image = imageOf(1500);
    ASSERT_EQ(library.updateFirmware(static_cast<uint32_t>(image.size()), image.data()), kResultOk);
    EXPECT_EQ(finish(6), (std::vector<Progress>{
                             step(1), step(4), step(4), step(54), step(100), {TALWYN_FW_NEW_VERSION, 105}}));
    const auto sent = sentReports();
    ASSERT_EQ(sent.size(), 5u);
    EXPECT_EQ(sent[0].substr(0, 4), "a103");
    // Block 1: bytes 1024..1499, then 548 zeros counted in both checksums.
    const auto tail = std::span(image).subspan(1024);
    EXPECT_EQ(sent[2].substr(32, 2048), hexOf(tail) + std::string(548 * 2, '0'));
    EXPECT_EQ(sent[2].substr(6, 4), le32Hex(protocol::checksum16(tail)).substr(0, 4));
    EXPECT_EQ(sent[0].substr(34, 8), le32Hex(std::accumulate(image.begin(), image.end(), 0u)));
}

TEST_F(DevlibFirmwareTest, RefusesAnOversizedImageWithoutStarting) {
    const auto image = imageOf(102401);
    EXPECT_EQ(library.updateFirmware(static_cast<uint32_t>(image.size()), image.data()),
              kResultInvalidArgument);
    EXPECT_TRUE(progressReports().entries().empty());
    EXPECT_TRUE(sentReports().empty());
}

TEST_F(DevlibFirmwareTest, NoImageReportsOnlyThat) {
    ASSERT_EQ(library.updateFirmware(100, nullptr), kResultOk);
    EXPECT_EQ(finish(1), (std::vector<Progress>{{TALWYN_FW_ERR_NO_IMAGE, 0}}));
    EXPECT_TRUE(sentReports().empty());
}

TEST_F(DevlibFirmwareTest, SearchesBothModesForAboutFiftySecondsWithoutAMouse) {
    mouse.unplug();
    const auto image = imageOf(10);
    ASSERT_EQ(library.updateFirmware(10, image.data()), kResultOk);
    EXPECT_EQ(finish(2), (std::vector<Progress>{step(1), {TALWYN_FW_ERR_NO_DEVICE, 2}}));
    Pauses expected(3, 500ms);
    expected.insert(expected.end(), 31, 1500ms);
    EXPECT_EQ(pauses(), expected);
}

TEST_F(DevlibFirmwareTest, GivesUpWaitingForTheRestartAfterAMinute) {
    progressReports().reset([this](const Progress& progress) {
        if (progress == step(100))
            mouse.unplug();
    });
    const auto image = imageOf(10);
    ASSERT_EQ(library.updateFirmware(10, image.data()), kResultOk);
    const auto reports = finish(6);
    EXPECT_EQ(reports.back(), (Progress{TALWYN_FW_ERR_NO_DEVICE, 2}));
    const Pauses waited = pauses();
    EXPECT_EQ(std::count(waited.begin(), waited.end(), 500ms), 120);
}

TEST_F(DevlibFirmwareTest, AFailingBlockEndsTheUpdateWithTheLastProgress) {
    auto fours =
        std::make_shared<int>(0); // the first (1, 4) announces the transfer, the second accepts block 0
    progressReports().reset([this, fours](const Progress& progress) {
        if (progress == step(4) && ++*fours == 2)
            mouse.injectFailures(hid::ErrorClass::Fatal, 100);
    });
    const auto image = imageOf(3000);
    ASSERT_EQ(library.updateFirmware(static_cast<uint32_t>(image.size()), image.data()), kResultOk);
    EXPECT_EQ(finish(5),
              (std::vector<Progress>{step(1), step(3), step(4), step(4), {TALWYN_FW_ERR_BLOCK, 4}}));
}

TEST_F(DevlibFirmwareTest, AWrongChecksumIsRefusedAtTheFinish) {
    enterBootloader();
    protocol::BlockReport start{};
    start[0] = 0xA1;
    start[1] = 0x03;
    start[16] = 0;
    start[17] = 1; // announces a checksum no empty image has
    ASSERT_EQ(library.openConfig(protocol::kProductIdBootloader), 1);
    ConfigTransport& transport = library.channel().transport();
    ASSERT_TRUE(transport.sendReport(start, 50ms));
    protocol::BlockReport finish{};
    finish[0] = 0xA1;
    finish[1] = 0x09;
    ASSERT_TRUE(transport.sendReport(finish, 50ms));
    auto reply = protocol::makeReplyBuffer<protocol::kBlockReportSize>(protocol::kReportIdCommand);
    ASSERT_TRUE(transport.receiveReport(reply));
    EXPECT_EQ(reply[1], 2);
    EXPECT_FALSE(notes().empty());
}

} // namespace
} // namespace talwyn::devlib::testing

namespace talwyn::devlib::testing {
namespace {

TEST_F(DevlibFirmwareTest, EachFailingStepReportsItsStatusOnce) {
    struct Case {
        const char* name;
        bool inBootloader;
        std::optional<Progress> failAfter; // transfers fail from this report on; nothing: from the start
        std::vector<Progress> expected;
    };
    const std::vector<Case> cases{
        {"bootloader entry", false, std::nullopt, {step(1), {TALWYN_FW_ERR_ENTER_BOOTLOADER, 1}}},
        {"announcement", true, std::nullopt, {step(1), {TALWYN_FW_ERR_START, 4}}},
        {"finish", true, step(54), {step(1), step(4), step(4), step(54), {TALWYN_FW_ERR_FINISH, 54}}},
    };
    for (const Case& c : cases) {
        if (c.inBootloader && mouse.snapshot().mode != sim::Mode::Bootloader)
            enterBootloader();
        const auto failAfter = c.failAfter;
        progressReports().reset([this, failAfter](const Progress& progress) {
            if (failAfter && progress == *failAfter)
                mouse.injectFailures(hid::ErrorClass::Fatal, 1000);
        });
        if (!failAfter)
            mouse.injectFailures(hid::ErrorClass::Fatal, 1000);
        sleeper.pauses.clear();
        const auto image = imageOf(2048);
        ASSERT_EQ(library.updateFirmware(static_cast<uint32_t>(image.size()), image.data()), kResultOk)
            << c.name;
        EXPECT_EQ(finish(c.expected.size()), c.expected) << c.name;
        mouse.injectFailures(hid::ErrorClass::Fatal, 0);
        if (std::string(c.name) == "announcement") {
            const Pauses waited = pauses();
            EXPECT_EQ(Pauses(waited.end() - 5, waited.end()), (Pauses{300ms, 600ms, 900ms, 1200ms, 1500ms}));
        }
    }
}

} // namespace
} // namespace talwyn::devlib::testing
