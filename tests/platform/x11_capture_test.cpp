// System-wide key capture and click watch against a private Xvfb server, fed
// with XTest input as if a user typed and clicked in another program.

#include "platform/x11_click_watch.h"
#include "platform/x11_key_capture.h"
#include "platform/x11_keymap.h"

#include "key_log.h"
#include "support/xtest_input.h"
#include "support/xvfb_server.h"

#include <QTest>

#include <X11/keysym.h>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

namespace talwyn::platform {
namespace {

using testing::KeyLog;
using testing::KeyMessage;
using testing::pressed;
using testing::released;

constexpr int kWaitMs = 5000;
// A display number nothing serves.
constexpr char kNoDisplay[] = ":4095";

class X11CaptureTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = std::make_unique<testing::XvfbServer>(); }
    static void TearDownTestSuite() { server_.reset(); }

    void SetUp() override {
        if (server_->displayName().empty()) {
            GTEST_SKIP() << "Xvfb is not available";
        }
        input_ = std::make_unique<testing::XTestInput>(display());
        ASSERT_TRUE(input_->connected());
    }

    static const std::string& display() { return server_->displayName(); }

    static bool waitForMessages(const KeyLog& log, std::size_t count) {
        return QTest::qWaitFor([&] { return log.messages.size() >= count; }, kWaitMs);
    }

    static std::unique_ptr<testing::XvfbServer> server_;
    std::unique_ptr<testing::XTestInput> input_;
};

std::unique_ptr<testing::XvfbServer> X11CaptureTest::server_;

TEST_F(X11CaptureTest, KeycodesAreNamedByTheirUnshiftedKeysym) {
    const auto table = readKeycodeTable(display());
    ASSERT_TRUE(table.has_value());
    const std::pair<uint32_t, uint8_t> cases[] = {{XK_a, 0x41},      {XK_1, 0x31},  {XK_Shift_L, 0xA0},
                                                  {XK_Return, 0x0D}, {XK_F5, 0x74}, {XK_KP_Home, 0x67}};
    for (const auto& [keysym, vk] : cases) {
        const int keycode = input_->keycodeFor(keysym);
        ASSERT_GT(keycode, 0) << "keysym 0x" << std::hex << keysym;
        EXPECT_EQ((*table)[keycode], vk) << "keysym 0x" << std::hex << keysym;
    }
    EXPECT_FALSE(readKeycodeTable(kNoDisplay).has_value());
}

TEST_F(X11CaptureTest, EveryPressAndReleaseArrivesInOrder) {
    X11KeyCapture capture(display());
    KeyLog log;
    ASSERT_TRUE(capture.install(&log));
    ASSERT_TRUE(capture.isInstalled());
    input_->tap(XK_a);
    input_->key(XK_Shift_L, true);
    input_->tap(XK_1); // "!" with Shift, still the key "1"
    input_->key(XK_Shift_L, false);
    input_->tap(XK_Escape);

    const std::vector<KeyMessage> expected{pressed(0x41),  released(0x41), pressed(0xA0), pressed(0x31),
                                           released(0x31), released(0xA0), pressed(0x1B), released(0x1B)};
    ASSERT_TRUE(waitForMessages(log, expected.size()));
    EXPECT_EQ(log.messages, expected);
}

TEST_F(X11CaptureTest, LastInstallerReceivesAndRemovalStops) {
    X11KeyCapture capture(display());
    KeyLog first;
    KeyLog second;
    ASSERT_TRUE(capture.install(&first));
    input_->tap(XK_a);
    ASSERT_TRUE(waitForMessages(first, 2));
    ASSERT_TRUE(capture.install(&second));
    input_->tap(XK_b);
    ASSERT_TRUE(waitForMessages(second, 2));
    capture.remove();
    EXPECT_FALSE(capture.isInstalled());
    input_->tap(XK_c); // nobody listens
    ASSERT_TRUE(capture.install(&second));
    input_->tap(XK_d);
    ASSERT_TRUE(waitForMessages(second, 4));
    QTest::qWait(50);

    EXPECT_EQ(first.messages, (std::vector<KeyMessage>{pressed(0x41), released(0x41)}));
    EXPECT_EQ(second.messages,
              (std::vector<KeyMessage>{pressed(0x42), released(0x42), pressed(0x44), released(0x44)}));
}

TEST_F(X11CaptureTest, DestroyedWhileKeysArePendingDeliversNothing) {
    KeyLog log;
    {
        X11KeyCapture capture(display());
        ASSERT_TRUE(capture.install(&log));
        for (int i = 0; i < 20; ++i) {
            input_->tap(XK_x);
        }
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(log.messages.empty());
}

TEST_F(X11CaptureTest, UnreachableDisplayRefusesInstall) {
    X11KeyCapture capture(kNoDisplay);
    KeyLog log;
    EXPECT_FALSE(capture.install(&log));
    EXPECT_FALSE(capture.isInstalled());
    X11ClickWatch watch(kNoDisplay);
    EXPECT_FALSE(watch.start([](const PointerButtonEvent&) {}));
    EXPECT_FALSE(watch.isRunning());
}

TEST_F(X11CaptureTest, ClickWatchReportsButtonsButNotWheel) {
    X11ClickWatch watch(display());
    std::vector<std::tuple<Qt::MouseButton, bool, QPoint>> events;
    ASSERT_TRUE(watch.start(
        [&](const PointerButtonEvent& e) { events.emplace_back(e.button, e.released, e.globalPos); }));
    input_->movePointer(100, 120);
    input_->button(1, true);
    input_->button(1, false);
    input_->movePointer(300, 40);
    input_->button(3, true);
    input_->button(4, true); // a wheel turn
    input_->button(4, false);
    input_->button(3, false);
    input_->button(2, true);

    const std::vector<std::tuple<Qt::MouseButton, bool, QPoint>> expected{
        {Qt::LeftButton, false, {100, 120}},
        {Qt::LeftButton, true, {100, 120}},
        {Qt::RightButton, false, {300, 40}},
        {Qt::RightButton, true, {300, 40}},
        {Qt::MiddleButton, false, {300, 40}}};
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.size() >= expected.size(); }, kWaitMs));
    QTest::qWait(50);
    EXPECT_EQ(events, expected);
}

TEST_F(X11CaptureTest, ClickWatchMayBeStoppedByItsCallbackAndHandedOn) {
    X11ClickWatch watch(display());
    int closingPresses = 0;
    ASSERT_TRUE(watch.start([&](const PointerButtonEvent&) {
        ++closingPresses;
        watch.stop(); // a menu closes on the first outside press
    }));
    input_->button(1, true);
    input_->button(1, false);
    input_->button(1, true);
    input_->button(1, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !watch.isRunning(); }, kWaitMs));
    QTest::qWait(50);
    EXPECT_EQ(closingPresses, 1);

    int nextMenuPresses = 0;
    ASSERT_TRUE(watch.start([&](const PointerButtonEvent&) { ++nextMenuPresses; }));
    ASSERT_TRUE(
        watch.start([&](const PointerButtonEvent&) { nextMenuPresses += 10; })); // handed to a submenu
    input_->button(1, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return nextMenuPresses > 0; }, kWaitMs));
    EXPECT_EQ(nextMenuPresses, 10);
}

} // namespace
} // namespace talwyn::platform
