#pragma once
// The simulated mouse's daemon as a HID backend (TALWYN_HID=sim:<socket>).
// Every opened interface has its own connection, so a reader blocked on input
// reports never holds up feature reports on another interface.

#include "hid/hid_backend.h"

#include <thread>

namespace talwyn::hid {

class SimSocketBackend final : public HidBackend {
public:
    explicit SimSocketBackend(std::string socketPath) : socketPath_(std::move(socketPath)) {}
    // An unreachable daemon looks like a machine without the mouse.
    std::vector<DeviceInfo> enumerate(uint16_t vendorId, uint16_t productId) override;
    std::unique_ptr<HidDevice> open(const std::string& path, Result* error = nullptr) override;

private:
    std::string socketPath_;
};

// The daemon's plug/unplug notices.
class SimSocketMonitor final : public DeviceMonitor {
public:
    explicit SimSocketMonitor(std::string socketPath) : socketPath_(std::move(socketPath)) {}
    ~SimSocketMonitor() override { stop(); }
    bool start(Callback callback) override;
    void stop() override;

private:
    std::string socketPath_;
    int fd_ = -1;
    std::jthread thread_;
};

// Sends one control command (arguments as on the ctl command line) and
// returns the daemon's JSON line; false with the reason in `reply` when the
// daemon cannot be reached or refuses the command.
bool sendSimControl(const std::string& socketPath, const std::vector<std::string>& args, std::string& reply);

} // namespace talwyn::hid
