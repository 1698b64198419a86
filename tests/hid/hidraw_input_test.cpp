// The hidraw input wait, with a datagram socket pair standing in for the node:
// like hidraw, it hands over one report per read and hangs up when its other
// end goes.

#include "hid/hidraw_input.h"
#include "hid/sleeper.h"

#include <gtest/gtest.h>

#include <sys/socket.h>

#include <array>
#include <future>

namespace talwyn::hid {
namespace {

class HidrawInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        int ends[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends), 0);
        input = std::make_unique<HidrawInput>(UniqueFd(ends[0]));
        mouse = UniqueFd(ends[1]);
    }
    void send(std::initializer_list<uint8_t> report) const {
        const std::vector<uint8_t> bytes(report);
        ASSERT_EQ(::send(mouse.get(), bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
    }

    std::unique_ptr<HidrawInput> input;
    UniqueFd mouse;
    std::array<uint8_t, 9> buffer{};
};

TEST_F(HidrawInputTest, DeliversFullAndShortReportsAndTimesOutWithoutOne) {
    EXPECT_EQ(input->read(buffer, 0).bytes, 0u);
    EXPECT_TRUE(input->read(buffer, 0).ok());

    send({3, 2, 1, 0, 0, 0, 0, 0, 0});
    Result got = input->read(buffer);
    ASSERT_TRUE(got.ok());
    EXPECT_EQ(got.bytes, 9u);
    EXPECT_EQ(buffer, (std::array<uint8_t, 9>{3, 2, 1, 0, 0, 0, 0, 0, 0}));

    buffer.fill(0);
    send({3, 5, 0xFE});
    got = input->read(buffer);
    ASSERT_TRUE(got.ok());
    EXPECT_EQ(got.bytes, 3u);
    EXPECT_EQ(buffer, (std::array<uint8_t, 9>{3, 5, 0xFE, 0, 0, 0, 0, 0, 0}));
}

TEST_F(HidrawInputTest, CancelWakesABlockedReadAndEndsEveryLaterOne) {
    auto blocked = std::async(std::launch::async, [&] { return input->read(buffer); });
    input->cancel();
    const Result woken = blocked.get();
    EXPECT_EQ(woken.error, ErrorClass::Fatal);
    EXPECT_EQ(woken.osError, ECANCELED);

    send({3, 2, 1}); // a report that comes later is not read any more
    EXPECT_EQ(input->read(buffer).osError, ECANCELED);
    EXPECT_EQ(buffer[0], 0);
}

TEST_F(HidrawInputTest, HangUpIsFatalEvenWithAReportLeft) {
    send({3, 2, 4});
    mouse.reset();
    for (int read = 0; read < 2; ++read) {
        const Result gone = input->read(buffer);
        EXPECT_EQ(gone.error, ErrorClass::Fatal);
        EXPECT_EQ(gone.osError, ENODEV);
    }
    EXPECT_EQ(buffer[0], 0);
}

TEST(HidrawInputOpen, AMissingNodeGivesNothing) {
    EXPECT_EQ(HidrawInput::open("/nonexistent/hidraw0"), nullptr);
}

TEST(ThreadStoppableSleeper, AStopEndsALongPause) {
    std::stop_source stop;
    ThreadStoppableSleeper sleeper;
    auto pause =
        std::async(std::launch::async, [&] { sleeper.sleep(std::chrono::hours(1), stop.get_token()); });
    stop.request_stop();
    pause.get(); // would hang for an hour if the stop did not end it
}

} // namespace
} // namespace talwyn::hid
