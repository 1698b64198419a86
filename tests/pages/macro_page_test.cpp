#include "pages/placeholder_pages.h"

#include "support/fake_platform.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

namespace talwyn::pages {
namespace {

namespace fs = std::filesystem;

MacroLibrary twoMacros() {
    MacroLibrary library;
    library.append({{}, 16, u"Jump", {{{}, 0, 1, 1, 0x20, 0, 0}}});
    library.append({{}, 17, u"Walk", {{{}, 0, 1, 1, 0x57, 0, 5}}});
    return library;
}

struct MacroPageTest : ::testing::Test {
    std::unique_ptr<PlaceholderMacroPage> openPage() {
        return std::make_unique<PlaceholderMacroPage>(QImage(8, 8, QImage::Format_ARGB32), folder, messages,
                                                      nullptr);
    }

    talwyn::testing::ScratchFolder tmp;
    fs::path folder = tmp / "Macros";
    platform::FakeMessageBoxes messages;
};

TEST_F(MacroPageTest, IntactOrMissingLibraryLoadsWithoutAWord) {
    EXPECT_TRUE(openPage()->macroLibrary().empty());
    MacroLibrary saved = twoMacros();
    ASSERT_TRUE(MacroFolder(folder).save(saved));
    EXPECT_EQ(openPage()->macroLibrary().size(), 2u);
    EXPECT_TRUE(messages.shown().isEmpty());
}

// A damaged library is reported once, and saving what loaded keeps the file
// that could not be read.
TEST_F(MacroPageTest, DamagedLibraryIsReportedOnceAndItsFilesSurviveTheSave) {
    MacroLibrary saved = twoMacros();
    ASSERT_TRUE(MacroFolder(folder).save(saved));
    fs::resize_file(folder / "macroList.dat", 10);
    fs::resize_file(folder / "Walk.macro", 30);

    auto page = openPage();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown().front().contains(QString::fromStdString(folder.string())));
    ASSERT_EQ(page->macroLibrary().size(), 1u);
    EXPECT_EQ(page->macroLibrary().at(0), saved.at(0));

    ASSERT_TRUE(page->saveMacroList());
    ASSERT_TRUE(page->saveMacroList());
    EXPECT_EQ(messages.shown().size(), 1) << "saving says nothing more";
    EXPECT_EQ(fs::file_size(folder / "Walk.macro"), 30u);
    MacroLibrary reloaded;
    EXPECT_FALSE(MacroFolder(folder).load(reloaded).incomplete());
    ASSERT_EQ(reloaded.size(), 1u);
    EXPECT_EQ(reloaded.at(0), saved.at(0));
}

} // namespace
} // namespace talwyn::pages
