#include "macros/macro_recording.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace talwyn {
namespace {

constexpr uint8_t kA = 0x41;
constexpr uint8_t kB = 0x42;

// A key message at a tick count.
struct Timed {
    uint32_t time;
    uint8_t key;
    bool released;
};

// What a recorded event comes down to: code, flag and delay.
struct Recorded {
    int16_t code;
    uint8_t flag;
    int32_t delay;

    bool operator==(const Recorded&) const = default;
};

void PrintTo(const Recorded& r, std::ostream* out) {
    *out << "{" << r.code << ", " << int(r.flag) << ", " << r.delay << "}";
}

CMacro emptyMacro() {
    CMacro macro;
    macro.viewRect = {0, 0, 199, 197};
    return macro;
}

std::vector<Recorded> recordedOf(const CMacro& macro) {
    std::vector<Recorded> out;
    for (const CEventItem& event : macro.events) {
        EXPECT_EQ(event.type, event_type::kKey);
        out.push_back({event.code, event.flag, event.delay});
    }
    return out;
}

// A held key repeats its press about every 30 ms, as the desktop sends it.
std::vector<Timed> heldKey(uint8_t key, uint32_t down, uint32_t up) {
    std::vector<Timed> keys;
    for (uint32_t t = down; t < up; t += 30) {
        keys.push_back({t, key, false});
    }
    keys.push_back({up, key, true});
    return keys;
}

TEST(MacroRecorder, KeyMessagesBecomeEventsAfterTimingAndFiltering) {
    struct Case {
        const char* name;
        RecordOptions options;
        uint32_t start;
        std::vector<Timed> keys;
        std::vector<Recorded> expected;
    };
    const RecordOptions delays{true, false};
    const RecordOptions hold{false, true};
    const RecordOptions none{false, false};
    const Case cases[] = {
        // The release's delay runs from the last repeat, not from the first press.
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
        CMacro macro = emptyMacro();
        recorder.start(c.start);
        for (const Timed& key : c.keys) {
            recorder.onKeyMessage({key.key, key.released}, key.time, c.options, &macro);
        }
        EXPECT_EQ(recordedOf(macro), c.expected) << c.name;
    }
}

TEST(MacroRecorder, KeysAreTimedButNotStoredWithoutAMacroOrWhenIdle) {
    LastKeyMessage last;
    MacroRecorder recorder(last);
    CMacro macro = emptyMacro();
    const RecordOptions delays{true, false};

    EXPECT_EQ(recorder.onKeyMessage({kA, false}, 10, delays, &macro), -1) << "idle";
    recorder.start(100);
    EXPECT_EQ(recorder.onKeyMessage({kA, false}, 130, delays, nullptr), -1);
    EXPECT_EQ(recorder.onKeyMessage({kA, true}, 170, delays, &macro), 0);
    recorder.stop();
    EXPECT_EQ(recorder.onKeyMessage({kB, false}, 200, delays, &macro), -1);
    EXPECT_EQ(recordedOf(macro), (std::vector<Recorded>{{kA, 1, 40}}));
}

// The last key message outlives a recording: a key still held when the next
// recording starts repeats a press that was already recorded.
TEST(MacroRecorder, TheLastKeyMessageIsSharedAcrossRecordings) {
    LastKeyMessage last;
    CMacro first = emptyMacro();
    CMacro second = emptyMacro();
    const RecordOptions none{};
    MacroRecorder one(last);
    one.start(0);
    one.onKeyMessage({kA, false}, 10, none, &first);
    one.stop();
    MacroRecorder two(last);
    two.start(20);
    two.onKeyMessage({kA, false}, 30, none, &second);
    two.onKeyMessage({kA, true}, 40, none, &second);
    EXPECT_EQ(recordedOf(first), (std::vector<Recorded>{{kA, 0, 0}}));
    EXPECT_EQ(recordedOf(second), (std::vector<Recorded>{{kA, 1, 0}}));
}

CMacro macroOfCodes(std::initializer_list<int16_t> codes, int selectedIndex) {
    CMacro macro = emptyMacro();
    for (int16_t code : codes) {
        addEvent(macro, event_type::kKey, code, event_flag::kPress, 0, InsertMode::Append);
    }
    for (size_t i = 0; i < macro.events.size(); ++i) {
        macro.events[i].selected = static_cast<int>(i) == selectedIndex ? 1 : 0;
    }
    return macro;
}

std::vector<int16_t> codesOf(const CMacro& macro) {
    std::vector<int16_t> codes;
    for (const CEventItem& event : macro.events) {
        codes.push_back(event.code);
    }
    return codes;
}

TEST(AddEvent, PlacesTheNewEventAsTheOnlySelectedOneAndLaysTheRowsOut) {
    struct Case {
        const char* name;
        std::initializer_list<int16_t> codes;
        int selected; // -1: none
        InsertMode mode;
        std::vector<int16_t> expected;
        size_t index;
    };
    const Case cases[] = {
        {"append", {1, 2, 3}, 0, InsertMode::Append, {1, 2, 3, 9}, 3},
        {"after the middle", {1, 2, 3}, 1, InsertMode::AfterSelected, {1, 2, 9, 3}, 2},
        {"after the last", {1, 2, 3}, 2, InsertMode::AfterSelected, {1, 2, 3, 9}, 3},
        {"none selected goes first", {1, 2, 3}, -1, InsertMode::AfterSelected, {9, 1, 2, 3}, 0},
        {"empty macro", {}, -1, InsertMode::AfterSelected, {9}, 0},
    };
    for (const Case& c : cases) {
        CMacro macro = macroOfCodes(c.codes, c.selected);
        EXPECT_EQ(addEvent(macro, event_type::kMouseButton, 9, event_flag::kRelease, 7, c.mode), c.index)
            << c.name;
        EXPECT_EQ(codesOf(macro), c.expected) << c.name;
        for (size_t row = 0; row < macro.events.size(); ++row) {
            const CEventItem& event = macro.events[row];
            EXPECT_EQ(event.selected, row == c.index ? 1 : 0) << c.name << " row " << row;
            const int32_t top = 18 * static_cast<int32_t>(row) + 5;
            EXPECT_EQ(event.rowRect, (MacroRect{4, top, 197, top + 18})) << c.name << " row " << row;
        }
        const CEventItem& added = macro.events[c.index];
        EXPECT_EQ(added.eventId, static_cast<int32_t>(c.codes.size()) + 1) << c.name;
        EXPECT_EQ(added.delay, 7) << c.name;
    }
}

// "Start record before event": the selection moves back one, so the keys land
// in front of the event that was selected, in the order they were typed.
TEST(AddEvent, RecordingBeforeTheSelectedEventKeepsTheTypedOrder) {
    struct Case {
        int selected;
        std::vector<int16_t> expected;
    };
    const Case cases[] = {{0, {kA, kB, 1, 2}}, {1, {1, kA, kB, 2}}, {-1, {kA, kB, 1, 2}}};
    for (const Case& c : cases) {
        LastKeyMessage last;
        MacroRecorder recorder(last);
        CMacro macro = macroOfCodes({1, 2}, c.selected);
        selectPreviousEvent(macro);
        recorder.insertAtSelection();
        recorder.start(0);
        recorder.onKeyMessage({kA, false}, 10, {false, true}, &macro);
        recorder.onKeyMessage({kB, false}, 20, {false, true}, &macro);
        EXPECT_EQ(codesOf(macro), c.expected) << "selected " << c.selected;
    }
}

} // namespace
} // namespace talwyn
