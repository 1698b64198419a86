#pragma once
// The library's path to the mouse's configuration interface (feature reports)
// with the retry and busy rules every command relies on. Not locked: the
// library lock around it serialises callers.

#include "hid/hid_backend.h"
#include "hid/sleeper.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>

namespace talwyn::devlib {

// The send retry pauses: the fast one for block writes, block reads and the
// bootloader entry, the other for every other command.
inline constexpr std::chrono::milliseconds kFastRetryPause{30};
inline constexpr std::chrono::milliseconds kCommandRetryPause{50};

class ConfigTransport {
public:
    ConfigTransport(hid::HidBackend& backend, hid::Sleeper& sleeper) : backend_(backend), sleeper_(sleeper) {}

    // Forgets the current interface, then opens the first collection
    // 0xFF01/2 of the mouse with `productId`. True when one was opened.
    bool openConfigInterface(uint16_t productId);
    // Opens the second vendor collection 0xFF02/1 (normal mode only).
    bool openCompliantInterface();
    void closeConfig() { config_.reset(); }
    bool isOpen() const { return config_ != nullptr; }
    // Open, or else opened now on the normal-mode product.
    bool ensureDevice();

    // Writes a feature report; transient failures are retried three times
    // with `retryPause` after each failed retry.
    bool sendReport(std::span<const uint8_t> report, std::chrono::milliseconds retryPause);
    // Reads a feature report (buffer[0] selects it), waiting out busy
    // replies. True when the last read succeeded; the caller judges byte 1.
    bool receiveReport(std::span<uint8_t> buffer);

    hid::Sleeper& sleeper() { return sleeper_; }

private:
    hid::HidBackend& backend_;
    hid::Sleeper& sleeper_;
    std::unique_ptr<hid::HidDevice> config_;
    std::unique_ptr<hid::HidDevice> compliant_;
};

} // namespace talwyn::devlib
