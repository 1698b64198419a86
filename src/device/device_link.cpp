#include "device/device_link.h"

#include "hid/feature_transfer.h"
#include "protocol/device_ids.h"
#include "protocol/reports.h"

#include <array>
#include <cerrno>

namespace talwyn::device {

namespace {

using namespace std::chrono_literals;

constexpr hid::CollectionMatch kConfigInterface{protocol::kVendorId, protocol::kProductIdNormal,
                                                protocol::kConfigCollection.usagePage,
                                                protocol::kConfigCollection.usage};

constexpr hid::SendRules kSendRules{3, 50ms};

// Until the ready mark: polled with a growing pause, a transient failure
// retried three times.
constexpr std::array kReadyPolls{0ms, 50ms, 100ms, 150ms, 200ms};
constexpr hid::FetchRules kStatusRules{protocol::kReplyDone,
                                       [](uint8_t status) { return status != protocol::kReplyDone; },
                                       kReadyPolls,
                                       true,
                                       3,
                                       50ms,
                                       true};

const hid::Result kNoHandle = hid::Result::failure(hid::ErrorClass::Fatal, ENODEV);
const hid::Result kCancelled = hid::Result::failure(hid::ErrorClass::Fatal, ECANCELED);

} // namespace

DeviceLink::DeviceLink(hid::HidBackend& backend, hid::Sleeper& sleeper)
    : backend_(backend), sleeper_(sleeper) {}

int DeviceLink::open() {
    std::lock_guard lock(mutex_);
    device_.reset();
    if (cancelled_) {
        trace_ = {kCancelled, std::nullopt};
        return 0;
    }
    hid::OpenedCollection opened = hid::openCollection(backend_, kConfigInterface);
    trace_ = {opened.refusal, std::nullopt};
    if (!opened.device)
        return 0;
    device_ = std::move(opened.device);
    hidVersion_ = opened.releaseNumber;
    return 1;
}

int DeviceLink::ensureOpen() {
    return connected() ? 1 : open();
}

int DeviceLink::close() {
    std::lock_guard lock(mutex_);
    device_.reset();
    return 1;
}

void DeviceLink::cancel() {
    cancelled_ = true;
}

bool DeviceLink::connected() const {
    std::lock_guard lock(mutex_);
    return device_ != nullptr;
}

uint16_t DeviceLink::hidVersion() const {
    std::lock_guard lock(mutex_);
    return hidVersion_;
}

uint16_t DeviceLink::firmwareVersionNumber() const {
    return protocol::versionAsDecimal(hidVersion());
}

LinkTrace DeviceLink::lastTrace() const {
    std::lock_guard lock(mutex_);
    return trace_;
}

void DeviceLink::trace(LinkTrace trace) {
    std::lock_guard lock(mutex_);
    trace_ = trace;
}

// Each attempt takes the lock on its own, so close() can come between retries.
hid::Result DeviceLink::send(std::span<const uint8_t> buffer) {
    std::lock_guard lock(mutex_);
    if (cancelled_) {
        return kCancelled;
    }
    return device_ ? device_->sendFeatureReport(buffer) : kNoHandle;
}

hid::Result DeviceLink::fetch(std::span<uint8_t> buffer) {
    std::lock_guard lock(mutex_);
    if (cancelled_) {
        return kCancelled;
    }
    return device_ ? device_->getFeatureReport(buffer) : kNoHandle;
}

int DeviceLink::writeReport(std::span<uint8_t> buffer) {
    const hid::Result r = hid::sendFeature([this](std::span<const uint8_t> report) { return send(report); },
                                           buffer, kSendRules, sleeper_);
    trace({r, std::nullopt});
    return r.ok() ? 1 : 0;
}

int DeviceLink::readStatus(std::span<uint8_t> buffer) {
    const hid::Result r = hid::fetchFeature([this](std::span<uint8_t> reply) { return fetch(reply); }, buffer,
                                            kStatusRules, sleeper_);
    trace({r, r.ok() && buffer.size() > 1 ? std::optional<uint8_t>(buffer[1]) : std::nullopt});
    return r.ok() ? 1 : 0;
}

} // namespace talwyn::device
