#include "devlib/device_listener.h"

namespace talwyn::devlib {
namespace {

bool has(std::string_view path, std::string_view part) {
    return path.find(part) != std::string_view::npos;
}

} // namespace

std::optional<uint8_t> deviceChangeCode(hid::DeviceChange change, std::string_view path) {
    const bool mainInterface = has(path, "VID_3282") && has(path, "PID_0003") && has(path, "MI_00");
    if (change == hid::DeviceChange::Removal) {
        if (!path.empty() && (mainInterface || has(path, "PID_0004")))
            return kDeviceRemoved;
        return std::nullopt;
    }
    if (mainInterface)
        return kDeviceArrived;
    if (has(path, "VID_3282") && has(path, "PID_0004"))
        return kDeviceArrivedAlt;
    return std::nullopt;
}

bool DeviceListener::start() {
    if (!monitor_ || started_)
        return started_;
    started_ = monitor_->start([this](const hid::DeviceNotice& notice) {
        if (auto code = deviceChangeCode(notice.change, notice.interfacePath))
            handler_(*code);
    });
    return started_;
}

void DeviceListener::stop() {
    if (started_)
        monitor_->stop();
    started_ = false;
}

} // namespace talwyn::devlib
