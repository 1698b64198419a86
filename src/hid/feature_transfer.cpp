#include "hid/feature_transfer.h"

#include <algorithm>
#include <cerrno>
#include <vector>

namespace talwyn::hid {
namespace {

bool matches(const DeviceInfo& info, const CollectionMatch& match) {
    return info.vendorId == match.vendorId && info.productId == match.productId &&
           info.usagePage == match.usagePage && info.usage == match.usage;
}

// Byte 1 of a reply; 0, which no rule waits for, when the buffer has none.
uint8_t statusOf(std::span<const uint8_t> buffer) {
    return buffer.size() > 1 ? buffer[1] : 0;
}

} // namespace

OpenedCollection openCollection(HidBackend& backend, const CollectionMatch& match) {
    OpenedCollection opened;
    for (const DeviceInfo& info : backend.enumerate(match.vendorId, match.productId)) {
        if (!matches(info, match))
            continue;
        // A backend that gives no reason still leaves a failure behind.
        Result error = Result::failure(ErrorClass::Fatal, ENODEV);
        if (auto device = backend.open(info.path, &error)) {
            opened.device = std::move(device);
            opened.releaseNumber = info.releaseNumber;
            return opened;
        }
        opened.refusal = error;
    }
    return opened;
}

Result sendFeature(const SendAttempt& send, std::span<const uint8_t> report, const SendRules& rules,
                   Sleeper& sleeper) {
    Result r = send(report);
    if (r.ok() || r.error != ErrorClass::Retryable)
        return r;
    for (int retry = 0; retry < rules.retries; ++retry) {
        r = send(report);
        if (r.ok())
            return r;
        sleeper.sleep(rules.retryPause);
    }
    return r;
}

Result fetchFeature(const FetchAttempt& fetch, std::span<uint8_t> buffer, const FetchRules& rules,
                    Sleeper& sleeper) {
    const std::vector<uint8_t> request(buffer.begin(), buffer.end());
    auto refetch = [&] {
        std::copy(request.begin(), request.end(), buffer.begin());
        return fetch(buffer);
    };
    auto ready = [&](const Result& r) { return r.ok() && statusOf(buffer) == rules.readyStatus; };

    Result r = fetch(buffer);
    if (r.ok()) {
        if (!rules.needsPolling(statusOf(buffer)))
            return r;
        for (auto pause : rules.pollPauses) {
            r = refetch();
            if (ready(r))
                return r;
            if (rules.pauseAfterEveryPoll || (r.ok() && rules.needsPolling(statusOf(buffer))))
                sleeper.sleep(pause);
        }
        return r;
    }
    if (r.error != ErrorClass::Retryable)
        return r;
    for (int retry = 0; retry < rules.retries; ++retry) {
        r = refetch();
        if (rules.retryUntilReady ? ready(r) : r.ok())
            return r;
        sleeper.sleep(rules.retryPause);
    }
    return r;
}

} // namespace talwyn::hid
