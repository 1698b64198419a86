// Applying a profile as one action: it succeeds only when the upload was
// taken and the activation confirmed, and a failure names its step and why.

#include "device/command_outcome.h"
#include "device/user_texts.h"
#include "sim/sim_backend.h"

#include <gtest/gtest.h>

#include <functional>

namespace talwyn::device {
namespace {

using namespace std::chrono_literals;

// Lets a case act on the mouse while the host waits out a pause.
struct HookSleeper final : hid::Sleeper {
    std::function<void(std::chrono::milliseconds)> onSleep;
    void sleep(std::chrono::milliseconds duration) override {
        if (onSleep)
            onSleep(duration);
    }
};

struct OutcomeFixture : ::testing::Test {
    sim::SimMouse mouse;
    sim::SimHidBackend backend{mouse};
    HookSleeper sleeper;
    DeviceLink link{backend, sleeper};
    ProfileData profile;

    void SetUp() override {
        profile.slotIndex = 2;
        profile.name = u"Applied";
        ASSERT_TRUE(EnsureLinkOpen(link).ok());
    }
};

TEST_F(OutcomeFixture, ApplySucceedsOnlyWhenUploadAndActivationBothDo) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        DeviceStep step;
        FailureReason reason;
        bool activationSent;
    };
    const Case cases[] = {
        {"clean", [] {}, DeviceStep::Activation, FailureReason::None, true},
        {"three retryable failures are retried away",
         [&] { mouse.injectFailures(hid::ErrorClass::Retryable, 3); }, DeviceStep::Activation,
         FailureReason::None, true},
        {"one fatal failure on the first upload report",
         [&] { mouse.injectFailures(hid::ErrorClass::Fatal, 1); }, DeviceStep::Upload,
         FailureReason::TransferError, false},
        {"four retryable failures on the first upload report",
         [&] { mouse.injectFailures(hid::ErrorClass::Retryable, 4); }, DeviceStep::Upload,
         FailureReason::TransferError, false},
        {"unplugged before the first upload status",
         [&] { sleeper.onSleep = [&](auto pause) { pause == 200ms ? mouse.unplug() : void(); }; },
         DeviceStep::Upload, FailureReason::TransferError, false},
        {"activation status cannot be fetched",
         [&] {
             sleeper.onSleep = [&](auto pause) {
                 if (pause == 1500ms)
                     mouse.injectFailures(hid::ErrorClass::Fatal, 1);
             };
         },
         DeviceStep::Activation, FailureReason::TransferError, true},
        {"activation answered busy", [&] { mouse.injectBusy(18); }, DeviceStep::Activation,
         FailureReason::Busy, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        link.close();
        mouse.plug();
        ASSERT_TRUE(EnsureLinkOpen(link).ok());
        ASSERT_EQ(ActivateProfile(link, 0), CommandStatus::Done);
        mouse.clearWireLog();
        c.arrange();
        const DeviceOutcome outcome = ApplyProfileImage(link, profile);
        sleeper.onSleep = nullptr;
        EXPECT_EQ(outcome.step, c.step);
        EXPECT_EQ(outcome.reason, c.reason);
        EXPECT_EQ(outcome.ok(), c.reason == FailureReason::None);
        // An activation sent but not confirmed may still have been carried out.
        EXPECT_EQ(mouse.snapshot().activeSlot, c.activationSent ? 2 : 0);
        bool activationSent = false;
        for (const auto& line : mouse.wireLog())
            activationSent = activationSent ||
                             (line.starts_with("set_feature ") && line.find(" a104") != std::string::npos);
        EXPECT_EQ(activationSent, c.activationSent) << "a failed upload is never activated";
    }
}

TEST_F(OutcomeFixture, RefusedActivationIsNotConfirmed) {
    const DeviceOutcome outcome = ApplyProfileImage(link, buildDeviceImage(profile), 7);
    EXPECT_EQ(outcome.step, DeviceStep::Activation);
    EXPECT_EQ(outcome.reason, FailureReason::NotConfirmed);
    EXPECT_EQ(outcome.status, protocol::kReplyFailed);
}

TEST_F(OutcomeFixture, AbsentMouseIsNotFound) {
    link.close();
    mouse.unplug();
    const DeviceOutcome outcome = EnsureLinkOpen(link);
    EXPECT_EQ(outcome.step, DeviceStep::Discovery);
    EXPECT_EQ(outcome.reason, FailureReason::NotFound);
    EXPECT_EQ(describe(outcome), "Talwyn PRO mouse not found !");
}

TEST(CommandOutcomeText, NamesTheStepAndTheReason) {
    struct Case {
        DeviceOutcome outcome;
        std::string text;
    };
    const Case cases[] = {
        {{DeviceStep::Upload, FailureReason::TransferError,
          hid::Result::failure(hid::ErrorClass::Fatal, ENODEV)},
         "uploading the profile failed: transfer error: No such device"},
        {{DeviceStep::Upload, FailureReason::TransferError,
          hid::Result::failure(hid::ErrorClass::Retryable, EPIPE)},
         "uploading the profile failed: transfer error: Broken pipe (retried)"},
        {{DeviceStep::Activation, FailureReason::Busy, hid::Result::success(0), 4},
         "activating the slot failed: the mouse is busy (status 4)"},
        {{DeviceStep::ActiveSlotRead, FailureReason::NotConfirmed, hid::Result::success(0), 2},
         "reading the active slot failed: not confirmed by the mouse (status 2)"},
        {{DeviceStep::Discovery, FailureReason::Busy,
          hid::Result::failure(hid::ErrorClass::Retryable, EBUSY)},
         "opening the mouse failed: the mouse is busy: Device or resource busy"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(describe(c.outcome), c.text);
}

// The window, the support page and the updater all show versions this way.
TEST(FirmwareVersionText, TwoDecimalsOfTheNumber) {
    const std::pair<int, const char*> cases[] = {{105, "1.05"}, {100, "1.00"}, {123, "1.23"},
                                                 {95, "0.95"},  {0, "0.00"},   {1234, "12.34"}};
    for (const auto& [number, text] : cases)
        EXPECT_EQ(firmwareVersionText(number), text) << number;
}

} // namespace
} // namespace talwyn::device
