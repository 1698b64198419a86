#include "macros/macro_recording.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace talwyn {

void PrintTo(const RecordedKey& r, std::ostream* out) {
    *out << "{" << r.code << ", " << int(r.flag) << ", " << r.delay << "}";
}

namespace {

constexpr uint8_t kA = 0x41;
constexpr uint8_t kB = 0x42;

// A key message at a tick count.
struct Timed {
    uint32_t time;
    uint8_t key;
    bool released;
};

// A held key repeats its press about every 30 ms, as the desktop sends it.
std::vector<Timed> heldKey(uint8_t key, uint32_t down, uint32_t up) {
    std::vector<Timed> keys;
    for (uint32_t t = down; t < up; t += 30) {
        keys.push_back({t, key, false});
    }
    keys.push_back({up, key, true});
    return keys;
}

std::vector<RecordedKey> record(MacroRecorder& recorder, const std::vector<Timed>& keys,
                                const RecordOptions& options) {
    std::vector<RecordedKey> recorded;
    for (const Timed& key : keys) {
        if (const auto event = recorder.onKeyMessage({key.key, key.released}, key.time, options)) {
            recorded.push_back(*event);
        }
    }
    return recorded;
}

TEST(MacroRecorder, KeyMessagesBecomeEventsAfterTimingAndFiltering) {
    struct Case {
        const char* name;
        RecordOptions options;
        uint32_t start;
        std::vector<Timed> keys;
        std::vector<RecordedKey> expected;
    };
    const RecordOptions delays{true, false};
    const RecordOptions hold{false, true};
    const RecordOptions none{false, false};
    const Case cases[] = {
        // The release's delay runs from the last repeat (2090), not from the press.
        {"held key", delays, 1000, heldKey(kA, 1100, 2105), {{kA, 0, 100}, {kA, 1, 15}}},
        {"press reported twice", delays, 0, {{50, kA, false}, {80, kA, false}}, {{kA, 0, 50}}},
        {"same key twice",
         delays,
         0,
         {{10, kA, false}, {20, kA, true}, {35, kA, false}, {60, kA, true}},
         {{kA, 0, 10}, {kA, 1, 10}, {kA, 0, 15}, {kA, 1, 25}}},
        {"hold drops releases",
         hold,
         0,
         {{150, kA, false}, {260, kA, true}, {400, kB, false}, {520, kB, true}},
         {{kA, 0, 0}, {kB, 0, 0}}},
        {"delay off", none, 0, {{150, kA, false}, {260, kA, true}}, {{kA, 0, 0}, {kA, 1, 0}}},
        // A dropped release still moves the time on: b's press is 40 ms after it.
        {"hold with delays",
         {true, true},
         0,
         {{100, kA, false}, {160, kA, true}, {200, kB, false}},
         {{kA, 0, 100}, {kB, 0, 40}}},
        {"tick counter wraps", delays, 0xFFFFFFF0u, {{0x10, kA, false}}, {{kA, 0, 0x20}}},
    };
    for (const Case& c : cases) {
        LastKeyMessage last;
        MacroRecorder recorder(last);
        recorder.start(c.start);
        EXPECT_EQ(record(recorder, c.keys, c.options), c.expected) << c.name;
    }
}

TEST(MacroRecorder, NothingIsRecordedWhileIdle) {
    LastKeyMessage last;
    MacroRecorder recorder(last);
    const RecordOptions delays{true, false};
    EXPECT_EQ(recorder.onKeyMessage({kA, false}, 10, delays), std::nullopt);
    recorder.start(100);
    EXPECT_EQ(recorder.onKeyMessage({kA, true}, 170, delays), (RecordedKey{kA, 1, 70}));
    recorder.stop();
    EXPECT_FALSE(recorder.recording());
    EXPECT_EQ(recorder.onKeyMessage({kB, false}, 200, delays), std::nullopt);
}

// The last key message outlives a recording: a key still held when the next
// recording starts repeats a press that was already recorded.
TEST(MacroRecorder, TheLastKeyMessageIsSharedAcrossRecordings) {
    LastKeyMessage last;
    const RecordOptions none{};
    MacroRecorder one(last);
    one.start(0);
    EXPECT_TRUE(one.onKeyMessage({kA, false}, 10, none));
    one.stop();
    MacroRecorder two(last);
    two.start(20);
    EXPECT_EQ(record(two, {{30, kA, false}, {40, kA, true}}, none), (std::vector<RecordedKey>{{kA, 1, 0}}));
}

} // namespace
} // namespace talwyn
