// Many applies through talwynctl against the simulated mouse with busy
// replies, transfer errors and unplugging thrown in between at random: every
// run ends, a failure says so with a non-zero exit and one clear line, and a
// success leaves exactly the applied image active in its slot.

#include "profiles/profile_file.h"
#include "sim_daemon_fixture.h"

#include <cstdlib>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace talwyn {
namespace {

namespace fs = std::filesystem;
using testing::hexOf;
using testing::lines;
using testing::readFile;

constexpr int kApplies = 200;
constexpr int kSlots = 5;
constexpr unsigned kDefaultSeed = 20261210;

enum class Trouble { None, Busy, RetryableErrors, FatalError, Unplugged };

// The control commands that bring a trouble about ("N" stands for the
// drawn count) and take back what a failed apply left of it, so it cannot
// reach the next apply.
struct TroubleCommands {
    std::string name;
    std::vector<std::string> start;
    std::vector<std::string> end;
};
const std::map<Trouble, TroubleCommands> kTroubles = {
    {Trouble::None, {"none", {}, {}}},
    {Trouble::Busy, {"busy", {"fault", "busy", "N"}, {"fault", "busy", "0"}}},
    {Trouble::RetryableErrors,
     {"retryable errors", {"fault", "error", "retryable", "N"}, {"fault", "error", "retryable", "0"}}},
    {Trouble::FatalError,
     {"fatal error", {"fault", "error", "fatal", "1"}, {"fault", "error", "fatal", "0"}}},
    {Trouble::Unplugged, {"unplugged", {"unplug"}, {"plug"}}},
};

struct ApplySoak : testing::SimDaemonTest {
    // Two profiles that give different images, so a slot that kept its old
    // image after a reported success shows.
    std::array<fs::path, 2> profiles{dir / "a.profile", dir / "b.profile"};
    // images[variant][slot - 1], as hex.
    std::array<std::array<std::string, kSlots>, 2> images;

    void SetUp() override {
        SimDaemonTest::SetUp();
        for (std::size_t variant = 0; variant < profiles.size(); ++variant) {
            ProfileData profile;
            profile.name = variant == 0 ? u"Soak A" : u"Soak B";
            profile.lightColors[0] = variant == 0 ? 0x0000FF : 0x00FF00;
            profile.dpi[0] = variant == 0 ? DpiLevel{800, 800} : DpiLevel{1600, 1600};
            ASSERT_TRUE(saveProfile(profiles[variant], profile));
            for (int slot = 1; slot <= kSlots; ++slot) {
                const fs::path file = dir / ("image" + std::to_string(variant) + std::to_string(slot));
                const Run image = run({bin + "/talwynctl", "profile", "image", profiles[variant].string(),
                                       "-o", file.string(), "--slot", std::to_string(slot)});
                ASSERT_EQ(image.code, 0) << image.err;
                images[variant][slot - 1] = hexOf(readFile(file));
            }
        }
        ASSERT_NE(images[0][0], images[1][0]);
    }

    static unsigned seed() {
        const char* text = std::getenv("TALWYN_SOAK_SEED");
        return text != nullptr ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : kDefaultSeed;
    }

    void send(std::vector<std::string> command, int count) {
        if (command.empty())
            return;
        for (std::string& word : command)
            word = word == "N" ? std::to_string(count) : word;
        control(command);
    }
};

TEST_F(ApplySoak, EveryApplyEndsWithTheTruthAboutTheSlot) {
    const unsigned soakSeed = seed();
    std::cout << "soak seed: " << soakSeed << " (TALWYN_SOAK_SEED repeats a run)\n";
    RecordProperty("seed", std::to_string(soakSeed));
    std::mt19937 random(soakSeed);
    std::discrete_distribution<int> troubles({4, 2, 2, 1, 1});
    std::uniform_int_distribution<int> slots(1, kSlots);
    std::uniform_int_distribution<int> counts(1, 8);
    std::array<int, kSlots> writes{};
    std::map<std::string, std::pair<int, int>> outcomes; // trouble -> successes, failures
    startDaemon();

    for (int i = 0; i < kApplies; ++i) {
        const auto trouble = static_cast<Trouble>(troubles(random));
        const int slot = slots(random);
        const int count = counts(random);
        const std::size_t variant = writes[slot - 1]++ % 2;
        const TroubleCommands& commands = kTroubles.at(trouble);
        SCOPED_TRACE("apply " + std::to_string(i) + ", slot " + std::to_string(slot) + ", trouble " +
                     commands.name + " " + std::to_string(count) + ", seed " + std::to_string(soakSeed));
        send(commands.start, count);

        const Run apply =
            run({bin + "/talwynctl", "apply", profiles[variant].string(), "--slot", std::to_string(slot)});
        ASSERT_NE(apply.code, -1) << "talwynctl crashed: " << apply.err;
        send(commands.end, count);
        auto& [successes, failures] = outcomes[commands.name];
        if (apply.code == 0) {
            ++successes;
            EXPECT_NE(trouble, Trouble::Unplugged) << "an apply without a mouse reported success";
            EXPECT_EQ(apply.err, "");
            const auto s = state();
            EXPECT_EQ(s["activeSlot"], slot - 1);
            // Compared whole: the 4 KiB hex texts would bury the trace.
            EXPECT_TRUE(s["images"][slot - 1] == images[variant][slot - 1])
                << "success reported, but the slot does not hold the applied image";
        } else {
            ++failures;
            EXPECT_NE(trouble, Trouble::None) << "an untroubled apply failed: " << apply.err;
            const auto errorLines = lines(apply.err);
            EXPECT_TRUE(apply.err.ends_with("\n") && errorLines.size() == 1 && !errorLines[0].empty())
                << "not one clear line: '" << apply.err << "'";
            if (trouble == Trouble::Unplugged) {
                EXPECT_EQ(apply.err, "Talwyn PRO mouse not found !\n");
            }
        }
    }

    int failed = 0;
    for (const auto& [trouble, counted] : outcomes) {
        std::cout << trouble << ": " << counted.first << " succeeded, " << counted.second << " failed\n";
        failed += counted.second;
    }
    // The troubles reached the mouse: some applies failed, and not all.
    EXPECT_GT(failed, 0);
    EXPECT_LT(failed, kApplies);
}

} // namespace
} // namespace talwyn
