// Which device notices reach the host, and what a removal does.

#include "callback_recorder.h"
#include "devlib/device_listener.h"
#include "sim_fixture.h"
#include "support/recording_sleeper.h"

namespace talwyn::devlib::testing {
namespace {

TEST(DevlibDeviceChangeCode, MatchesLiteralUpperCasePathParts) {
    using hid::DeviceChange;
    struct Case {
        DeviceChange change;
        const char* path;
        std::optional<uint8_t> code;
    };
    const std::vector<Case> cases{
        {DeviceChange::Arrival, R"(\\?\HID#VID_3282&PID_0003&MI_00#7&1&0&0000#{guid})", 1},
        {DeviceChange::Arrival, R"(\\?\HID#VID_3282&PID_0004&MI_01#7&1&0&0000#{guid})", 2},
        {DeviceChange::Arrival, R"(\\?\HID#VID_3282&PID_0003&MI_01#7&1&0&0000#{guid})", std::nullopt},
        {DeviceChange::Arrival, R"(\\?\hid#vid_3282&pid_0003&mi_00#7&1&0&0000#{guid})", std::nullopt},
        {DeviceChange::Arrival, R"(\\?\HID#VID_22D4&PID_0004#7&1&0&0000#{guid})", std::nullopt},
        {DeviceChange::Arrival, R"(\\?\HID#VID_22D4&PID_1329&MI_00#7&1&0&0000#{guid})", std::nullopt},
        {DeviceChange::Removal, R"(\\?\HID#VID_3282&PID_0003&MI_00#7&1&0&0000#{guid})", 255},
        {DeviceChange::Removal, R"(\\?\HID#VID_22D4&PID_0004#7&1&0&0000#{guid})", 255},
        {DeviceChange::Removal, R"(\\?\HID#VID_3282&PID_0003&MI_01#7&1&0&0000#{guid})", std::nullopt},
        {DeviceChange::Removal, R"(\\?\HID#VID_22D4&PID_1329&MI_00#7&1&0&0000#{guid})", std::nullopt},
        {DeviceChange::Removal, "", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(deviceChangeCode(c.change, c.path), c.code) << c.path;
}

class DevlibListenerTest : public SimLibraryTest {
protected:
    void SetUp() override { deviceChanges().reset(); }
    void TearDown() override { deviceChanges().reset(); }
};

TEST_F(DevlibListenerTest, ReportsMatchingNoticesAndClosesOnRemoval) {
    EXPECT_EQ(library.setDeviceChangeCallback(nullptr), kResultDeviceError);
    ASSERT_EQ(library.setDeviceChangeCallback(recordDeviceChange), kResultOk);
    ASSERT_EQ(library.startDeviceListener(), kResultOk);
    ASSERT_TRUE(library.channel().transport().ensureDevice());

    mouse.notify(hid::DeviceChange::Arrival, R"(\\?\HID#vid_3282&pid_0003&mi_00#1)"); // no call
    mouse.notify(hid::DeviceChange::Arrival, R"(\\?\HID#VID_3282&PID_0003&MI_00#1)");
    mouse.notify(hid::DeviceChange::Arrival, R"(\\?\HID#VID_3282&PID_0004#1)");
    ASSERT_TRUE(deviceChanges().waitFor(2));
    EXPECT_TRUE(library.channel().transport().isOpen()) << "arrivals open nothing";

    mouse.notify(hid::DeviceChange::Removal, R"(\\?\HID#VID_3282&PID_0003&MI_01#1)"); // no call
    mouse.notify(hid::DeviceChange::Removal, R"(\\?\HID#VID_22D4&PID_0004#1)");
    // Notices are handled in order: once this one is reported, the removal's
    // close after its callback has run.
    mouse.notify(hid::DeviceChange::Arrival, R"(\\?\HID#VID_3282&PID_0003&MI_00#2)");
    ASSERT_TRUE(deviceChanges().waitFor(4));
    EXPECT_EQ(deviceChanges().entries(), (std::vector<uint8_t>{1, 2, 255, 1}));
    std::lock_guard guard(library.channel().libraryLock());
    EXPECT_FALSE(library.channel().transport().isOpen());
}

TEST_F(DevlibListenerTest, EveryStartedListenerReports) {
    ASSERT_EQ(library.setDeviceChangeCallback(recordDeviceChange), kResultOk);
    ASSERT_EQ(library.startDeviceListener(), kResultOk);
    ASSERT_EQ(library.startDeviceListener(), kResultOk);
    mouse.notify(hid::DeviceChange::Arrival, R"(\\?\HID#VID_3282&PID_0004#1)");
    ASSERT_TRUE(deviceChanges().waitFor(2));
    EXPECT_EQ(deviceChanges().entries(), (std::vector<uint8_t>{2, 2}));
}

TEST(DevlibListenerWithoutMonitor, StartFailsWith20) {
    sim::SimMouse mouse;
    sim::SimHidBackend backend(mouse);
    hid::RecordingSleeper sleeper;
    BackendInputSource input(backend);
    LibraryState library({backend, sleeper, sleeper, input, nullptr});
    EXPECT_EQ(library.startDeviceListener(), kResultDeviceError);
}

} // namespace
} // namespace talwyn::devlib::testing
