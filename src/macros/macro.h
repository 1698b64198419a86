#pragma once
// A macro of the user's macro library: named, identified, an ordered list of
// key, mouse-button and wheel events with the rows the event editor shows.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace talwyn {

namespace event_type {
inline constexpr uint8_t kKey = 1;
inline constexpr uint8_t kMouseButton = 16;
inline constexpr uint8_t kWheel = 17;
} // namespace event_type

namespace event_flag {
inline constexpr uint8_t kPress = 0;
inline constexpr uint8_t kRelease = 1;
} // namespace event_flag

// Left, top, right, bottom in the event editor's client coordinates.
struct MacroRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool operator==(const MacroRect&) const = default;
};

struct CEventItem {
    MacroRect rowRect;
    int32_t selected = 0;
    int32_t eventId = 0;
    uint8_t type = 0;
    int16_t code = 0;
    uint8_t flag = 0;
    int32_t delay = 0; // milliseconds to wait before this event

    bool operator==(const CEventItem&) const = default;
};

struct CMacro {
    MacroRect viewRect; // the editor's client area when the macro was created
    int32_t macroId = 0;
    std::u16string name;
    std::vector<CEventItem> events;

    // One more than the largest eventId in the macro; 1 for the first event.
    int32_t nextEventId() const;

    bool operator==(const CMacro&) const = default;
};

// The editor's name of a mouse-button or wheel event, chosen by code and flag
// whatever the type; empty when the event has none and is shown as a key.
std::u16string_view mouseEventName(int16_t code, uint8_t flag);

} // namespace talwyn
