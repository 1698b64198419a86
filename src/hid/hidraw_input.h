#pragma once
// Input reports read straight from a hidraw node. hidapi's reads can only
// time out; this wait ends the moment another thread cancels it, so a reader
// thread can block without a timeout and still stop at once.

#include "hid/hid_backend.h"
#include "hid/unique_fd.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace talwyn::hid {

class HidrawInput {
public:
    // Opens the node read-write, as hidapi does; nullptr when it cannot.
    static std::unique_ptr<HidrawInput> open(const std::string& path);

    // Reads from `node` (a hidraw node, or anything that delivers one report
    // per read). Throws std::system_error when no wake-up descriptor is left.
    explicit HidrawInput(UniqueFd node);

    // Waits at most timeoutMs (-1: without limit) for one report and copies
    // what came, a short report included. Success with 0 bytes: the time ran
    // out. A cancelled wait fails with ECANCELED, a vanished device with
    // ENODEV, both fatal.
    Result read(std::span<uint8_t> buffer, int timeoutMs = -1);

    // Safe from any thread while a read runs: ends it now, and every later
    // read at once.
    void cancel();

private:
    UniqueFd node_;
    UniqueFd wake_;
};

} // namespace talwyn::hid
