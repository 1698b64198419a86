#include "devlib/config_transport.h"

#include "hid/feature_transfer.h"
#include "protocol/device_ids.h"
#include "protocol/reports.h"

#include <array>

namespace talwyn::devlib {
namespace {

using namespace std::chrono_literals;

constexpr int kSendRetries = 3;

// Busy replies are polled three more times; a transient failure is retried
// four times and any reply then ends the wait.
constexpr std::array kBusyPolls{0ms, 30ms, 60ms};
constexpr hid::FetchRules kReplyRules{
    protocol::kReplyDone, protocol::isBusy, kBusyPolls, false, 4, 50ms, false};

hid::CollectionMatch collection(uint16_t productId, protocol::Collection c) {
    return {protocol::kVendorId, productId, c.usagePage, c.usage};
}

} // namespace

bool ConfigTransport::openConfigInterface(uint16_t productId) {
    config_.reset();
    config_ = hid::openCollection(backend_, collection(productId, protocol::kConfigCollection)).device;
    return config_ != nullptr;
}

bool ConfigTransport::openCompliantInterface() {
    compliant_ =
        hid::openCollection(backend_, collection(protocol::kProductIdNormal, protocol::kCompliantCollection))
            .device;
    return compliant_ != nullptr;
}

bool ConfigTransport::ensureDevice() {
    return isOpen() || openConfigInterface(protocol::kProductIdNormal);
}

bool ConfigTransport::sendReport(std::span<const uint8_t> report, std::chrono::milliseconds retryPause) {
    if (!config_)
        return false;
    auto send = [this](std::span<const uint8_t> data) { return config_->sendFeatureReport(data); };
    return hid::sendFeature(send, report, {kSendRetries, retryPause}, sleeper_).ok();
}

bool ConfigTransport::receiveReport(std::span<uint8_t> buffer) {
    if (!config_)
        return false;
    auto fetch = [this](std::span<uint8_t> reply) { return config_->getFeatureReport(reply); };
    return hid::fetchFeature(fetch, buffer, kReplyRules, sleeper_).ok();
}

} // namespace talwyn::devlib
