#pragma once
// Arrival and removal of hidraw devices on Linux, from udev, with each
// device's path spelled the way the program's path matching expects
// (\\?\HID#VID_22D4&PID_1329&MI_00#...).

#include "hid/hid_backend.h"
#include "hid/unique_fd.h"

#include <optional>
#include <string_view>
#include <thread>

namespace talwyn::hid {

// The Windows-style interface path of a hidraw device from its sysfs device
// path, e.g. /devices/.../1-2:1.0/0003:22D4:1329.0005/hidraw/hidraw3 gives
// \\?\HID#VID_22D4&PID_1329&MI_00#7&0005&0&0000#{4d1e55b2-...}. No value when
// the path names no HID device.
std::optional<std::string> windowsInterfacePath(std::string_view devpath);

class UdevMonitor final : public DeviceMonitor {
public:
    ~UdevMonitor() override { stop(); }
    bool start(Callback callback) override;
    void stop() override;

private:
    UniqueFd wake_; // eventfd that ends the thread's poll
    std::jthread thread_;
};

} // namespace talwyn::hid
