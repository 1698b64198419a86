#include "controls/macro_rows.h"
#include "widget_support.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace talwyn::controls {
namespace {

struct UniqueNameCase {
    const char* label;
    std::vector<std::u16string> existing;
    std::u16string typed;
    std::u16string expected;
};

class UniqueMacroNameTest : public ::testing::TestWithParam<UniqueNameCase> {};

TEST_P(UniqueMacroNameTest, CountsUpUntilNoRowHasTheName) {
    const UniqueNameCase& c = GetParam();
    const std::set<std::u16string> names(c.existing.begin(), c.existing.end());
    const auto taken = [&](std::u16string_view name) { return names.contains(std::u16string(name)); };
    EXPECT_EQ(uniqueMacroName(c.typed, taken), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, UniqueMacroNameTest,
    ::testing::Values(UniqueNameCase{"Free", {u"Jump"}, u"Fire", u"Fire"},
                      UniqueNameCase{"Second", {u"Fire"}, u"Fire", u"Fire(1)"},
                      UniqueNameCase{"Third", {u"Fire", u"Fire(1)"}, u"Fire", u"Fire(2)"},
                      UniqueNameCase{"CaseSensitive", {u"Fire"}, u"fire", u"fire"},
                      UniqueNameCase{"NumberedTyped", {u"Fire(1)", u"Fire(2)"}, u"Fire(1)", u"Fire(3)"},
                      UniqueNameCase{"NoDigits", {u"A(b"}, u"A(b", u"A(1)"},
                      UniqueNameCase{"FirstParenthesis", {u"A(2)(7)"}, u"A(2)(7)", u"A(3)"},
                      UniqueNameCase{"LeadingZeros", {u"Run(007)"}, u"Run(007)", u"Run(8)"},
                      // A number read at its limit cannot count up; the name as typed gets "(1)".
                      UniqueNameCase{
                          "StuckNumber", {u"X(2147483648)"}, u"X(2147483648)", u"X(2147483648)(1)"},
                      UniqueNameCase{"StuckFirstFree",
                                     {u"X(2147483648)", u"X(2147483648)(1)"},
                                     u"X(2147483648)",
                                     u"X(2147483648)(2)"}),
    testing::caseLabel<UniqueNameCase>);

TEST(ShortenedToFit, DropsAtMostFourCharacters) {
    const auto fitsIn = [](size_t width) {
        return [width](std::u16string_view text) { return text.size() <= width; };
    };
    EXPECT_EQ(shortenedToFit(u"Fireball", fitsIn(8)), u"Fireball");
    EXPECT_EQ(shortenedToFit(u"Fireball", fitsIn(6)), u"Fireba");
    EXPECT_EQ(shortenedToFit(u"Fireball", fitsIn(4)), u"Fire");
    EXPECT_EQ(shortenedToFit(u"Fireball", fitsIn(2)), u"Fire");
    EXPECT_EQ(shortenedToFit(u"Ab", fitsIn(0)), u"");
}

TEST(ListScroll, PositionsFromTheRowsThatFitScrollOthersShowTheTop) {
    // 198 pixels hold 11 rows.
    EXPECT_EQ(listScrollFor(11, 15, 198).kind, ListScroll::Kind::RowAtBottom);
    EXPECT_EQ(listScrollFor(11, 15, 198).bottom, 206);
    EXPECT_EQ(listScrollFor(14, 15, 198).bottom, 198);
    EXPECT_EQ(listScrollFor(0, 15, 198).kind, ListScroll::Kind::Top);
    EXPECT_EQ(listScrollFor(10, 15, 198).kind, ListScroll::Kind::Top);
    EXPECT_EQ(listScrollFor(15, 15, 198).kind, ListScroll::Kind::Ignore);
    EXPECT_EQ(listScrollFor(-1, 15, 198).kind, ListScroll::Kind::Ignore);
}

TEST(EditorScroll, LimitsThePositionToTheRowsBeyondTheView) {
    const MacroRect view{0, 0, 199, 197}; // 10 rows fit
    EXPECT_FALSE(editorScrollFor(3, 9, view));
    EXPECT_FALSE(editorScrollFor(0, 0, MacroRect{}));
    const auto top = editorScrollFor(0, 14, view);
    ASSERT_TRUE(top);
    EXPECT_EQ(top->row, 10);
    EXPECT_EQ(top->bottom, 217);
    const auto end = editorScrollFor(99, 14, view);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->row, 13);
    EXPECT_EQ(end->bottom, 197);
    // As many events as rows fit: the last row is the only scroll target.
    const auto exact = editorScrollFor(0, 10, view);
    ASSERT_TRUE(exact);
    EXPECT_EQ(exact->row, 9);
}

TEST(EditorScroll, ViewsFromFilesCannotOverflow) {
    const MacroRect hostile{0, std::numeric_limits<int32_t>::min(), 10, std::numeric_limits<int32_t>::max()};
    const auto scroll = editorScrollFor(5, 3, hostile);
    EXPECT_FALSE(scroll);
    const Box far = layoutRowRect(std::numeric_limits<int>::max(), std::numeric_limits<int32_t>::min());
    EXPECT_LE(far.top, far.bottom);
}

struct LookCase {
    const char* label;
    uint8_t type;
    int16_t code;
    uint8_t flag;
    int32_t delay;
    EventRowLook::Mark mark;
    std::u16string name;
    std::u16string delayText;
    int delayLeft;
};

class EventRowLookTest : public ::testing::TestWithParam<LookCase> {};

TEST_P(EventRowLookTest, ShowsMarkNameAndDelay) {
    const LookCase& c = GetParam();
    CEventItem event;
    event.type = c.type;
    event.code = c.code;
    event.flag = c.flag;
    event.delay = c.delay;
    const EventRowLook look = eventRowLook(event);
    EXPECT_EQ(look.mark, c.mark);
    EXPECT_EQ(look.name, c.name);
    EXPECT_EQ(look.delay, c.delayText);
    EXPECT_EQ(look.delayLeft, c.delayLeft);
    EXPECT_EQ(look.delayRight - look.delayLeft, 52);
}

using Mark = EventRowLook::Mark;
INSTANTIATE_TEST_SUITE_P(
    Events, EventRowLookTest,
    ::testing::Values(LookCase{"key_press", 1, 0x41, 0, 35, Mark::Press, u"A", u"35 ms", 122},
                      LookCase{"key_release", 1, 0x41, 1, 0, Mark::Release, u"A", u"0 ms", 122},
                      LookCase{"key_other_flag", 1, 0x41, 7, 2, Mark::None, u"A", u"2 ms", 122},
                      LookCase{"key_without_name", 1, 0x07, 0, 40, Mark::None, u"", u"40 ms", 2},
                      LookCase{"code_out_of_range", 1, -3, 1, 1, Mark::None, u"", u"1 ms", 2},
                      LookCase{"mouse_down", 16, 1, 0, 0, Mark::Dash, u"Left button Down", u"0 ms", 122},
                      LookCase{"back_up", 16, 166, 1, 0, Mark::Dash, u"Back button Up", u"0 ms", 122},
                      // Mouse names go by code and flag whatever the type.
                      LookCase{"key_coded_as_button", 1, 2, 1, 9, Mark::Dash, u"Right button Up", u"9 ms",
                               122},
                      LookCase{"wheel", 17, 151, 0, 0, Mark::Dash, u"Scroll wheel Up", u"0 ms", 122},
                      LookCase{"negative_delay", 1, 0x20, 0, -5, Mark::Press, u"SPACE", u"-5 ms", 122}),
    testing::caseLabel<LookCase>);

struct InsertCase {
    const char* label;
    std::vector<int32_t> selected; // selected flag of each existing event
    InsertMode mode;
    size_t expectedIndex;
};

class InsertEventTest : public ::testing::TestWithParam<InsertCase> {};

TEST_P(InsertEventTest, PlacesSelectsAndLaysOut) {
    const InsertCase& c = GetParam();
    CMacro macro;
    macro.viewRect = {0, 0, 199, 197};
    for (size_t i = 0; i < c.selected.size(); ++i) {
        CEventItem event;
        event.eventId = static_cast<int32_t>(i + 1);
        event.selected = c.selected[i];
        event.rowRect = {0, -500, 0, -480}; // stale rows are laid out afresh
        macro.events.push_back(event);
    }
    CEventItem added;
    added.eventId = 99;
    const size_t index = insertEvent(macro, added, c.mode);
    EXPECT_EQ(index, c.expectedIndex);
    ASSERT_EQ(macro.events.size(), c.selected.size() + 1);
    for (size_t k = 0; k < macro.events.size(); ++k) {
        EXPECT_EQ(macro.events[k].selected, k == index ? 1 : 0) << k;
        EXPECT_EQ(macro.events[k].rowRect,
                  (MacroRect{4, 18 * static_cast<int>(k) + 5, 197, 18 * static_cast<int>(k) + 23}));
    }
    EXPECT_EQ(macro.events[index].eventId, 99);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, InsertEventTest,
    ::testing::Values(InsertCase{"append_empty", {}, InsertMode::Append, 0},
                      InsertCase{"append", {0, 1, 0}, InsertMode::Append, 3},
                      InsertCase{"after_empty", {}, InsertMode::AfterSelection, 0},
                      InsertCase{"after_first_selected", {0, 1, 1}, InsertMode::AfterSelection, 2},
                      InsertCase{"after_last", {0, 0, 1}, InsertMode::AfterSelection, 3},
                      InsertCase{"front_without_selection", {0, 0}, InsertMode::AfterSelection, 0}),
    testing::caseLabel<InsertCase>);

} // namespace
} // namespace talwyn::controls
