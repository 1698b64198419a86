// Input capture against the simulated mouse: which reports reach the host
// and how, and that starting and stopping never leaves two readers on one
// device or a reader on a released one.

#include "callback_recorder.h"
#include "devlib/settings_commands.h"
#include "hid/interruptible_sleeper.h"
#include "sim_fixture.h"

#include <atomic>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>

namespace talwyn::devlib::testing {
namespace {

using namespace std::chrono_literals;

class DevlibCaptureTest : public SimLibraryTest {
protected:
    void SetUp() override { inputEvents().reset(); }
    void TearDown() override { inputEvents().reset(); }
    void send(std::initializer_list<uint8_t> head) {
        sim::InputReport report{};
        std::copy(head.begin(), head.end(), report.begin());
        mouse.sendInput(report);
    }
};

TEST_F(DevlibCaptureTest, SimpleEventsCarryTheirDataByte) {
    ASSERT_EQ(library.capture(recordInputEvent), kResultCaptureStarted);
    send({0x03, 0x07, 0x09});                   // unknown code: no call
    send({0x03, 0x02, 0x01, 0, 0, 0, 0, 0, 0}); // resolution level 1
    send({0x03, 0x05, 0xFE});
    ASSERT_TRUE(inputEvents().waitFor(2));
    library.closeDevice();
    const auto events = inputEvents().entries();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].code, 2);
    EXPECT_EQ(events[0].data, std::vector<uint8_t>{1});
    EXPECT_EQ(events[0].length, 1);
    EXPECT_EQ(events[1].code, 5);
    EXPECT_EQ(events[1].data, std::vector<uint8_t>{0xFE});
    // 80 ms after every report, the unknown one included.
    EXPECT_EQ(readerSleeper.pauses, (std::vector<std::chrono::milliseconds>{80ms, 80ms, 80ms}));
}

TEST_F(DevlibCaptureTest, LaunchEventReadsTheButtonDataBlock) {
    const std::string address = "https://example.org/help";
    LaunchSettings launch{1, 2, reinterpret_cast<const uint8_t*>(address.data()),
                          static_cast<uint16_t>(address.size())};
    ASSERT_EQ(setButtonLaunch(library.channel(), &launch, LaunchKind::Browser), kResultOk);
    ASSERT_EQ(library.capture(recordInputEvent), kResultCaptureStarted);
    mouse.clearWireLog();
    send({0x03, 0x23, 0x10, 0x00, 0x02, 0x01, 0, 0, 0});
    ASSERT_TRUE(inputEvents().waitFor(1));
    library.closeDevice();
    EXPECT_EQ(sentReports(), std::vector<std::string>{report({0xA1, 0x25, 0x02, 0, 0, 0x01, 0})});
    const auto event = inputEvents().entries().at(0);
    EXPECT_EQ(event.code, 35);
    EXPECT_EQ(event.length, 16);
    EXPECT_EQ(std::string(event.data.begin(), event.data.begin() + address.size()), address);
}

TEST_F(DevlibCaptureTest, LaunchEventStillArrivesWhenTheBlockCannotBeRead) {
    ASSERT_EQ(library.capture(recordInputEvent), kResultCaptureStarted);
    send({0x03, 0x24, 0x00, 0x01, 0x09, 0x01}); // button 9 does not exist
    ASSERT_TRUE(inputEvents().waitFor(1));
    library.closeDevice();
    const auto event = inputEvents().entries().at(0);
    EXPECT_EQ(event.code, 36);
    EXPECT_EQ(event.length, 256);
    EXPECT_EQ(event.data, std::vector<uint8_t>(1024, 0));
}

TEST_F(DevlibCaptureTest, LaunchLengthNeverExceedsTheDeliveredBlock) {
    ASSERT_EQ(library.capture(recordInputEvent), kResultCaptureStarted);
    send({0x03, 0x23, 0x00, 0x04, 0x01, 0x01}); // 1024: the whole block
    send({0x03, 0x24, 0x01, 0x04, 0x01, 0x01}); // 1025
    send({0x03, 0x23, 0xFF, 0xFF, 0x01, 0x01}); // 65535
    ASSERT_TRUE(inputEvents().waitFor(3));
    library.closeDevice();
    for (const auto& event : inputEvents().entries())
        EXPECT_EQ(event.length, 1024) << int{event.code};
}

TEST_F(DevlibCaptureTest, RefusesANullCallbackAndAMissingDevice) {
    EXPECT_EQ(library.capture(nullptr), kResultDeviceError);
    mouse.unplug();
    EXPECT_EQ(library.capture(recordInputEvent), kResultNoDevice);
    mouse.plug();
    EXPECT_EQ(library.capture(recordInputEvent), kResultCaptureStarted);
}

LibraryState* libraryToClose = nullptr;

int32_t TALWYN_STDCALL closeFromCallback(const uint8_t* code, const uint8_t* data, const int32_t* length) {
    recordInputEvent(code, data, length);
    libraryToClose->closeDevice(); // on the reader's own thread
    return 0;
}

TEST_F(DevlibCaptureTest, CloseDeviceFromInsideTheCallbackStopsTheReader) {
    libraryToClose = &library;
    ASSERT_EQ(library.capture(closeFromCallback), kResultCaptureStarted);
    send({0x03, 0x02, 0x01});
    ASSERT_TRUE(inputEvents().waitFor(1));
    // A new capture joins the stopped reader and reads alone.
    ASSERT_EQ(library.capture(recordInputEvent), kResultCaptureStarted);
    send({0x03, 0x02, 0x02});
    send({0x03, 0x02, 0x03});
    ASSERT_TRUE(inputEvents().waitFor(3));
    library.closeDevice();
    const auto events = inputEvents().entries();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[1].data[0], 2);
    EXPECT_EQ(events[2].data[0], 3);
}

TEST_F(DevlibCaptureTest, CapturingAgainReplacesTheRunningReader) {
    ASSERT_EQ(library.capture(recordInputEvent), kResultCaptureStarted);
    ASSERT_EQ(library.capture(recordInputEvent), kResultCaptureStarted);
    for (uint8_t level = 0; level < 5; ++level)
        send({0x03, 0x02, level});
    ASSERT_TRUE(inputEvents().waitFor(5));
    library.closeDevice();
    const auto events = inputEvents().entries();
    ASSERT_EQ(events.size(), 5u);
    for (uint8_t level = 0; level < 5; ++level)
        EXPECT_EQ(events[level].data[0], level) << "one reader, reports in order";
}

TEST_F(DevlibCaptureTest, StartsAndStopsWhileTheMouseSendsEvents) {
    std::atomic<bool> done{false};
    std::thread presser([&] {
        while (!done.load()) {
            mouse.pressDpi();
            std::this_thread::sleep_for(200us);
        }
    });
    for (int round = 0; round < 200; ++round) {
        ASSERT_EQ(library.capture(recordInputEvent), kResultCaptureStarted) << round;
        if (round % 2 == 0)
            std::this_thread::sleep_for(1ms);
        library.closeDevice();
    }
    done.store(true);
    presser.join();
    EXPECT_FALSE(inputEvents().entries().empty());
    for (const InputEvent& event : inputEvents().entries())
        EXPECT_EQ(event.code, 2);
}

// Delivers `reports` resolution reports, then waits until cancelled.
class BlockingInputDevice final : public InputDevice {
public:
    explicit BlockingInputDevice(int reports) : reportsLeft_(reports) {}
    hid::Result read(std::span<uint8_t> buffer) override {
        if (reportsLeft_ > 0) {
            --reportsLeft_;
            buffer[1] = 2;
            return hid::Result::success(buffer.size());
        }
        untilCancelled_.sleep(std::chrono::hours(24));
        return hid::Result::failure(hid::ErrorClass::Fatal, ECANCELED);
    }
    void cancel() override { untilCancelled_.interrupt(); }

private:
    int reportsLeft_; // the reader's thread alone uses it
    hid::InterruptibleSleeper untilCancelled_;
};

// Every pause lasts until the reader is stopped.
class UntilStoppedSleeper final : public hid::StoppableSleeper {
public:
    void sleep(std::chrono::milliseconds, std::stop_token stop) override {
        std::mutex mutex;
        std::condition_variable_any never;
        std::unique_lock lock(mutex);
        never.wait(lock, stop, [] { return false; });
    }
};

// A reader that ignored its stop would never be joined: the test would hang.
TEST(InputReaderStop, EndsAWaitingReadOrThePauseAfterAReport) {
    for (const int reports : {0, 1}) {
        SCOPED_TRACE(reports);
        UntilStoppedSleeper sleeper;
        std::promise<void> handled;
        auto reader = std::make_unique<InputReader>(
            std::make_unique<BlockingInputDevice>(reports),
            [&](const InputReader::Report& report) {
                EXPECT_EQ(report[1], 2);
                handled.set_value();
            },
            sleeper);
        if (reports > 0)
            handled.get_future().wait(); // the reader is in its pause, or about to be
        reader.reset();
    }
}

} // namespace
} // namespace talwyn::devlib::testing
