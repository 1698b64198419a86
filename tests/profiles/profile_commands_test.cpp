// talwynctl's profile commands, run as the built executable.

#include "profiles/profile_file.h"
#include "support/run_tool.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace talwyn {
namespace {

namespace fs = std::filesystem;

class ProfileCommands : public ::testing::Test {
protected:
    testing::ToolRun talwynctl(const std::vector<std::string>& args) const {
        return testing::runTool("talwynctl", args, tmp.path());
    }

    std::string file(const std::string& name) const { return (tmp / name).native(); }

    testing::ScratchFolder tmp{"profiles"};
};

ProfileData sample() {
    ProfileData p;
    p.name = u"Gr\u00fcn \U0001F3AF";
    p.lightColors[3] = 0xFFFFFFFF;
    p.buttons[4] = {4, 14, 7, 4, 0};
    p.macros[4] = {u"combo", 7, {{1, 0x41, 0, 10}, {1, 0x41, 1, 0}}};
    return p;
}

TEST_F(ProfileCommands, NewWritesAFreshRecord) {
    const testing::ToolRun run = talwynctl({"profile", "new", file("sub/new.profile")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    ASSERT_TRUE(saveProfile(tmp / "expected.profile", ProfileData{}));
    EXPECT_EQ(testing::readBytes(tmp / "sub/new.profile"), testing::readBytes(tmp / "expected.profile"));
}

TEST_F(ProfileCommands, ShowPrintsEveryStoredFieldAsJson) {
    ASSERT_TRUE(saveProfile(tmp / "in.profile", sample()));
    const testing::ToolRun run = talwynctl({"profile", "show", file("in.profile")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto json = nlohmann::ordered_json::parse(run.out);

    std::vector<std::string> keys;
    for (const auto& item : json.items())
        keys.push_back(item.key());
    const std::vector<std::string> expectedKeys = {"name",
                                                   "enabled",
                                                   "reservedA",
                                                   "reportInterval",
                                                   "doubleClickSpeed",
                                                   "scrollLines",
                                                   "scrollByLine",
                                                   "scrollByPage",
                                                   "accelEnabled",
                                                   "dpiEntryFlag",
                                                   "reservedB",
                                                   "dpiLevelCount",
                                                   "activeDpiLevel",
                                                   "dpi",
                                                   "pointerSpeed",
                                                   "rippleOff",
                                                   "angleSnapOff",
                                                   "liftOff",
                                                   "surfaceQuality",
                                                   "lightColors",
                                                   "lightBrightness",
                                                   "lightZones",
                                                   "lightEffect",
                                                   "reservedC",
                                                   "reservedD",
                                                   "reservedE",
                                                   "pickerColor",
                                                   "buttons",
                                                   "macros"};
    EXPECT_EQ(keys, expectedKeys);

    EXPECT_EQ(json["name"], "Gr\xC3\xBCn \xF0\x9F\x8E\xAF");
    EXPECT_EQ(json["reservedA"], 179);
    EXPECT_EQ(json["dpi"][4], (nlohmann::ordered_json{{"x", 19000}, {"y", 19000}}));
    EXPECT_EQ(json["lightColors"], (nlohmann::ordered_json{16776960, 16776960, 16776960, 4294967295u}));
    EXPECT_EQ(json["pickerColor"], 255);
    EXPECT_EQ(json["buttons"].size(), 9u);
    EXPECT_EQ(
        json["buttons"][4],
        (nlohmann::ordered_json{{"buttonIndex", 4}, {"function", 14}, {"param", 7}, {"defaultFunction", 4}}));
    EXPECT_EQ(json["macros"].size(), 9u);
    EXPECT_EQ(json["macros"][4]["name"], "combo");
    EXPECT_EQ(json["macros"][4]["macroId"], 7);
    EXPECT_EQ(json["macros"][4]["events"][1],
              (nlohmann::ordered_json{{"type", 1}, {"code", 65}, {"flag", 1}, {"delay", 0}}));
    EXPECT_EQ(json["macros"][0]["events"], nlohmann::ordered_json::array());
}

TEST_F(ProfileCommands, CopyIsByteIdentical) {
    ASSERT_TRUE(saveProfile(tmp / "in.profile", sample()));
    const testing::ToolRun run = talwynctl({"profile", "copy", file("in.profile"), file("out.profile")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(testing::readBytes(tmp / "out.profile"), testing::readBytes(tmp / "in.profile"));
}

TEST_F(ProfileCommands, FailuresNameTheFileAndTheReason) {
    ASSERT_TRUE(saveProfile(tmp / "good.profile", sample()));
    auto good = testing::readBytes(tmp / "good.profile");
    testing::writeBytes(tmp / "short.profile", {good.begin(), good.end() - 3});
    testing::writeBytes(tmp / "foreign.profile", {'M', 'Z', 0, 0, 0});
    fs::create_directory(tmp / "folder.profile");
    const std::string blocked = file("good.profile") + "/below.profile"; // a file is in the way

    const struct {
        std::vector<std::string> args;
        std::string subject;
        std::string reason;
    } cases[] = {
        {{"profile", "show", file("missing.profile")}, file("missing.profile"), "cannot open file"},
        {{"profile", "show", file("short.profile")}, file("short.profile"), "truncated or corrupt data"},
        {{"profile", "show", file("foreign.profile")},
         file("foreign.profile"),
         "wrong magic, not a profile file"},
        {{"profile", "copy", file("short.profile"), file("copy.profile")},
         file("short.profile"),
         "truncated or corrupt data"},
        {{"profile", "copy", file("good.profile"), file("folder.profile")},
         file("folder.profile"),
         "cannot write file"},
        {{"profile", "new", blocked}, blocked, "cannot write file"},
    };
    for (const auto& c : cases) {
        const testing::ToolRun run = talwynctl(c.args);
        EXPECT_EQ(run.exitCode, 1) << c.subject;
        EXPECT_EQ(run.err, c.subject + ": " + c.reason + "\n");
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(fs::exists(tmp / "copy.profile")) << "nothing written after a failed load";
    EXPECT_TRUE(fs::is_directory(tmp / "folder.profile"));
}

} // namespace
} // namespace talwyn
