#pragma once
// Real hardware through hidapi's hidraw backend.

#include "hid/hid_backend.h"

namespace talwyn::hid {

class HidapiBackend final : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;
    std::vector<DeviceInfo> enumerate(uint16_t vendorId, uint16_t productId) override;
    std::unique_ptr<HidDevice> open(const std::string& path, Result* error = nullptr) override;
};

} // namespace talwyn::hid
