// The program's device link over the real hidapi hidraw backend and libudev:
// discovery among the mouse's kernel devices, feature reports both ways and
// the retry rules on transfer errors the kernel reports.

#include "device/device_commands.h"
#include "device/device_link.h"
#include "hid/hidapi_backend.h"
#include "kernel/kernel_mouse.h"
#include "protocol/reports.h"
#include "support/recording_sleeper.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

namespace talwyn::kernel_testing {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::FieldsAre;

class HidapiKernelTest : public ::testing::Test {
protected:
    std::vector<IoctlRecord> featureIoctls() const {
        std::vector<IoctlRecord> out;
        for (const IoctlRecord& r : mouse.ioctls())
            if (r.request == HidrawRequest::SetFeature || r.request == HidrawRequest::GetFeature)
                out.push_back(r);
        return out;
    }
    std::size_t count(HidrawRequest request) const {
        const auto all = mouse.ioctls();
        return static_cast<std::size_t>(std::count_if(
            all.begin(), all.end(), [&](const IoctlRecord& r) { return r.request == request; }));
    }

    KernelMouse mouse;
    hid::HidapiBackend backend;
    hid::RecordingSleeper sleeper;
    device::DeviceLink link{backend, sleeper};
};

TEST_F(HidapiKernelTest, EnumeratesOneEntryPerTopLevelCollection) {
    const std::string events = *mouse.nodeOf(sim::InterfaceRole::Events);
    const std::string vendor = *mouse.nodeOf(sim::InterfaceRole::Configuration);
    auto found = backend.enumerate(0x22D4, 0x1329);
    std::sort(found.begin(), found.end(),
              [](const hid::DeviceInfo& a, const hid::DeviceInfo& b) { return a.usagePage < b.usagePage; });
    EXPECT_THAT(found, ElementsAre(FieldsAre(events, 0x22D4, 0x1329, 0x0105, 0x0001, 0x0002, 0),
                                   FieldsAre(vendor, 0x22D4, 0x1329, 0x0105, 0xFF01, 0x0002, 1),
                                   FieldsAre(vendor, 0x22D4, 0x1329, 0x0105, 0xFF02, 0x0001, 1)));
    EXPECT_TRUE(backend.enumerate(0x22D4, 0x1328).empty());
}

TEST_F(HidapiKernelTest, OpensTheConfigurationCollectionAndTalksOnlyToIt) {
    ASSERT_EQ(link.open(), 1);
    EXPECT_EQ(link.firmwareVersionNumber(), 105);

    uint8_t slot = 0xFF;
    EXPECT_EQ(device::ReadActiveProfile(link, slot), device::CommandStatus::Done);
    EXPECT_EQ(slot, 0);
    EXPECT_EQ(device::ActivateProfile(link, 3), device::CommandStatus::Done);
    EXPECT_EQ(mouse.firmware().snapshot().activeSlot, 3);
    EXPECT_EQ(device::ReadActiveProfile(link, slot), device::CommandStatus::Done);
    EXPECT_EQ(slot, 3);

    const std::string configuration = *mouse.nodeOf(sim::InterfaceRole::Configuration);
    const auto transfers = featureIoctls();
    ASSERT_FALSE(transfers.empty());
    for (const IoctlRecord& r : transfers) {
        EXPECT_EQ(r.node, configuration);
        EXPECT_EQ(r.error, 0);
    }
    // The set-feature reports reached the firmware byte for byte.
    const auto log = mouse.firmware().wireLog();
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& line) {
        return line.starts_with("set_feature ") && line.ends_with(" a1040000000300" + std::string(114, '0'));
    }));
}

TEST_F(HidapiKernelTest, FindsNothingWhenTheMouseIsUnplugged) {
    mouse.unplug();
    EXPECT_TRUE(backend.enumerate(0x22D4, 0).empty());
    EXPECT_EQ(link.open(), 0);
    mouse.plug();
    EXPECT_EQ(link.open(), 1);
}

struct RetryCase {
    const char* name;
    int error;
    int failures;
    int expectedResult;
    std::size_t expectedAttempts;
    std::size_t expectedPauses;
    friend void PrintTo(const RetryCase& c, std::ostream* os) { *os << c.name; }
};

class HidapiRetryTest : public HidapiKernelTest, public ::testing::WithParamInterface<RetryCase> {};

// The kernel's EPIPE (stalled request) and EIO (garbled transfer) are the
// transient failures; anything else ends the send at once.
TEST_P(HidapiRetryTest, SendRetriesOnlyTransientKernelErrors) {
    const RetryCase& c = GetParam();
    ASSERT_EQ(link.open(), 1);
    const std::size_t before = count(HidrawRequest::SetFeature);
    mouse.failFeatureIoctls(c.error, c.failures);
    std::vector<uint8_t> report(protocol::kCommandReportSize, 0);
    report[0] = 0xA1;
    report[1] = 0x03;
    EXPECT_EQ(link.writeReport(report), c.expectedResult);
    EXPECT_EQ(count(HidrawRequest::SetFeature) - before, c.expectedAttempts);
    EXPECT_EQ(sleeper.pauses, std::vector<std::chrono::milliseconds>(c.expectedPauses, 50ms));
}

TEST_P(HidapiRetryTest, StatusFetchRetriesOnlyTransientKernelErrors) {
    const RetryCase& c = GetParam();
    ASSERT_EQ(link.open(), 1);
    const std::size_t before = count(HidrawRequest::GetFeature);
    mouse.failFeatureIoctls(c.error, c.failures);
    std::vector<uint8_t> reply(protocol::kCommandReportSize, 0);
    reply[0] = 0xA1;
    EXPECT_EQ(link.readStatus(reply), c.expectedResult);
    EXPECT_EQ(count(HidrawRequest::GetFeature) - before, c.expectedAttempts);
    EXPECT_EQ(sleeper.pauses, std::vector<std::chrono::milliseconds>(c.expectedPauses, 50ms));
    if (c.expectedResult == 1) {
        EXPECT_EQ(reply[1], 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Errors, HidapiRetryTest,
                         ::testing::Values(RetryCase{"StallThreeTimes", EPIPE, 3, 1, 4, 2},
                                           RetryCase{"IoErrorFourTimes", EIO, 4, 0, 4, 3},
                                           RetryCase{"DeviceGone", ENODEV, 1, 0, 1, 0},
                                           RetryCase{"BadArgument", EINVAL, 1, 0, 1, 0}),
                         [](const auto& generated) { return std::string(generated.param.name); });

} // namespace
} // namespace talwyn::kernel_testing
