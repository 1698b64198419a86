#include "devlib/hidapi_input.h"

#include "protocol/device_ids.h"

#include <hidapi/hidapi.h>

#include <cerrno>

namespace talwyn::devlib {
namespace {

class HidapiInputDevice final : public InputDevice {
public:
    explicit HidapiInputDevice(hid_device* device) : device_(device) {}
    ~HidapiInputDevice() override { hid_close(device_); }
    HidapiInputDevice(const HidapiInputDevice&) = delete;
    HidapiInputDevice& operator=(const HidapiInputDevice&) = delete;

    // With a timeout rather than hid_read's endless wait, so the reader can
    // be stopped without closing the device under the read.
    hid::Result read(std::span<uint8_t> buffer, std::chrono::milliseconds timeout) override {
        const int n =
            hid_read_timeout(device_, buffer.data(), buffer.size(), static_cast<int>(timeout.count()));
        if (n < 0)
            return hid::Result::failure(hid::ErrorClass::Fatal, EIO);
        return hid::Result::success(static_cast<std::size_t>(n));
    }

private:
    hid_device* device_;
};

} // namespace

std::unique_ptr<InputDevice> HidapiInputSource::open() {
    hid_device* device = hid_open(protocol::kVendorId, protocol::kProductIdNormal, nullptr);
    return device ? std::make_unique<HidapiInputDevice>(device) : nullptr;
}

void HidapiInputSource::exit() {
    hid_exit();
}

} // namespace talwyn::devlib
