// The program's one owner of the mouse: commands run whole and in order on
// its worker, whoever asks for them, and quitting never waits for the mouse.

#include "app/device_owner.h"
#include "hid/interruptible_sleeper.h"
#include "pages/popup_fixture.h"
#include "pages/sensor_surface_analysis.h"
#include "profiles/profile_file.h"
#include "shell_fixture.h"
#include "sim/sim_backend.h"
#include "support/fake_platform.h"
#include "support/recording_sleeper.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <iterator>
#include <thread>

namespace talwyn::app {
namespace {

using namespace std::chrono_literals;
using controls::ModalResult;
using pages::CPopDlg;
using pages::PopMode;
using pages::testing::clickControl;
using pages::testing::whenModal;
namespace popup_id = pages::popup_id;

// Returns at once from every pause but the first of `held` length, which
// holds its command until the test lets it go.
class HoldingSleeper final : public hid::Sleeper {
public:
    explicit HoldingSleeper(std::chrono::milliseconds held) : held_(held) {}

    void sleep(std::chrono::milliseconds duration) override {
        std::unique_lock lock(mutex_);
        if (duration != held_ || reached_) {
            return;
        }
        reached_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return released_; });
    }
    void awaitHold() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return reached_; });
    }
    void release() {
        {
            const std::lock_guard lock(mutex_);
            released_ = true;
        }
        changed_.notify_all();
    }

private:
    std::chrono::milliseconds held_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool reached_ = false;
    bool released_ = false;
};

// The reports of one command as the mouse saw them: a set-feature report
// starting with `prefix` and the status fetch that follows it.
std::vector<size_t> linesOf(const std::vector<std::string>& log, const std::string& prefix) {
    std::vector<size_t> found;
    for (size_t i = 0; i < log.size(); ++i) {
        const std::string& line = log[i];
        const auto hex = line.rfind(' ');
        if (line.starts_with("set_feature") && line.compare(hex + 1, prefix.size(), prefix) == 0) {
            found.push_back(i);
        }
    }
    return found;
}

struct DeviceOwnerTest : ::testing::Test {
    std::filesystem::path folder = testing::freshTestFolder();
    sim::SimMouse mouse;
    sim::SimHidBackend backend{mouse};
    platform::FakeMessageBoxes messages;
    DeviceLibrary library{folder / "absent"};

    ~DeviceOwnerTest() override { mouse.shutdown(); }
};

// An apply of fresh slots whose upload holds at its first pause until the test lets it go.
struct HeldApplyTest : DeviceOwnerTest {
    HoldingSleeper sleeper{200ms};
    device::DeviceLink link{backend, sleeper};
    DeviceOwner owner{link, library};
    ProfileSet profiles;
    QObject window;

    HeldApplyTest() { profiles.createSlots(); }
};

TEST_F(HeldApplyTest, AnAnalysisStartedDuringAnApplyWaitsForItAndTheirReportsDoNotMix) {
    // The upload's first pause holds the apply while the user confirms the analysis.
    std::optional<bool> applied;
    owner.apply(
        &window, profiles, [](int) {}, [&](const ApplyOutcome& outcome) { applied = outcome.mouseFound; });
    sleeper.awaitHold();

    const pages::PopupServices services{pages::testing::testSkins(), messages, nullptr, &owner};
    CPopDlg first(PopMode::SensorSqat1, services);
    whenModal<CPopDlg>(&first, &first, [&](CPopDlg& second) {
        EXPECT_EQ(second.mode(), PopMode::SensorSqat2);
        EXPECT_TRUE(applied.value_or(false)); // the apply's answer came first
        clickControl(second, popup_id::kClose);
    });
    whenModal<CPopDlg>(&first, nullptr, [&](CPopDlg& p) {
        clickControl(p, popup_id::kOk);
        sleeper.release();
    });
    EXPECT_EQ(first.runModal(), ModalResult::Cancel);
    EXPECT_TRUE(messages.shown().isEmpty());

    const auto log = mouse.wireLog();
    const auto uploads = linesOf(log, "a008");
    const auto activations = linesOf(log, "a104");
    const auto analyses = linesOf(log, "a10501");
    ASSERT_EQ(uploads.size(), 2u);
    ASSERT_EQ(activations.size(), 1u);
    ASSERT_EQ(analyses.size(), 1u);
    // Each command's reports follow one another, the analysis after the whole apply.
    EXPECT_LT(uploads.back(), activations.front());
    EXPECT_LT(activations.front() + 1, analyses.front());
    EXPECT_TRUE(log[activations.front() + 1].starts_with("get_feature"));
    EXPECT_TRUE(log[analyses.front() + 1].starts_with("get_feature"));
    EXPECT_EQ(analyses.front() + 2, log.size());
}

TEST_F(DeviceOwnerTest, TheSurfaceAnalysisReadsTheValueTheMouseMeasured) {
    hid::RecordingSleeper sleeper;
    device::DeviceLink link{backend, sleeper};
    DeviceOwner owner(link, library);
    pages::PopDlgSurfaceAnalysis analysis({pages::testing::testSkins(), messages, nullptr, &owner});
    std::vector<int> values;
    const auto read = [&] {
        QObject page;
        analysis.readValue(&page, [&](int value) { values.push_back(value); });
        owner.waitIdle();
        QCoreApplication::processEvents();
    };
    read(); // not opened yet: the request cannot be sent
    ASSERT_EQ(link.open(), 1);
    mouse.setSurfaceValue(93);
    read();
    EXPECT_EQ(values, (std::vector<int>{0, 93}));
}

// A real pause that first tells the test it has begun.
class AnnouncingSleeper final : public hid::Sleeper {
public:
    void sleep(std::chrono::milliseconds duration) override {
        {
            const std::lock_guard lock(mutex_);
            ++started_;
        }
        begun_.notify_all();
        pauses_.sleep(duration);
    }
    void awaitPause() {
        std::unique_lock lock(mutex_);
        begun_.wait(lock, [this] { return started_ > 0; });
    }
    void interrupt() { pauses_.interrupt(); }

private:
    hid::InterruptibleSleeper pauses_;
    std::mutex mutex_;
    std::condition_variable begun_;
    int started_ = 0;
};

// The mouse is not kept waiting for the disk: the upload is under way before
// any slot file is written, and the answer comes once all five are.
TEST_F(HeldApplyTest, AnApplySendsBeforeItWritesTheSlotFiles) {
    profiles.rename(4, u"Written");
    std::optional<ApplyOutcome> outcome;
    owner.apply(
        &window, profiles, [](int) {}, [&](const ApplyOutcome& got) { outcome = got; });

    sleeper.awaitHold(); // after the first half of the upload
    EXPECT_EQ(linesOf(mouse.wireLog(), "a008").size(), 1u);
    for (int i = 0; i < ProfileSet::kSlotCount; ++i) {
        EXPECT_FALSE(std::filesystem::exists(ProfileSet::slotFilePath(i))) << i;
    }
    sleeper.release();
    owner.waitIdle();
    QCoreApplication::processEvents();

    ASSERT_TRUE(outcome.has_value());
    EXPECT_TRUE(outcome->mouseFound);
    EXPECT_TRUE(outcome->unsavedSlots.empty());
    ProfileData stored;
    ASSERT_EQ(loadProfile(ProfileSet::slotFilePath(4), stored), ProfileLoad::Loaded);
    EXPECT_TRUE(stored.name == u"Written");
}

TEST_F(DeviceOwnerTest, QuittingStopsTheRunningApplyAtItsNextReportAndQueuedAppliesStillSaveTheirFiles) {
    AnnouncingSleeper sleeper;
    device::DeviceLink link{backend, sleeper};
    ProfileSet first;
    first.createSlots();
    ProfileSet second = first;
    second.rename(2, u"Queued");
    std::vector<std::string> answers;
    {
        QObject window;
        DeviceOwner owner(link, library, [&sleeper] { sleeper.interrupt(); });
        owner.apply(
            &window, first, [](int) {}, [&](const ApplyOutcome&) { answers.emplace_back("first"); });
        owner.apply(
            &window, second, [](int) {}, [&](const ApplyOutcome&) { answers.emplace_back("second"); });
        sleeper.awaitPause(); // after the first half of the upload
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(answers.empty()); // the window went before any answer could reach it

    // The report under way when quitting went whole; nothing followed it.
    const auto log = mouse.wireLog();
    ASSERT_EQ(linesOf(log, "a008").size(), 1u);
    EXPECT_EQ(linesOf(log, "a008").front() + 1, log.size());
    EXPECT_TRUE(linesOf(log, "a104").empty());

    // Every slot file is whole, the queued apply's are the last written, and no temporary file is left.
    for (int i = 0; i < ProfileSet::kSlotCount; ++i) {
        ProfileData stored;
        ASSERT_EQ(loadProfile(ProfileSet::slotFilePath(i), stored), ProfileLoad::Loaded) << i;
        EXPECT_TRUE(stored.name == second.slot(i).name) << i;
    }
    const auto files = std::filesystem::directory_iterator(ProfileSet::slotFilePath(0).parent_path());
    EXPECT_EQ(std::distance(begin(files), end(files)), ProfileSet::kSlotCount);
}

} // namespace
} // namespace talwyn::app
