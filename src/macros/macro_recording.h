#pragma once
// Turning captured key presses and releases into events of the macro the
// editor shows: timing, the auto-repeat filter and the two recording options.

#include "macros/macro.h"

#include <cstddef>
#include <cstdint>

namespace talwyn {

// Where a new event goes.
enum class InsertMode {
    Append = 0,        // at the end, as the only selected event
    AfterSelected = 1, // after the first selected event; at the front when none is selected
};

// Row geometry of the event editor: rows 18 pixels apart inside the macro's view.
inline constexpr int32_t kEventRowHeight = 18;
MacroRect eventRowRect(const CMacro& macro, size_t row);

// Adds a new, selected event to `macro` and lays its rows out again; returns
// the new event's index.
size_t addEvent(CMacro& macro, uint8_t type, int16_t code, uint8_t flag, int32_t delay, InsertMode mode);

// Moves the selection to the event before the first selected one; none is
// selected when that was the first, so recording after it inserts at the front.
void selectPreviousEvent(CMacro& macro);

// A captured key message: virtual-key code and whether it is a release.
struct KeyMessage {
    uint8_t virtualKey = 0;
    bool released = false;

    bool operator==(const KeyMessage&) const = default;
};

// The previous key message seen by any recording: a held key repeats its
// press, and only the first of a run of equal messages counts.
class LastKeyMessage {
public:
    // Remembers `key`; false when it repeats the previous message.
    bool takeNew(KeyMessage key);

private:
    KeyMessage last_;
};

// The one the whole program shares, so a key held across two recordings still
// counts once.
LastKeyMessage& processLastKeyMessage();

struct RecordOptions {
    bool keepDelays = false;   // "Record Delay": off stores 0 ms
    bool dropReleases = false; // "Record Hold"
};

class MacroRecorder {
public:
    explicit MacroRecorder(LastKeyMessage& last = processLastKeyMessage()) : last_(last) {}

    bool recording() const { return recording_; }
    InsertMode insertMode() const { return insertMode_; }
    // Recording from the editor's menu inserts at the selection from then on.
    void insertAtSelection() { insertMode_ = InsertMode::AfterSelected; }

    // `now` and every later time are milliseconds of a 32-bit tick counter.
    void start(uint32_t now);
    void stop() { recording_ = false; }

    // Times and filters one key message and adds it to `shown` (none: nothing
    // is stored). Returns the index of the added event, or -1.
    long onKeyMessage(KeyMessage key, uint32_t now, const RecordOptions& options, CMacro* shown);

private:
    LastKeyMessage& last_;
    bool recording_ = false;
    uint32_t lastKeyTime_ = 0;
    InsertMode insertMode_ = InsertMode::Append;
};

} // namespace talwyn
