#include "macros/macro_recording.h"

namespace talwyn {

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

std::optional<RecordedKey> MacroRecorder::onKeyMessage(KeyMessage key, uint32_t now,
                                                       const RecordOptions& options) {
    if (!recording_) {
        return std::nullopt;
    }
    // Unsigned arithmetic keeps the difference right across the counter's wrap.
    const uint32_t elapsed = now - lastKeyTime_;
    lastKeyTime_ = now;
    if (!last_.takeNew(key) || (key.released && options.dropReleases)) {
        return std::nullopt;
    }
    return RecordedKey{key.virtualKey, key.released ? event_flag::kRelease : event_flag::kPress,
                       options.keepDelays ? static_cast<int32_t>(elapsed) : 0};
}

} // namespace talwyn
