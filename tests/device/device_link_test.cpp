#include "device/device_commands.h"
#include "device/device_link.h"
#include "protocol/reports.h"
#include "sim/sim_backend.h"
#include "support/recording_sleeper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <thread>

namespace talwyn::device {
namespace {

using namespace std::chrono_literals;
using Pauses = std::vector<std::chrono::milliseconds>;

// The device link on the in-process simulated mouse, with pauses recorded.
struct LinkFixture : ::testing::Test {
    sim::SimMouse mouse;
    sim::SimHidBackend backend{mouse};
    hid::RecordingSleeper sleeper;
    DeviceLink link{backend, sleeper};

    void SetUp() override {
        ASSERT_EQ(link.open(), 1);
        mouse.clearWireLog();
    }

    std::size_t count(const std::string& prefix) const {
        const auto log = mouse.wireLog();
        return std::count_if(log.begin(), log.end(),
                             [&](const std::string& l) { return l.starts_with(prefix); });
    }
    // Fetch attempts, failed ones included.
    std::size_t fetches() const {
        return count("get_feature") + count("note injected retryable failure of get_feature");
    }
    std::size_t sends() const {
        return count("set_feature") + count("note injected retryable failure of set_feature");
    }

    int readStatus() {
        std::array<uint8_t, 64> status{0xA1};
        return link.readStatus(status);
    }
    int write() {
        std::array<uint8_t, 64> report{0xA1, 0x03};
        return link.writeReport(report);
    }
};

TEST_F(LinkFixture, DiscoveryKeepsTheConfigurationCollection) {
    EXPECT_TRUE(link.connected());
    ASSERT_EQ(write(), 1);
    const auto log = mouse.wireLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_TRUE(log[0].starts_with("set_feature \\\\?\\HID#VID_22D4&PID_1329&MI_01&Col01#")) << log[0];
    EXPECT_EQ(link.hidVersion(), 0x0105);
    EXPECT_EQ(link.firmwareVersionNumber(), 105);
}

TEST_F(LinkFixture, ACancelledLinkNeverReachesTheMouseAgain) {
    link.cancel();
    EXPECT_EQ(write(), 0);
    EXPECT_EQ(readStatus(), 0);
    EXPECT_EQ(link.lastTrace().transfer.osError, ECANCELED);
    EXPECT_EQ(link.open(), 0);
    EXPECT_FALSE(link.connected());
    EXPECT_TRUE(mouse.wireLog().empty());
    EXPECT_TRUE(sleeper.pauses.empty()); // a cancelled report is not retried
}

TEST_F(LinkFixture, StatusReadyAtOnceCostsOneFetchAndNoPause) {
    EXPECT_EQ(readStatus(), 1);
    EXPECT_EQ(fetches(), 1u);
    EXPECT_TRUE(sleeper.pauses.empty());
}

TEST_F(LinkFixture, BusyMouseIsPolledWithGrowingPauses) {
    struct Case {
        int busy;
        std::size_t fetches;
        Pauses pauses;
    };
    const Case cases[] = {
        {1, 2, {}},
        {3, 4, {0ms, 50ms}},
        {100, 6, {0ms, 50ms, 100ms, 150ms, 200ms}}, // never ready: still 1, the fetch worked
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.busy);
        mouse.clearWireLog();
        sleeper.pauses.clear();
        mouse.injectBusy(c.busy);
        EXPECT_EQ(readStatus(), 1);
        EXPECT_EQ(fetches(), c.fetches);
        EXPECT_EQ(sleeper.pauses, c.pauses);
    }
}

TEST_F(LinkFixture, FailedFetchesAreRetriedOnlyWhenTransient) {
    struct Case {
        hid::ErrorClass error;
        int failures;
        int result;
        Pauses pauses;
    };
    const Case cases[] = {
        {hid::ErrorClass::Retryable, 1, 1, {}},
        {hid::ErrorClass::Retryable, 3, 1, {50ms, 50ms}},
        {hid::ErrorClass::Retryable, 4, 0, {50ms, 50ms, 50ms}},
        {hid::ErrorClass::Fatal, 1, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failures);
        sleeper.pauses.clear();
        mouse.injectFailures(c.error, c.failures);
        EXPECT_EQ(readStatus(), c.result);
        EXPECT_EQ(sleeper.pauses, c.pauses);
        mouse.injectFailures(c.error, 0);
    }
}

TEST_F(LinkFixture, FailedSendsAreRetriedThreeTimesWithTheBufferRestored) {
    struct Case {
        hid::ErrorClass error;
        int failures;
        int result;
        std::size_t attempts;
        Pauses pauses;
    };
    const Case cases[] = {
        {hid::ErrorClass::Retryable, 1, 1, 2, {}},
        {hid::ErrorClass::Retryable, 3, 1, 4, {50ms, 50ms}},
        {hid::ErrorClass::Retryable, 4, 0, 4, {50ms, 50ms, 50ms}},
        {hid::ErrorClass::Fatal, 1, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failures);
        mouse.clearWireLog();
        sleeper.pauses.clear();
        mouse.injectFailures(c.error, c.failures);
        EXPECT_EQ(write(), c.result);
        EXPECT_EQ(sends(), c.attempts);
        EXPECT_EQ(sleeper.pauses, c.pauses);
        mouse.injectFailures(c.error, 0);
    }
    mouse.clearWireLog();
    mouse.injectFailures(hid::ErrorClass::Retryable, 1);
    ASSERT_EQ(write(), 1);
    const auto log = mouse.wireLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_TRUE(log[1].ends_with(" a103" + std::string(124, '0'))) << log[1];
}

TEST_F(LinkFixture, WithoutAHandleNothingIsSent) {
    link.close();
    EXPECT_FALSE(link.connected());
    EXPECT_EQ(write(), 0);
    EXPECT_EQ(readStatus(), 0);
    EXPECT_TRUE(mouse.wireLog().empty());
    EXPECT_EQ(link.ensureOpen(), 1);
    EXPECT_EQ(link.ensureOpen(), 1);
}

TEST_F(LinkFixture, UnpluggedMouseFailsTransfersAndDiscovery) {
    mouse.unplug();
    EXPECT_EQ(write(), 0);
    EXPECT_EQ(readStatus(), 0);
    EXPECT_EQ(link.open(), 0);
    EXPECT_FALSE(link.connected());
    mouse.plug();
    EXPECT_EQ(link.ensureOpen(), 1);
}

TEST_F(LinkFixture, CloseOnAnotherThreadNeverPullsTheHandleFromUnderATransfer) {
    // The UI thread handles a removal while the apply worker talks to the
    // mouse; under the sanitizers a use-after-free here fails the test.
    std::atomic<bool> done{false};
    std::thread remover([&] {
        while (!done) {
            link.close();
            link.open();
        }
    });
    for (int i = 0; i < 300; ++i) {
        std::array<uint8_t, 64> report{0xA1, 0x03};
        std::array<uint8_t, 64> status{0xA1};
        // Either outcome is fine while the handle comes and goes.
        if (link.writeReport(report) == 1)
            link.readStatus(status);
    }
    done = true;
    remover.join();
    EXPECT_EQ(link.ensureOpen(), 1);
    EXPECT_EQ(write(), 1);
}

// A backend that lists given interfaces and can refuse to open some.
class ListingBackend final : public hid::HidBackend {
public:
    std::vector<hid::DeviceInfo> devices;
    std::vector<std::string> refused;
    std::vector<std::string> opened;
    sim::SimMouse mouse;
    sim::SimHidBackend real{mouse};

    std::vector<hid::DeviceInfo> enumerate(uint16_t, uint16_t) override { return devices; }
    std::unique_ptr<hid::HidDevice> open(const std::string& path, hid::Result* error) override {
        if (std::find(refused.begin(), refused.end(), path) != refused.end())
            return nullptr;
        opened.push_back(path);
        // Every listed path is served by the simulator's configuration collection.
        return real.open(mouse.interfaces()[1].info.path, error);
    }
};

TEST(DeviceDiscovery, ChoosesUsagePageFF01Usage2AmongSeveral) {
    ListingBackend backend;
    backend.devices = {
        {"events", 0x22D4, 0x1329, 0x0101, 0x0001, 0x0002, 0},
        {"second", 0x22D4, 0x1329, 0x0101, 0xFF02, 0x0001, 1},
        {"wrong-usage", 0x22D4, 0x1329, 0x0101, 0xFF01, 0x0001, 1},
        {"bootloader", 0x22D4, 0x1328, 0x0101, 0xFF01, 0x0002, 0},
        {"other-vendor", 0x1234, 0x1329, 0x0101, 0xFF01, 0x0002, 0},
        {"refused", 0x22D4, 0x1329, 0x0101, 0xFF01, 0x0002, 1},
        {"config", 0x22D4, 0x1329, 0x0123, 0xFF01, 0x0002, 1},
        {"config-2", 0x22D4, 0x1329, 0x0200, 0xFF01, 0x0002, 2},
    };
    backend.refused = {"refused"};
    hid::RecordingSleeper sleeper;
    DeviceLink link(backend, sleeper);
    EXPECT_EQ(link.open(), 1);
    EXPECT_EQ(backend.opened, std::vector<std::string>{"config"});
    EXPECT_EQ(link.hidVersion(), 0x0123);
    EXPECT_EQ(link.firmwareVersionNumber(), 123);
}

TEST(DeviceDiscovery, NoMatchingCollectionLeavesTheLinkClosed) {
    ListingBackend backend;
    backend.devices = {{"second", 0x22D4, 0x1329, 0x0101, 0xFF02, 0x0001, 1}};
    DeviceLink link(backend);
    EXPECT_EQ(link.open(), 0);
    EXPECT_FALSE(link.connected());
    EXPECT_TRUE(backend.opened.empty());
}

TEST(DeviceVersion, HexDigitsReadAsDecimal) {
    const std::pair<uint16_t, uint16_t> cases[] = {{0x0100, 100}, {0x0123, 123}, {0x0105, 105},
                                                   {0x1A5, 1},    {0x0A0, 0},    {0x0000, 0}};
    for (auto [version, number] : cases)
        EXPECT_EQ(protocol::versionAsDecimal(version), number) << std::hex << version;
}

} // namespace
} // namespace talwyn::device
