#pragma once
// The program's one path to the mouse's configuration interface (vendor
// 0x22D4, product 0x1329, usage page 0xFF01, usage 2): discovery, feature
// reports with the transport's retry policy and the status wait.
//
// An object rather than process-wide functions: the main window owns the one
// instance (so the program still has exactly one handle), and tests give it a
// simulated backend and a recording sleeper. Each transfer is serialized
// with close(), so a removal handled on the UI thread cannot free the handle
// under an apply running on the worker thread.

#include "hid/hid_backend.h"
#include "hid/sleeper.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>

namespace talwyn::device {

// What the last discovery or exchange ran into, so a failed command can say
// why: the transfer that failed (or the open of a matching interface), else
// the status byte the mouse last answered with.
struct LinkTrace {
    hid::Result transfer = hid::Result::success(0);
    std::optional<uint8_t> status;
};

class DeviceLink {
public:
    explicit DeviceLink(hid::HidBackend& backend, hid::Sleeper& sleeper = hid::defaultSleeper());

    // Discovery: 1 when the configuration interface was found and opened.
    int open();
    // 1 at once when connected, else open().
    int ensureOpen();
    // Closes the handle if any; always 1.
    int close();
    // Ends the work on the mouse for good, at the next report: a report
    // under way still completes, every later one and every discovery fails
    // at once without reaching the mouse. Safe from any thread.
    void cancel();
    // Sends buffer as a feature report, retrying transient failures; 1 or 0.
    int writeReport(std::span<uint8_t> buffer);
    // Fetches the report whose ID is in buffer[0], waiting for the ready mark
    // in byte 1; returns whether the last fetch succeeded (1 or 0), not the
    // mouse's verdict.
    int readStatus(std::span<uint8_t> buffer);

    bool connected() const;
    // The release number the interface reported at discovery.
    uint16_t hidVersion() const;
    // hidVersion's hexadecimal digits read as a decimal number: 0x0105 -> 105.
    uint16_t firmwareVersionNumber() const;

    hid::Sleeper& sleeper() { return sleeper_; }
    LinkTrace lastTrace() const;

private:
    hid::Result send(std::span<const uint8_t> buffer);
    hid::Result fetch(std::span<uint8_t> buffer);
    void trace(LinkTrace trace);

    hid::HidBackend& backend_;
    hid::Sleeper& sleeper_;
    mutable std::mutex mutex_;
    std::unique_ptr<hid::HidDevice> device_;
    std::atomic<bool> cancelled_{false};
    uint16_t hidVersion_ = 0;
    LinkTrace trace_;
};

} // namespace talwyn::device
