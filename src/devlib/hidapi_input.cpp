#include "devlib/hidapi_input.h"

#include "hid/hidraw_input.h"
#include "protocol/device_ids.h"

#include <hidapi/hidapi.h>

#include <string>

namespace talwyn::devlib {
namespace {

// The node is read directly rather than through hid_read, so that a stop
// wakes a read that waits without a timeout.
class HidrawInputDevice final : public InputDevice {
public:
    explicit HidrawInputDevice(std::unique_ptr<hid::HidrawInput> node) : node_(std::move(node)) {}
    hid::Result read(std::span<uint8_t> buffer) override { return node_->read(buffer); }
    void cancel() override { node_->cancel(); }

private:
    std::unique_ptr<hid::HidrawInput> node_;
};

// The interface hid_open would open: the first one enumerated.
std::string firstInterfacePath() {
    hid_device_info* interfaces = hid_enumerate(protocol::kVendorId, protocol::kProductIdNormal);
    std::string path = interfaces != nullptr && interfaces->path != nullptr ? interfaces->path : "";
    hid_free_enumeration(interfaces);
    return path;
}

} // namespace

std::unique_ptr<InputDevice> HidapiInputSource::open() {
    const std::string path = firstInterfacePath();
    if (path.empty())
        return nullptr;
    auto node = hid::HidrawInput::open(path);
    return node ? std::make_unique<HidrawInputDevice>(std::move(node)) : nullptr;
}

void HidapiInputSource::exit() {
    hid_exit();
}

} // namespace talwyn::devlib
