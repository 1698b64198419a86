#include "hid/hidapi_backend.h"

#include "hid/hidraw_input.h"

#include <hidapi/hidapi.h>

#include <cerrno>
#include <mutex>

namespace talwyn::hid {

namespace {

// hidapi reports a failure as -1 and leaves the reason in errno (hidraw
// backend: the failing read/ioctl); capture it before anything else runs.
Result failureFromErrno() {
    const int err = errno != 0 ? errno : EIO;
    return Result::failure(classifyErrno(err), err);
}

class HidapiDevice final : public HidDevice {
public:
    HidapiDevice(hid_device* device, std::string path) : device_(device), path_(std::move(path)) {}
    ~HidapiDevice() override { hid_close(device_); }
    HidapiDevice(const HidapiDevice&) = delete;
    HidapiDevice& operator=(const HidapiDevice&) = delete;

    Result sendFeatureReport(std::span<const uint8_t> data) override {
        errno = 0;
        const int n = hid_send_feature_report(device_, data.data(), data.size());
        return n < 0 ? failureFromErrno() : Result::success(static_cast<std::size_t>(n));
    }

    Result getFeatureReport(std::span<uint8_t> buffer) override {
        errno = 0;
        const int n = hid_get_feature_report(device_, buffer.data(), buffer.size());
        return n < 0 ? failureFromErrno() : Result::success(static_cast<std::size_t>(n));
    }

    // Through the node itself rather than hid_read_timeout, whose wait
    // nothing but its timeout can end.
    Result readInputReport(std::span<uint8_t> buffer, int timeoutMs) override {
        HidrawInput* input = inputNode();
        return input ? input->read(buffer, timeoutMs) : Result::failure(ErrorClass::Fatal, ECANCELED);
    }

    void cancelInput() override {
        std::lock_guard lock(inputMutex_);
        inputCancelled_ = true;
        if (input_)
            input_->cancel();
    }

    const std::string& path() const override { return path_; }

private:
    // Opened on the first read, so devices used for feature reports only
    // hold one descriptor; nullptr once cancelled or when it cannot open.
    HidrawInput* inputNode() {
        std::lock_guard lock(inputMutex_);
        if (!input_ && !inputCancelled_)
            input_ = HidrawInput::open(path_);
        return inputCancelled_ ? nullptr : input_.get();
    }

    hid_device* device_;
    std::string path_;
    std::mutex inputMutex_; // guards input_ and inputCancelled_
    std::unique_ptr<HidrawInput> input_;
    bool inputCancelled_ = false;
};

} // namespace

HidapiBackend::HidapiBackend() {
    hid_init();
}

// hid_exit is left to process end: another user of hidapi in this process
// (the device library) may still hold devices.
HidapiBackend::~HidapiBackend() = default;

std::vector<DeviceInfo> HidapiBackend::enumerate(uint16_t vendorId, uint16_t productId) {
    std::vector<DeviceInfo> found;
    hid_device_info* list = hid_enumerate(vendorId, productId);
    for (const hid_device_info* d = list; d != nullptr; d = d->next) {
        found.push_back({d->path ? d->path : "", d->vendor_id, d->product_id, d->release_number,
                         d->usage_page, d->usage, d->interface_number});
    }
    hid_free_enumeration(list);
    return found;
}

std::unique_ptr<HidDevice> HidapiBackend::open(const std::string& path, Result* error) {
    errno = 0;
    hid_device* device = hid_open_path(path.c_str());
    if (device == nullptr) {
        if (error)
            *error = failureFromErrno();
        return nullptr;
    }
    return std::make_unique<HidapiDevice>(device, path);
}

} // namespace talwyn::hid
