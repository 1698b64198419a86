#include "devlib/config_transport.h"

#include "devlib/protocol.h"

#include <algorithm>
#include <array>
#include <vector>

namespace talwyn::devlib {
namespace {

using namespace std::chrono_literals;

constexpr int kSendRetries = 3;
constexpr int kReadRetries = 4;
constexpr std::array kBusyPollPauses{0ms, 30ms, 60ms};
constexpr auto kReadRetryPause = 50ms;

std::unique_ptr<hid::HidDevice> openCollection(hid::HidBackend& backend, uint16_t productId,
                                               uint16_t usagePage, uint16_t usage) {
    for (const hid::DeviceInfo& info : backend.enumerate(kVendorId, productId)) {
        if (info.vendorId != kVendorId || info.productId != productId || info.usagePage != usagePage ||
            info.usage != usage)
            continue;
        if (auto device = backend.open(info.path))
            return device;
    }
    return nullptr;
}

bool isBusy(uint8_t status) {
    return status == kReplyBusy || status == kReplyBusyAlt;
}

} // namespace

bool ConfigTransport::openConfigInterface(uint16_t productId) {
    config_.reset();
    config_ = openCollection(backend_, productId, kConfigUsagePage, kConfigUsage);
    return config_ != nullptr;
}

bool ConfigTransport::openCompliantInterface() {
    compliant_ = openCollection(backend_, kProductIdNormal, kCompliantUsagePage, kCompliantUsage);
    return compliant_ != nullptr;
}

bool ConfigTransport::ensureDevice() {
    return isOpen() || openConfigInterface(kProductIdNormal);
}

bool ConfigTransport::sendReport(std::span<const uint8_t> report, std::chrono::milliseconds retryPause) {
    if (!config_)
        return false;
    hid::Result result = config_->sendFeatureReport(report);
    if (result.ok())
        return true;
    if (result.error != hid::ErrorClass::Retryable)
        return false;
    for (int attempt = 0; attempt < kSendRetries; ++attempt) {
        if (config_->sendFeatureReport(report).ok())
            return true;
        sleeper_.sleep(retryPause);
    }
    return false;
}

bool ConfigTransport::receiveReport(std::span<uint8_t> buffer) {
    if (!config_)
        return false;
    const std::vector<uint8_t> request(buffer.begin(), buffer.end());
    hid::Result result = config_->getFeatureReport(buffer);
    if (result.ok())
        return isBusy(buffer[1]) ? pollWhileBusy(buffer, request) : true;
    if (result.error != hid::ErrorClass::Retryable)
        return false;
    return retryRead(buffer, request);
}

bool ConfigTransport::pollWhileBusy(std::span<uint8_t> buffer, std::span<const uint8_t> request) {
    bool lastReadOk = true;
    for (auto pause : kBusyPollPauses) {
        std::copy(request.begin(), request.end(), buffer.begin());
        lastReadOk = config_->getFeatureReport(buffer).ok();
        if (lastReadOk && buffer[1] == kReplyDone)
            return true;
        if (lastReadOk && isBusy(buffer[1]))
            sleeper_.sleep(pause);
    }
    return lastReadOk;
}

bool ConfigTransport::retryRead(std::span<uint8_t> buffer, std::span<const uint8_t> request) {
    for (int attempt = 0; attempt < kReadRetries; ++attempt) {
        std::copy(request.begin(), request.end(), buffer.begin());
        if (config_->getFeatureReport(buffer).ok())
            return true;
        sleeper_.sleep(kReadRetryPause);
    }
    return false;
}

} // namespace talwyn::devlib
