#pragma once
// Which device-interface notices the library's listener reports, and the
// listener itself over a platform DeviceMonitor.

#include "hid/hid_backend.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

namespace talwyn::devlib {

inline constexpr uint8_t kDeviceArrived = 1;
inline constexpr uint8_t kDeviceArrivedAlt = 2;
inline constexpr uint8_t kDeviceRemoved = 255;

// The byte reported for a notice, or nothing. Matching is on literal,
// case-sensitive substrings of the interface path.
std::optional<uint8_t> deviceChangeCode(hid::DeviceChange change, std::string_view path);

class DeviceListener {
public:
    using Handler = std::function<void(uint8_t code)>;

    // Takes a monitor that has not been started yet.
    DeviceListener(std::unique_ptr<hid::DeviceMonitor> monitor, Handler handler)
        : monitor_(std::move(monitor)), handler_(std::move(handler)) {}
    ~DeviceListener() { stop(); }
    DeviceListener(const DeviceListener&) = delete;
    DeviceListener& operator=(const DeviceListener&) = delete;

    bool start();
    void stop();

private:
    std::unique_ptr<hid::DeviceMonitor> monitor_;
    Handler handler_;
    bool started_ = false;
};

} // namespace talwyn::devlib
