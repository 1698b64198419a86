#pragma once
// For tests: selected with TALWYN_HID=forbidden. Any attempt to reach a device
// through it aborts the process with a message, so a test that would touch
// real hardware by mistake fails loudly instead of passing or hanging.

#include "hid/hid_backend.h"

namespace talwyn::hid {

class ForbiddenBackend final : public HidBackend {
public:
    std::vector<DeviceInfo> enumerate(uint16_t vendorId, uint16_t productId) override;
    std::unique_ptr<HidDevice> open(const std::string& path, Result* error = nullptr) override;
};

class ForbiddenMonitor final : public DeviceMonitor {
public:
    bool start(Callback callback) override;
    void stop() override {}
};

} // namespace talwyn::hid
