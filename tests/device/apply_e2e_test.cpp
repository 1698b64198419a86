// talwynctl against the simulated mouse running as its own process.

#include "device/device_image.h"
#include "profiles/profile_file.h"
#include "sim_daemon_fixture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <csignal>

namespace talwyn {
namespace {

namespace fs = std::filesystem;
using testing::lines;
using testing::readFile;

struct ApplyEndToEnd : testing::SimDaemonTest {
    fs::path profileFile = dir / "e2e.profile";

    void SetUp() override {
        SimDaemonTest::SetUp();
        ProfileData profile;
        profile.name = u"E2E";
        profile.buttons[1].function = function_code::kMacro;
        profile.buttons[1].param = 5;
        profile.macros[1] = {u"m", 5, {{1, 0x41, 0, 10}, {1, 0x41, 1, 0}}};
        ASSERT_TRUE(saveProfile(profileFile, profile));
    }
};

TEST_F(ApplyEndToEnd, ApplyUploadsTheImageAndActivatesTheSlot) {
    startDaemon();
    const Run image = run({bin + "/talwynctl", "profile", "image", profileFile.string(), "-o",
                           (dir / "e2e.img").string(), "--slot", "3"});
    ASSERT_EQ(image.code, 0) << image.err;
    const std::string imageBytes = readFile(dir / "e2e.img");
    ASSERT_EQ(imageBytes.size(), protocol::kProfileImageSize);
    EXPECT_EQ(imageBytes[0], 2);

    const Run apply = run({bin + "/talwynctl", "apply", profileFile.string(), "--slot", "3"});
    ASSERT_EQ(apply.code, 0) << apply.err;

    const auto s = state();
    EXPECT_EQ(s["activeSlot"], 2);
    EXPECT_EQ(s["present"], true);
    const std::string hex = testing::hexOf(imageBytes);
    EXPECT_EQ(s["images"][2], hex);

    const Run active = run({bin + "/talwynctl", "active"});
    EXPECT_EQ(active.code, 0) << active.err;
    EXPECT_EQ(active.out, "3\n");

    daemon->signal(SIGTERM);
    EXPECT_EQ(daemon->wait(), 0);
    EXPECT_FALSE(fs::exists(socket));

    // Upload part 0, part 1, activation of slot 2, then the active-slot read;
    // each followed by the status read.
    const auto wire = lines(readFile(log));
    ASSERT_EQ(wire.size(), 8u) << readFile(log);
    const std::string config = "\\\\?\\HID#VID_22D4&PID_1329&MI_01&Col01#";
    const std::string zeros(124, '0');
    const std::vector<std::string> sentTails = {
        "a0080000000200" + std::string(18, '0') + hex.substr(0, 2048) + "00",
        "a0080000000201" + std::string(18, '0') + hex.substr(2048) + "00",
        "a10400000002" + std::string(116, '0'),
        "a103" + zeros,
    };
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(wire[2 * i].starts_with("set_feature " + config)) << wire[2 * i];
        EXPECT_TRUE(wire[2 * i].ends_with(" " + sentTails[i])) << i;
        EXPECT_TRUE(wire[2 * i + 1].starts_with("get_feature " + config)) << wire[2 * i + 1];
        EXPECT_EQ(wire[2 * i + 1].substr(wire[2 * i + 1].rfind(' ') + 1, 4), "a101");
    }
}

TEST_F(ApplyEndToEnd, AbsentMouseIsReportedAndNothingChanges) {
    startDaemon({"--absent"});
    const Run apply = run({bin + "/talwynctl", "apply", profileFile.string(), "--slot", "2"});
    EXPECT_EQ(apply.code, 1);
    EXPECT_EQ(apply.err, "Talwyn PRO mouse not found !\n");
    const Run active = run({bin + "/talwynctl", "active"});
    EXPECT_EQ(active.code, 1);
    EXPECT_EQ(state()["activeSlot"], 0);
    EXPECT_EQ(readFile(log), "");
}

TEST_F(ApplyEndToEnd, FailedStepsAreNamedAndFailTheApply) {
    startDaemon();
    const std::string ctl = bin + "/talwyn-mouse-sim";
    const auto before = state();
    struct Case {
        std::vector<std::string> fault;
        std::string message;
        bool uploaded;
    };
    const Case cases[] = {
        {{"fault", "error", "fatal", "1"},
         "uploading the profile failed: transfer error: No such device\n",
         false},
        {{"fault", "error", "retryable", "4"},
         "uploading the profile failed: transfer error: Broken pipe (retried)\n",
         false},
        // The two upload status reads take twelve busy answers; the activation's
        // read gets the other six and the mouse never says done.
        {{"fault", "busy", "18"}, "activating the slot failed: the mouse is busy (status 3)\n", true},
    };
    auto activations = [&] {
        const auto wire = lines(readFile(log));
        return std::count_if(wire.begin(), wire.end(), [](const std::string& line) {
            return line.starts_with("set_feature ") &&
                   line.ends_with(" a10400000002" + std::string(116, '0'));
        });
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault[1] + " " + c.fault.back());
        const auto activationsBefore = activations();
        std::vector<std::string> fault = {ctl, "ctl", "--socket", socket.string()};
        fault.insert(fault.end(), c.fault.begin(), c.fault.end());
        ASSERT_EQ(run(fault).code, 0);
        const Run apply = run({bin + "/talwynctl", "apply", profileFile.string(), "--slot", "3"});
        EXPECT_EQ(apply.code, 1);
        EXPECT_EQ(apply.err, c.message);
        const auto after = state();
        // The mouse carries out an activation it then fails to confirm.
        EXPECT_EQ(after["activeSlot"], c.uploaded ? 2 : 0);
        EXPECT_EQ(after["images"][2] != before["images"][2], c.uploaded);
        // A failed upload is never followed by the activation.
        EXPECT_EQ(activations() - activationsBefore, c.uploaded ? 1 : 0);
    }

    ASSERT_EQ(run({ctl, "ctl", "--socket", socket.string(), "fault", "busy", "6"}).code, 0);
    const Run active = run({bin + "/talwynctl", "active"});
    EXPECT_EQ(active.code, 1);
    EXPECT_EQ(active.err, "reading the active slot failed: the mouse is busy (status 3)\n");
}

TEST_F(ApplyEndToEnd, NonUtf8ControlCommandLeavesTheDaemonServing) {
    startDaemon();
    const Run bad = run({bin + "/talwyn-mouse-sim", "ctl", "--socket", socket.string(), "\xFF"});
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(nlohmann::json::parse(bad.out).contains("error")) << bad.out;
    EXPECT_EQ(state()["present"], true);
}

TEST_F(ApplyEndToEnd, UnreadableProfileFailsBeforeTouchingTheMouse) {
    startDaemon();
    std::ofstream(dir / "bad.profile") << "not a profile";
    const Run apply = run({bin + "/talwynctl", "apply", (dir / "bad.profile").string(), "--slot", "1"});
    EXPECT_EQ(apply.code, 1);
    EXPECT_TRUE(apply.err.starts_with((dir / "bad.profile").string() + ": ")) << apply.err;
    const Run badSlot = run({bin + "/talwynctl", "apply", profileFile.string(), "--slot", "6"});
    EXPECT_NE(badSlot.code, 0);
    EXPECT_EQ(readFile(log), "");
}

TEST_F(ApplyEndToEnd, ImageWithoutSlotWarnsAboutMacroEventsThatDoNotFit) {
    ProfileData heavy;
    for (int b = 0; b < 6; ++b) {
        heavy.buttons[b].function = function_code::kMacro;
        heavy.buttons[b].param = static_cast<int16_t>(b + 1);
        heavy.macros[b] = {u"m", b + 1, std::vector<CMacroEvent>(128, {1, 0x41, 1, 1})};
    }
    heavy.slotIndex = 3; // not stored in the file: the image says slot 0
    ASSERT_TRUE(saveProfile(dir / "heavy.profile", heavy));
    const fs::path out = dir / "heavy.img";
    const Run image =
        run({bin + "/talwynctl", "profile", "image", (dir / "heavy.profile").string(), "-o", out.string()});
    EXPECT_EQ(image.code, 0) << image.err;
    EXPECT_EQ(image.err, "592 macro events did not fit the device image and were left out\n");
    const std::string bytes = readFile(out);
    ASSERT_EQ(bytes.size(), protocol::kProfileImageSize);
    EXPECT_EQ(bytes[0], 0);

    const Run unwritable = run({bin + "/talwynctl", "profile", "image", profileFile.string(), "-o",
                                (dir / "missing" / "x.img").string()});
    EXPECT_EQ(unwritable.code, 1);
    EXPECT_EQ(unwritable.err, (dir / "missing" / "x.img").string() + ": cannot be written\n");
}

} // namespace
} // namespace talwyn
