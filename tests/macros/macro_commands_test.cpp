// talwynctl macros show, run as the built executable.

#include "macros/macro_files.h"
#include "support/run_tool.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace talwyn {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

class MacrosShow : public ::testing::Test {
protected:
    testing::ToolRun show(const fs::path& folder) const {
        return testing::runTool("talwynctl", {"macros", "show", folder.native()}, tmp.path());
    }

    // Jump: space pressed and released; "Gr\u00fcn": no events.
    fs::path savedLibrary() const {
        MacroLibrary library;
        library.append({{0, 0, 300, 400},
                        16,
                        u"Jump",
                        {{{0, 0, 300, 20}, 0, 1, 1, 0x20, 0, 0}, {{0, 20, 300, 40}, 1, 2, 1, 0x20, 1, 50}}});
        library.append({{1, 2, 3, 4}, 17, u"Gr\u00fcn", {}});
        const fs::path folder = tmp / "lib";
        EXPECT_TRUE(MacroFolder(folder).save(library));
        return folder;
    }

    testing::ScratchFolder tmp{"macros"};
};

TEST_F(MacrosShow, PrintsEveryMacroAndEvent) {
    const testing::ToolRun run = show(savedLibrary());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const Json expected = Json::parse(R"([
      {"macroId": 16, "name": "Jump", "viewRect": {"left": 0, "top": 0, "right": 300, "bottom": 400},
       "events": [
         {"type": 1, "code": 32, "flag": 0, "delay": 0,
          "rowRect": {"left": 0, "top": 0, "right": 300, "bottom": 20}, "selected": 0, "eventId": 1},
         {"type": 1, "code": 32, "flag": 1, "delay": 50,
          "rowRect": {"left": 0, "top": 20, "right": 300, "bottom": 40}, "selected": 1, "eventId": 2}]},
      {"macroId": 17, "name": "Gr\u00fcn", "viewRect": {"left": 1, "top": 2, "right": 3, "bottom": 4},
       "events": []}
    ])");
    EXPECT_EQ(Json::parse(run.out), expected);
}

TEST_F(MacrosShow, EmptyLibraryIsAnEmptyArray) {
    MacroLibrary empty;
    ASSERT_TRUE(MacroFolder(tmp / "empty").save(empty));
    const testing::ToolRun run = show(tmp / "empty");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Json::parse(run.out), Json::array());
}

TEST_F(MacrosShow, FailuresNameTheFileAndExit1) {
    const fs::path folder = savedLibrary();
    fs::resize_file(folder / "Jump.macro", 20);
    const testing::ToolRun damaged = show(folder);
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_EQ(damaged.err, (folder / "Jump.macro").native() + ": truncated or damaged data\n");
    EXPECT_EQ(Json::parse(damaged.out).size(), 1u) << "the rest of the library is still shown";

    fs::resize_file(folder / kMacroListFileName, 6);
    const testing::ToolRun shortList = show(folder);
    EXPECT_EQ(shortList.exitCode, 1);
    EXPECT_EQ(shortList.err, (folder / kMacroListFileName).native() + ": truncated or damaged data\n");
    EXPECT_EQ(shortList.out, "");

    const testing::ToolRun missing = show(tmp / "nowhere");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, (tmp / "nowhere" / kMacroListFileName).native() + ": missing or unreadable\n");
    EXPECT_EQ(missing.out, "");
}

} // namespace
} // namespace talwyn
