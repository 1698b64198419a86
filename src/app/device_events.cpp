#include "app/device_events.h"

#include <mutex>

namespace talwyn::app {

std::optional<DpiLevelChange> interpretDeviceEvent(uint8_t code, std::optional<uint8_t> data) {
    if (code != kEventDpiLevel || !data) {
        return std::nullopt;
    }
    if (*data < kDpiLevelCount) {
        return DpiLevelChange{static_cast<uint8_t>(*data + 1), static_cast<int>(*data)};
    }
    return DpiLevelChange{kFallbackDpiLevel, std::nullopt};
}

namespace {

std::mutex& listenerMutex() {
    static std::mutex mutex;
    return mutex;
}

DeviceEventRelay::Listener& listener() {
    static DeviceEventRelay::Listener current;
    return current;
}

int32_t TALWYN_STDCALL onDeviceEvent(const uint8_t* code, const uint8_t* data, const int32_t* length) {
    if (code == nullptr) {
        return 1;
    }
    std::optional<uint8_t> first;
    if (data != nullptr && length != nullptr && *length >= 1) {
        first = data[0];
    }
    // Held while the listener runs, so a listener being replaced never runs
    // after setListener returned. Listeners only queue work.
    const std::lock_guard lock(listenerMutex());
    if (listener()) {
        listener()(*code, first);
    }
    return 1;
}

} // namespace

void DeviceEventRelay::setListener(Listener next) {
    const std::lock_guard lock(listenerMutex());
    listener() = std::move(next);
}

EventCallback DeviceEventRelay::callback() {
    return &onDeviceEvent;
}

} // namespace talwyn::app
