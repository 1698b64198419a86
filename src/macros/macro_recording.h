#pragma once
// Turning captured key presses and releases into key events of a macro:
// timing, the auto-repeat filter and the two recording options.

#include "macros/macro.h"

#include <cstdint>
#include <optional>

namespace talwyn {

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

// The one the whole program shares, so a key held across two recordings
// still counts once.
LastKeyMessage& processLastKeyMessage();

struct RecordOptions {
    bool keepDelays = false;   // "Record Delay": off stores 0 ms
    bool dropReleases = false; // "Record Hold"
};

// The key event a key message becomes.
struct RecordedKey {
    int16_t code = 0;
    uint8_t flag = event_flag::kPress;
    int32_t delay = 0; // milliseconds since the previous key message of any kind

    bool operator==(const RecordedKey&) const = default;
};

class MacroRecorder {
public:
    explicit MacroRecorder(LastKeyMessage& last = processLastKeyMessage()) : last_(last) {}

    bool recording() const { return recording_; }
    // `now` and every later time are milliseconds of a 32-bit tick counter.
    void start(uint32_t now);
    void stop() { recording_ = false; }

    // Times and filters one key message: the event to store, or none when
    // idle, for a repeat, or for a release that "Record Hold" drops. Every
    // message received while recording moves the time on, also those dropped.
    std::optional<RecordedKey> onKeyMessage(KeyMessage key, uint32_t now, const RecordOptions& options);

private:
    LastKeyMessage& last_;
    bool recording_ = false;
    uint32_t lastKeyTime_ = 0;
};

} // namespace talwyn
