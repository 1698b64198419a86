#include "macros/macro_recording.h"

#include <algorithm>
#include <iterator>

namespace talwyn {

namespace {

std::vector<CEventItem>::iterator firstSelected(std::vector<CEventItem>& events) {
    return std::find_if(events.begin(), events.end(),
                        [](const CEventItem& event) { return event.selected != 0; });
}

} // namespace

MacroRect eventRowRect(const CMacro& macro, size_t row) {
    const auto top = static_cast<int32_t>(row) * kEventRowHeight + 5;
    return {4, top, macro.viewRect.right - 2, top + kEventRowHeight};
}

size_t addEvent(CMacro& macro, uint8_t type, int16_t code, uint8_t flag, int32_t delay, InsertMode mode) {
    CEventItem item;
    item.eventId = macro.nextEventId();
    item.type = type;
    item.code = code;
    item.flag = flag;
    item.delay = delay;
    item.selected = 1;

    auto& events = macro.events;
    auto position = events.end();
    if (mode == InsertMode::AfterSelected) {
        const auto selected = firstSelected(events);
        position = selected != events.end() ? std::next(selected) : events.begin();
    }
    for (CEventItem& event : events) {
        event.selected = 0;
    }
    const auto index = static_cast<size_t>(std::distance(events.begin(), position));
    events.insert(position, item);
    for (size_t row = 0; row < events.size(); ++row) {
        events[row].rowRect = eventRowRect(macro, row);
    }
    return index;
}

void selectPreviousEvent(CMacro& macro) {
    auto& events = macro.events;
    const auto selected = firstSelected(events);
    if (selected == events.end()) {
        return;
    }
    selected->selected = 0;
    if (selected != events.begin()) {
        std::prev(selected)->selected = 1;
    }
}

bool LastKeyMessage::takeNew(KeyMessage key) {
    if (key == last_) {
        return false;
    }
    last_ = key;
    return true;
}

LastKeyMessage& processLastKeyMessage() {
    static LastKeyMessage last;
    return last;
}

void MacroRecorder::start(uint32_t now) {
    recording_ = true;
    lastKeyTime_ = now;
}

long MacroRecorder::onKeyMessage(KeyMessage key, uint32_t now, const RecordOptions& options, CMacro* shown) {
    if (!recording_) {
        return -1;
    }
    // Unsigned arithmetic keeps the difference right across the counter's wrap.
    const uint32_t elapsed = now - lastKeyTime_;
    lastKeyTime_ = now;
    if (!last_.takeNew(key) || (key.released && options.dropReleases) || shown == nullptr) {
        return -1;
    }
    const int32_t delay = options.keepDelays ? static_cast<int32_t>(elapsed) : 0;
    const uint8_t flag = key.released ? event_flag::kRelease : event_flag::kPress;
    return static_cast<long>(addEvent(*shown, event_type::kKey, key.virtualKey, flag, delay, insertMode_));
}

} // namespace talwyn
