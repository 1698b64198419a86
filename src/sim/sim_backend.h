#pragma once
// The simulated mouse in the same process, as a HID backend and a device
// monitor: what unit tests put under the device link and the library.

#include "hid/hid_backend.h"
#include "sim/sim_mouse.h"

#include <thread>

namespace talwyn::sim {

class SimHidBackend final : public hid::HidBackend {
public:
    explicit SimHidBackend(SimMouse& mouse) : mouse_(mouse) {}
    std::vector<hid::DeviceInfo> enumerate(uint16_t vendorId, uint16_t productId) override;
    std::unique_ptr<hid::HidDevice> open(const std::string& path, hid::Result* error = nullptr) override;

private:
    SimMouse& mouse_;
};

class SimMouseMonitor final : public hid::DeviceMonitor {
public:
    explicit SimMouseMonitor(SimMouse& mouse) : mouse_(mouse) {}
    ~SimMouseMonitor() override { stop(); }
    bool start(Callback callback) override;
    void stop() override;

private:
    SimMouse& mouse_;
    std::jthread thread_;
};

} // namespace talwyn::sim
