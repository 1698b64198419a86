#include "sim/sim_backend.h"

#include <stop_token>

namespace talwyn::sim {

namespace {

class SimHidDevice final : public hid::HidDevice {
public:
    SimHidDevice(SimMouse& mouse, SimHandle handle) : mouse_(mouse), handle_(std::move(handle)) {}

    hid::Result sendFeatureReport(std::span<const uint8_t> data) override {
        return mouse_.setFeature(handle_, data);
    }
    hid::Result getFeatureReport(std::span<uint8_t> buffer) override {
        return mouse_.getFeature(handle_, buffer);
    }
    hid::Result readInputReport(std::span<uint8_t> buffer, int timeoutMs) override {
        return mouse_.readInput(handle_, buffer, timeoutMs, inputCancel_.get_token());
    }
    void cancelInput() override { inputCancel_.request_stop(); }
    const std::string& path() const override { return handle_.path; }

private:
    SimMouse& mouse_;
    SimHandle handle_;
    std::stop_source inputCancel_;
};

} // namespace

std::vector<hid::DeviceInfo> SimHidBackend::enumerate(uint16_t vendorId, uint16_t productId) {
    return mouse_.enumerate(vendorId, productId);
}

std::unique_ptr<hid::HidDevice> SimHidBackend::open(const std::string& path, hid::Result* error) {
    auto handle = mouse_.open(path, error);
    if (!handle)
        return nullptr;
    return std::make_unique<SimHidDevice>(mouse_, std::move(*handle));
}

bool SimMouseMonitor::start(Callback callback) {
    stop();
    const uint64_t from = mouse_.lastNoticeSequence();
    thread_ = std::jthread([this, from, callback = std::move(callback)](std::stop_token stop) {
        uint64_t seen = from;
        while (!stop.stop_requested()) {
            auto notice = mouse_.waitNotice(seen, -1, stop);
            if (!notice)
                break; // stopped, or the mouse shut down
            seen = notice->first;
            callback(notice->second);
        }
    });
    return true;
}

void SimMouseMonitor::stop() {
    if (thread_.joinable()) {
        thread_.request_stop();
        thread_.join();
    }
}

} // namespace talwyn::sim
