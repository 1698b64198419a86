#include "device/device_link.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <vector>

namespace talwyn::device {

namespace {

using namespace std::chrono_literals;

constexpr int kSendRetries = 3;
constexpr int kFetchRetries = 3;
constexpr auto kRetryPause = 50ms;
constexpr auto kReadyStep = 50ms;
constexpr auto kReadyLimit = 250ms;

const hid::Result kNoHandle = hid::Result::failure(hid::ErrorClass::Fatal, ENODEV);

bool ready(const hid::Result& r, std::span<const uint8_t> buffer) {
    return r.ok() && buffer.size() > 1 && buffer[1] == kStatusReady;
}

} // namespace

uint16_t versionAsDecimal(uint16_t version) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%x", version);
    unsigned value = 0;
    for (const char* c = hex; *c >= '0' && *c <= '9'; ++c)
        value = value * 10 + static_cast<unsigned>(*c - '0');
    return static_cast<uint16_t>(value);
}

DeviceLink::DeviceLink(hid::HidBackend& backend, hid::Sleeper& sleeper)
    : backend_(backend), sleeper_(sleeper) {}

int DeviceLink::open() {
    std::lock_guard lock(mutex_);
    device_.reset();
    trace_ = {};
    for (const auto& info : backend_.enumerate(kVendorId, kProductId)) {
        if (info.vendorId != kVendorId || info.productId != kProductId || info.usagePage != kUsagePage ||
            info.usage != kUsage)
            continue;
        hid::Result error = kNoHandle;
        if (auto device = backend_.open(info.path, &error)) {
            device_ = std::move(device);
            hidVersion_ = info.releaseNumber;
            return 1;
        }
        trace_.transfer = error;
    }
    return 0;
}

int DeviceLink::ensureOpen() {
    return connected() ? 1 : open();
}

int DeviceLink::close() {
    std::lock_guard lock(mutex_);
    device_.reset();
    return 1;
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
    return versionAsDecimal(hidVersion());
}

LinkTrace DeviceLink::lastTrace() const {
    std::lock_guard lock(mutex_);
    return trace_;
}

void DeviceLink::trace(LinkTrace trace) {
    std::lock_guard lock(mutex_);
    trace_ = trace;
}

hid::Result DeviceLink::send(std::span<const uint8_t> buffer) {
    std::lock_guard lock(mutex_);
    return device_ ? device_->sendFeatureReport(buffer) : kNoHandle;
}

hid::Result DeviceLink::fetch(std::span<uint8_t> buffer) {
    std::lock_guard lock(mutex_);
    return device_ ? device_->getFeatureReport(buffer) : kNoHandle;
}

int DeviceLink::writeReport(std::span<uint8_t> buffer) {
    const hid::Result r = sendWithRetries(buffer);
    trace({r, std::nullopt});
    return r.ok() ? 1 : 0;
}

hid::Result DeviceLink::sendWithRetries(std::span<uint8_t> buffer) {
    const std::vector<uint8_t> copy(buffer.begin(), buffer.end());
    hid::Result r = send(buffer);
    if (r.ok() || r.error != hid::ErrorClass::Retryable)
        return r;
    for (int retry = 0; retry < kSendRetries; ++retry) {
        std::copy(copy.begin(), copy.end(), buffer.begin());
        r = send(buffer);
        if (r.ok())
            return r;
        sleeper_.sleep(kRetryPause);
    }
    return r;
}

int DeviceLink::readStatus(std::span<uint8_t> buffer) {
    const hid::Result r = fetchUntilReady(buffer);
    trace({r, r.ok() && buffer.size() > 1 ? std::optional<uint8_t>(buffer[1]) : std::nullopt});
    return r.ok() ? 1 : 0;
}

hid::Result DeviceLink::fetchUntilReady(std::span<uint8_t> buffer) {
    const std::vector<uint8_t> request(buffer.begin(), buffer.end());
    auto refetch = [&] {
        std::copy(request.begin(), request.end(), buffer.begin());
        return fetch(buffer);
    };
    hid::Result r = fetch(buffer);
    if (ready(r, buffer))
        return r;
    if (r.ok()) {
        // Not ready yet: poll with a growing pause.
        for (auto pause = 0ms; pause < kReadyLimit; pause += kReadyStep) {
            r = refetch();
            if (ready(r, buffer))
                return r;
            sleeper_.sleep(pause);
        }
        return r;
    }
    if (r.error != hid::ErrorClass::Retryable)
        return r;
    for (int retry = 0; retry < kFetchRetries; ++retry) {
        r = refetch();
        if (ready(r, buffer))
            return r;
        sleeper_.sleep(kRetryPause);
    }
    return r;
}

} // namespace talwyn::device
