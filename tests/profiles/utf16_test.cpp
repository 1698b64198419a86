#include "profiles/utf16.h"

#include <gtest/gtest.h>

namespace talwyn {
namespace {

TEST(Utf16, ConvertsValidTextBothWays) {
    const std::u16string text = u"Prof\u00e9 \u20ac \U0001F600";
    const std::string utf8 = "Prof\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80";
    EXPECT_EQ(toUtf8(text), utf8);
    EXPECT_EQ(fromUtf8(utf8), text);
    EXPECT_EQ(fromPath(toPath(text)), text);
}

TEST(Utf16, InvalidSequencesBecomeReplacementCharacters) {
    EXPECT_EQ(toUtf8(u"a\xD800"), "a\xEF\xBF\xBD");
    EXPECT_EQ(toUtf8(u"\xDC00z"), "\xEF\xBF\xBDz");
    const struct {
        std::string in;
        std::u16string out;
    } cases[] = {
        {"\xFF", u"\uFFFD"},
        {"\xC3", u"\uFFFD"},                               // cut short at the end
        {"\xE2\x82", u"\uFFFD\uFFFD"},                     // cut short, each byte replaced
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                     // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},           // encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // past U+10FFFF
    };
    for (const auto& c : cases)
        EXPECT_EQ(fromUtf8(c.in), c.out);
}

} // namespace
} // namespace talwyn
