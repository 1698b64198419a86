#pragma once
// The library lock and the exchanges every command is built from: a command
// with its status reply, the button-data upload and read, the version query.
// Callers hold libraryLock() for a whole command; the helpers take it again (it is
// recursive) so they are safe on their own too.

#include "devlib/config_transport.h"
#include "devlib/results.h"
#include "protocol/reports.h"

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <mutex>

namespace talwyn::devlib {

class CommandChannel {
public:
    CommandChannel(hid::HidBackend& backend, hid::Sleeper& sleeper) : transport_(backend, sleeper) {}

    std::recursive_mutex& libraryLock() { return libraryLock_; }
    ConfigTransport& transport() { return transport_; }
    hid::Sleeper& sleeper() { return transport_.sleeper(); }

    // Writes `report` (retry pause 50 ms), sleeps `pauses`, reads the 0xA1
    // status reply into `reply` when given. 1 when the mouse answered status
    // 1, else 20.
    uint8_t runCommand(const protocol::CommandReport& report,
                       std::initializer_list<std::chrono::milliseconds> pauses,
                       protocol::CommandReport* reply = nullptr);
    uint8_t runCommand(const protocol::CommandReport& report, std::chrono::milliseconds pause,
                       protocol::CommandReport* reply = nullptr) {
        return runCommand(report, {pause}, reply);
    }

    // Uploads a 1024-byte data block for a button, with its checksum:
    // 1 accepted, 2 the write failed, 20 not accepted.
    uint8_t uploadButtonData(const protocol::DataBlock& data, uint8_t profile, uint8_t button);
    // Reads the 1024-byte data block of a button into `out`: 1 or 20.
    uint8_t readButtonData(uint8_t button, uint8_t profile, protocol::DataBlock& out);
    // Reads the 16-bit version at `replyOffset` of the A1 02 reply, its hex
    // digits read as decimal: 1 or 20 (version untouched).
    uint8_t readVersion(std::size_t replyOffset, uint16_t& version);

private:
    std::recursive_mutex libraryLock_;
    ConfigTransport transport_;
};

} // namespace talwyn::devlib
