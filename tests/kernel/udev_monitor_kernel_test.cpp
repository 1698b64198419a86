// The udev monitor on the test bed's uevents: the mouse's hidraw nodes come
// and go with the interface paths the program and the library match on.

#include "hid/udev_monitor.h"
#include "kernel/kernel_mouse.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace talwyn::kernel_testing {
namespace {

using ::testing::ElementsAre;
using ::testing::FieldsAre;

class NoticeLog {
public:
    void add(const hid::DeviceNotice& notice) {
        {
            std::lock_guard lock(mutex_);
            notices_.push_back(notice);
        }
        changed_.notify_all();
    }
    std::vector<hid::DeviceNotice> waitFor(std::size_t count) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(10), [&] { return notices_.size() >= count; });
        return notices_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<hid::DeviceNotice> notices_;
};

std::string interfacePath(const char* ids, const char* instance) {
    return std::string("\\\\?\\HID#") + ids + "#7&" + instance +
           "&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
}

TEST(UdevMonitorKernelTest, ReportsHidrawUeventsWithTheirInterfacePaths) {
    KernelMouse mouse;
    NoticeLog log;
    hid::UdevMonitor monitor;
    ASSERT_TRUE(monitor.start([&](const hid::DeviceNotice& notice) { log.add(notice); }));

    mouse.unplug();
    mouse.plug();
    mouse.removeDevice(mouse.addOtherDevice(0x046D, 0xC077, 0));

    // Only hidraw nodes count: the USB, interface and HID devices' uevents do not.
    using enum hid::DeviceChange;
    EXPECT_THAT(log.waitFor(6),
                ElementsAre(FieldsAre(Removal, interfacePath("VID_22D4&PID_1329&MI_00", "0001")),
                            FieldsAre(Removal, interfacePath("VID_22D4&PID_1329&MI_01", "0002")),
                            FieldsAre(Arrival, interfacePath("VID_22D4&PID_1329&MI_00", "0003")),
                            FieldsAre(Arrival, interfacePath("VID_22D4&PID_1329&MI_01", "0004")),
                            FieldsAre(Arrival, interfacePath("VID_046D&PID_C077&MI_00", "0005")),
                            FieldsAre(Removal, interfacePath("VID_046D&PID_C077&MI_00", "0005"))));
    monitor.stop();
}

} // namespace
} // namespace talwyn::kernel_testing
