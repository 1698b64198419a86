#pragma once
// The mouse's own actions, as the device library reports them on its reader
// thread: which events the program acts on, and the hand-over of those events
// to the main window.

#include "talwyn_pro_dll.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace talwyn::app {

inline constexpr uint8_t kEventDpiLevel = 2;
inline constexpr int kDpiLevelCount = 5;
// What a level report out of range makes the profile's active level.
inline constexpr uint8_t kFallbackDpiLevel = 2;

// What one event changes: the profile's active level (1 to 5) and the level
// indicator to set (0 to 4), if any.
struct DpiLevelChange {
    uint8_t activeDpiLevel = 0;
    std::optional<int> indicator;
};

// Only the resolution-level event (code 2 with one data byte) changes anything.
std::optional<DpiLevelChange> interpretDeviceEvent(uint8_t code, std::optional<uint8_t> data);

// Carries events from the library's thread to whoever listens (the main
// window, which queues them for its own thread). The library's callback has
// no context pointer, so the listener is process-wide, as the library is.
class DeviceEventRelay {
public:
    using Listener = std::function<void(uint8_t code, std::optional<uint8_t> data)>;

    // Replaces the listener; empty detaches. Once this returns, the old
    // listener is not running and will not run again.
    static void setListener(Listener listener);
    // The callback handed to Capture_cb_data; always returns 1.
    static EventCallback callback();
};

} // namespace talwyn::app
