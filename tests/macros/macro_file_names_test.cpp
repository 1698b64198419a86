#include "macros/macro_file_names.h"

#include <gtest/gtest.h>

#include "profiles/utf16.h"

namespace talwyn {
namespace {

struct Named {
    std::u16string name;     // the macro's name before saving
    std::u16string file;     // the file name chosen
    std::u16string nameKept; // the macro's name afterwards
};

// Names each macro in order with one namer, as a save does.
void expectNames(const std::vector<Named>& sequence) {
    MacroFileNamer namer;
    for (const Named& n : sequence) {
        CMacro macro;
        macro.name = n.name;
        EXPECT_EQ(toUtf8(namer.fileNameFor(macro)), toUtf8(n.file)) << toUtf8(n.name);
        EXPECT_EQ(toUtf8(macro.name), toUtf8(n.nameKept)) << toUtf8(n.name);
    }
}

TEST(MacroFileNamer, PlainNamesAreUsedAsTheyAre) {
    expectNames({{u"Jump", u"Jump.macro", u"Jump"},
                 {u"Walk fast (2)", u"Walk fast (2).macro", u"Walk fast (2)"},
                 {u"\u00c4rger \U0001F600", u"\u00c4rger \U0001F600.macro", u"\u00c4rger \U0001F600"},
                 {u".hidden", u".hidden.macro", u".hidden"}});
}

TEST(MacroFileNamer, CollidingNamesGetOnesAppendedAndTheMacroIsRenamed) {
    expectNames({{u"Fire", u"Fire.macro", u"Fire"},
                 {u"fire", u"fire1.macro", u"fire1"},
                 {u"FIRE", u"FIRE11.macro", u"FIRE11"},
                 {u"Fire1", u"Fire111.macro", u"Fire111"}});
}

TEST(MacroFileNamer, UnsafeNamesGetASafeUniqueFileAndKeepTheirName) {
    expectNames({
        {u"../evil", u".._evil.macro", u"../evil"},
        {u"a/b", u"a_b.macro", u"a/b"},
        {u"a\\b", u"a_b_2.macro", u"a\\b"},
        {u"", u"_.macro", u""},
        {u".", u"__2.macro", u"."},
        {u"..", u"__.macro", u".."},
        {u"C:x<>|?*\"", u"C_x______.macro", u"C:x<>|?*\""},
        {u"tab\there\x7f", u"tab_here_.macro", u"tab\there\x7f"},
        {u"half\xD800 pair", u"half_ pair.macro", u"half\xD800 pair"},
        {u"a_b", u"a_b1.macro", u"a_b1"},
    });
}

TEST(MacroFileNamer, OverlongNamesAreCutToAFileNameTheSystemTakes) {
    MacroFileNamer namer;
    CMacro first;
    first.name = std::u16string(300, u'\u00e9'); // 600 bytes as a file name
    CMacro second = first;
    const std::string firstFile = toUtf8(namer.fileNameFor(first));
    const std::string secondFile = toUtf8(namer.fileNameFor(second));
    EXPECT_LE(firstFile.size() + 4, 255u) << "room for the temporary file's suffix";
    EXPECT_LE(secondFile.size() + 4, 255u);
    EXPECT_NE(firstFile, secondFile);
    EXPECT_EQ(first.name, std::u16string(300, u'\u00e9'));
    EXPECT_EQ(second.name, first.name);
}

TEST(IsPortableFileStem, RejectsWhatCannotBeAFileName) {
    for (std::u16string_view ok : {u"Jump", u"a.b", u"...", u" x "})
        EXPECT_TRUE(isPortableFileStem(ok)) << toUtf8(ok);
    for (std::u16string_view bad : {u"", u".", u"..", u"a/b", u"a\\b", u"a:b", u"a\nb", u"\xDC00"})
        EXPECT_FALSE(isPortableFileStem(bad)) << toUtf8(bad);
    EXPECT_FALSE(isPortableFileStem(std::u16string(246, u'x')));
    EXPECT_TRUE(isPortableFileStem(std::u16string(245, u'x')));
}

} // namespace
} // namespace talwyn
