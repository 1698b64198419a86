#include "macros/macro_library.h"

#include <gtest/gtest.h>

#include <limits>

namespace talwyn {
namespace {

constexpr int32_t kMaxId = std::numeric_limits<int32_t>::max();

CEventItem event(int32_t id, uint8_t type = event_type::kKey, int16_t code = 0x41) {
    CEventItem e;
    e.eventId = id;
    e.type = type;
    e.code = code;
    return e;
}

CMacro macroWithId(int32_t id, std::u16string name = u"m") {
    CMacro m;
    m.macroId = id;
    m.name = std::move(name);
    return m;
}

TEST(CMacro, NextEventIdFollowsTheLargest) {
    struct Case {
        std::vector<int32_t> ids;
        int32_t next;
    };
    const Case cases[] = {{{}, 1}, {{1, 5, 2}, 6}, {{-4}, 1}, {{kMaxId, 1, 2}, 3}};
    for (const Case& c : cases) {
        CMacro m;
        for (int32_t id : c.ids)
            m.events.push_back(event(id));
        EXPECT_EQ(m.nextEventId(), c.next) << ::testing::PrintToString(c.ids);
    }
}

TEST(MacroLibrary, NextMacroIdStartsAt16AndNeverWraps) {
    struct Case {
        std::vector<int32_t> ids;
        int32_t next;
    };
    const Case cases[] = {{{}, 16}, {{16, 40, 17}, 41}, {{3}, 16}, {{kMaxId, 16}, 17}};
    for (const Case& c : cases) {
        MacroLibrary library;
        for (int32_t id : c.ids)
            library.append(macroWithId(id));
        EXPECT_EQ(library.nextMacroId(), c.next) << ::testing::PrintToString(c.ids);
    }
}

TEST(MacroLibrary, MacrosKeepTheirAddressWhileTheListChanges) {
    MacroLibrary library;
    library.append(macroWithId(16, u"a"));
    CMacro& shown = library.append(macroWithId(17, u"b"));
    for (int32_t id = 18; id < 60; ++id)
        library.append(macroWithId(id));
    library.remove(0);
    library.remove(1000);
    EXPECT_EQ(&library.at(0), &shown);
    EXPECT_EQ(library.size(), 43u);
}

TEST(MacroLibrary, MakeProfileMacroCopiesAndStaysIndependent) {
    MacroLibrary library;
    CMacro& source = library.append(macroWithId(21, u"Combo"));
    CEventItem press = event(1, event_type::kKey, 0x41);
    press.delay = 30;
    press.rowRect = {1, 2, 3, 4};
    press.selected = 1;
    CEventItem wheel = event(2, event_type::kWheel, 151);
    wheel.flag = 0;
    wheel.delay = 7;
    source.events = {press, wheel};

    const std::optional<MacroData> copy = library.makeProfileMacro(21);
    ASSERT_TRUE(copy.has_value());
    const MacroData expected{u"Combo", 21, {{1, 0x41, 0, 30}, {17, 151, 0, 7}}};
    EXPECT_EQ(*copy, expected);

    source.events.clear();
    source.name = u"Changed";
    library.remove(0);
    EXPECT_EQ(*copy, expected);
    EXPECT_FALSE(library.makeProfileMacro(21).has_value());
}

TEST(MouseEventName, ByCodeAndFlagWhateverTheType) {
    struct Case {
        int16_t code;
        uint8_t flag;
        std::u16string_view name;
    };
    const Case cases[] = {
        {1, 0, u"Left button Down"},
        {1, 1, u"Left button Up"},
        {2, 0, u"Right button Down"},
        {2, 1, u"Right button Up"},
        {4, 0, u"Middle button Down"},
        {4, 1, u"Middle button Up"},
        {166, 0, u"Back button Down"},
        {166, 1, u"Back button Up"},
        {167, 0, u"Forward button Down"},
        {167, 1, u"Forward button Up"},
        {151, 0, u"Scroll wheel Up"},
        {152, 0, u"Scroll wheel Down"},
        {151, 7, u"Scroll wheel Up"},
        {1, 2, u""},
        {3, 0, u""},
        {0x41, 0, u""},
        {-1, 0, u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mouseEventName(c.code, c.flag), c.name) << c.code << ' ' << int(c.flag);
}

} // namespace
} // namespace talwyn
