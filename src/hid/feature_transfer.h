#pragma once
// Finding one top-level collection of a device and exchanging feature
// reports with it under retry rules. The program and the device library ask
// the same mouse with different patience, so the rules are data; the
// mechanism is this one.

#include "hid/hid_backend.h"
#include "hid/sleeper.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

namespace talwyn::hid {

struct CollectionMatch {
    uint16_t vendorId;
    uint16_t productId;
    uint16_t usagePage;
    uint16_t usage;
};

struct OpenedCollection {
    std::unique_ptr<HidDevice> device; // null when no matching collection opened
    uint16_t releaseNumber = 0;
    // Why the last matching collection refused to open; success when none did.
    Result refusal = Result::success(0);
};

// Opens the first enumerated collection that matches all four IDs.
OpenedCollection openCollection(HidBackend& backend, const CollectionMatch& match);

// One transfer on whatever device the caller holds at that moment.
using SendAttempt = std::function<Result(std::span<const uint8_t>)>;
using FetchAttempt = std::function<Result(std::span<uint8_t>)>;

// A failed send is retried `retries` times when the failure is transient,
// pausing after each failed retry.
struct SendRules {
    int retries;
    std::chrono::milliseconds retryPause;
};

Result sendFeature(const SendAttempt& send, std::span<const uint8_t> report, const SendRules& rules,
                   Sleeper& sleeper);

// How a fetched reply (status in byte 1) is waited for. A first reply whose
// status `needsPolling` is fetched again once per poll pause; a transiently
// failed first fetch is retried. The request is restored before every fetch.
struct FetchRules {
    uint8_t readyStatus;
    bool (*needsPolling)(uint8_t status);
    std::span<const std::chrono::milliseconds> pollPauses;
    // Whether a poll that failed, or met a status that needs no polling,
    // still waits its pause before the next one.
    bool pauseAfterEveryPoll;
    int retries;
    std::chrono::milliseconds retryPause;
    // Whether a retry stops only at the ready status, or at any reply.
    bool retryUntilReady;
};

// The result of the last fetch; buffer holds its reply.
Result fetchFeature(const FetchAttempt& fetch, std::span<uint8_t> buffer, const FetchRules& rules,
                    Sleeper& sleeper);

} // namespace talwyn::hid
