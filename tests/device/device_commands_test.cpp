#include "device/device_commands.h"
#include "protocol/device_ids.h"
#include "sim/sim_backend.h"
#include "support/recording_sleeper.h"

#include <gtest/gtest.h>

#include <deque>

namespace talwyn::device {
namespace {

using namespace std::chrono_literals;
using Pauses = std::vector<std::chrono::milliseconds>;

std::string hexReport(const std::string& head, std::size_t size) {
    return head + std::string(size * 2 - head.size(), '0');
}

struct CommandFixture : ::testing::Test {
    sim::SimMouse mouse;
    sim::SimHidBackend backend{mouse};
    hid::RecordingSleeper sleeper;
    DeviceLink link{backend, sleeper};
    std::string configPath;

    void SetUp() override {
        ASSERT_EQ(link.open(), 1);
        configPath = mouse.interfaces()[1].info.path;
        mouse.clearWireLog();
    }

    // The reports the host wrote, as hex.
    std::vector<std::string> sent() const {
        std::vector<std::string> out;
        const std::string prefix = "set_feature " + configPath + " ";
        for (const auto& line : mouse.wireLog())
            if (line.starts_with(prefix))
                out.push_back(line.substr(prefix.size()));
        return out;
    }
};

TEST_F(CommandFixture, ReadActiveProfile) {
    ASSERT_EQ(ActivateProfile(link, 2), CommandStatus::Done);
    mouse.clearWireLog();
    sleeper.pauses.clear();
    uint8_t slot = 9;
    EXPECT_EQ(ReadActiveProfile(link, slot), CommandStatus::Done);
    EXPECT_EQ(slot, 2);
    EXPECT_EQ(sent(), std::vector<std::string>{hexReport("a103", 64)});
    EXPECT_EQ(sleeper.pauses, Pauses{2000ms});
    const auto log = mouse.wireLog();
    EXPECT_EQ(log.back(),
              "get_feature " + configPath + " " + hexReport("a101", 16) + "02" + std::string(94, '0'));
}

TEST_F(CommandFixture, ActivateProfile) {
    EXPECT_EQ(ActivateProfile(link, 3), CommandStatus::Done);
    EXPECT_EQ(sent(), std::vector<std::string>{hexReport("a10400000003", 64)});
    EXPECT_EQ(sleeper.pauses, Pauses{1500ms});
    EXPECT_EQ(mouse.snapshot().activeSlot, 3);

    EXPECT_EQ(ActivateProfile(link, 7), CommandStatus::NotConfirmed); // the mouse refuses it
    EXPECT_EQ(mouse.snapshot().activeSlot, 3);
}

TEST_F(CommandFixture, SurfaceAnalysis) {
    mouse.setSurfaceValue(42);
    EXPECT_EQ(StartSurfaceAnalysis(link), CommandStatus::Done);
    uint8_t value = 0;
    ReadSurfaceAnalysis(link, value);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(sent(), (std::vector<std::string>{hexReport("a10501", 64), hexReport("a10502", 64)}));
    EXPECT_EQ(sleeper.pauses, (Pauses{50ms, 30ms}));
}

TEST_F(CommandFixture, FailedSendsStillPauseForSurfaceCommands) {
    struct Case {
        const char* name;
        std::function<void()> run;
        Pauses pauses;
    };
    uint8_t value = 77;
    uint8_t slot = 1;
    const Case cases[] = {
        {"start", [&] { EXPECT_EQ(StartSurfaceAnalysis(link), CommandStatus::NotConfirmed); }, {50ms}},
        {"read", [&] { ReadSurfaceAnalysis(link, value); }, {30ms}},
        {"activate", [&] { EXPECT_EQ(ActivateProfile(link, 1), CommandStatus::NotConfirmed); }, {}},
        {"active", [&] { EXPECT_EQ(ReadActiveProfile(link, slot), CommandStatus::NotConfirmed); }, {}},
        {"upload",
         [&] { EXPECT_EQ(UploadProfileImage(link, ProfileData{}), CommandStatus::NotConfirmed); },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sleeper.pauses.clear();
        mouse.injectFailures(hid::ErrorClass::Fatal, 1);
        c.run();
        EXPECT_EQ(sleeper.pauses, c.pauses);
    }
    EXPECT_EQ(value, 77);
    EXPECT_EQ(slot, 1);
    EXPECT_TRUE(sent().empty());
}

TEST_F(CommandFixture, UploadSendsTwo1041BytePartsAndStoresTheImage) {
    ProfileData profile;
    profile.slotIndex = 2;
    profile.name = u"Upload";
    profile.buttons[0].function = function_code::kSingleKey;
    profile.buttons[0].param = 0x41;
    const DeviceImage image = buildDeviceImage(profile);

    EXPECT_EQ(UploadProfileImage(link, profile), CommandStatus::Done);
    EXPECT_EQ(sleeper.pauses, (Pauses{200ms, 200ms}));
    const auto reports = sent();
    ASSERT_EQ(reports.size(), 2u);
    for (uint8_t part = 0; part < 2; ++part) {
        const std::span<const uint8_t> bytes(image.bytes.data() + part * 1024, 1024);
        EXPECT_EQ(reports[part],
                  "a008000000020" + std::to_string(part) + std::string(18, '0') + sim::toHex(bytes) + "00");
    }
    EXPECT_EQ(mouse.snapshot().images[2], image.bytes);
    EXPECT_EQ(mouse.snapshot().activeSlot, 0); // uploading does not activate
}

// A configuration interface whose status replies the test scripts, for the
// answers a well-behaved mouse never gives.
class ScriptedBackend final : public hid::HidBackend {
public:
    std::deque<std::array<uint8_t, 64>> replies;
    bool fetchFails = false;

    std::vector<hid::DeviceInfo> enumerate(uint16_t, uint16_t) override {
        return {{"cfg", protocol::kVendorId, protocol::kProductIdNormal, 0x0105,
                 protocol::kConfigCollection.usagePage, protocol::kConfigCollection.usage, 1}};
    }
    std::unique_ptr<hid::HidDevice> open(const std::string&, hid::Result*) override {
        return std::make_unique<Device>(*this);
    }

private:
    class Device final : public hid::HidDevice {
    public:
        explicit Device(ScriptedBackend& b) : b_(b) {}
        hid::Result sendFeatureReport(std::span<const uint8_t> data) override {
            return hid::Result::success(data.size());
        }
        hid::Result getFeatureReport(std::span<uint8_t> buffer) override {
            if (b_.fetchFails || b_.replies.empty())
                return hid::Result::failure(hid::ErrorClass::Fatal, 19);
            std::copy_n(b_.replies.front().begin(), buffer.size(), buffer.begin());
            b_.replies.pop_front();
            return hid::Result::success(buffer.size());
        }
        hid::Result readInputReport(std::span<uint8_t>, int) override { return hid::Result::success(0); }
        void cancelInput() override {} // reads never wait
        const std::string& path() const override { return path_; }

    private:
        ScriptedBackend& b_;
        std::string path_ = "cfg";
    };
};

std::array<uint8_t, 64> reply(uint8_t status, uint8_t value) {
    std::array<uint8_t, 64> r{0xA1, status};
    r[16] = value;
    return r;
}

TEST(ScriptedCommands, StatusRepliesAreJudgedAsDocumented) {
    ScriptedBackend backend;
    hid::RecordingSleeper sleeper;
    DeviceLink link(backend, sleeper);
    ASSERT_EQ(link.open(), 1);

    uint8_t slot = 1;
    backend.replies = {reply(1, 5)};
    EXPECT_EQ(ReadActiveProfile(link, slot), CommandStatus::NotConfirmed);
    EXPECT_EQ(slot, 1);

    backend.replies = {reply(1, 4)};
    EXPECT_EQ(ReadActiveProfile(link, slot), CommandStatus::Done);
    EXPECT_EQ(slot, 4);

    // The analysis value is taken even when the status is not 1 (six
    // fetches of an unready mouse).
    uint8_t value = 0;
    backend.replies.assign(6, reply(2, 77));
    ReadSurfaceAnalysis(link, value);
    EXPECT_EQ(value, 77);

    backend.replies.assign(6, reply(2, 0));
    EXPECT_EQ(StartSurfaceAnalysis(link), CommandStatus::NotConfirmed);
    backend.replies.assign(6, reply(0, 0));
    EXPECT_EQ(ActivateProfile(link, 0), CommandStatus::NotConfirmed);

    backend.fetchFails = true;
    value = 9;
    ReadSurfaceAnalysis(link, value);
    EXPECT_EQ(value, 9);
    EXPECT_EQ(UploadProfileImage(link, ProfileData{}), CommandStatus::StatusNotFetched);
}

} // namespace
} // namespace talwyn::device
