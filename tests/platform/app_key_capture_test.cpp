#include "platform/app_key_capture.h"

#include "key_log.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace talwyn::platform {
namespace {

using testing::KeyLog;
using testing::KeyMessage;
using testing::pressed;
using testing::released;

// A window of the program with a focused edit, fed keys the way the window
// system delivers them.
class AppKeyCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window_);
        edit_ = new QLineEdit;
        layout->addWidget(edit_);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
        edit_->setFocus();
        QApplication::setActiveWindow(&window_);
    }

    void key(bool press, Qt::Key key, const QString& text = {}, bool autoRepeat = false) {
        QTest::simulateEvent(window_.windowHandle(), press, key, Qt::NoModifier, text, autoRepeat);
    }
    void tap(Qt::Key k, const QString& text = {}) {
        key(true, k, text);
        key(false, k, text);
    }

    QWidget window_;
    QLineEdit* edit_ = nullptr;
    AppKeyCapture capture_;
};

TEST_F(AppKeyCaptureTest, EachPressAndReleaseReachesReceiverOnceAndStillTheWidget) {
    KeyLog log;
    ASSERT_TRUE(capture_.install(&log));
    tap(Qt::Key_A, QStringLiteral("a"));
    key(true, Qt::Key_Escape);
    key(true, Qt::Key_Escape, {}, true);  // held: the press repeats
    key(false, Qt::Key_Escape, {}, true); // the window system's repeat release is no release
    key(false, Qt::Key_Escape);
    tap(Qt::Key_unknown); // no Windows code: not reported
    QCoreApplication::processEvents();

    const std::vector<KeyMessage> expected{pressed(0x41), released(0x41), pressed(0x1B), pressed(0x1B),
                                           released(0x1B)};
    EXPECT_EQ(log.messages, expected);
    EXPECT_EQ(edit_->text(), QStringLiteral("a")) << "the key was withheld from the focused widget";
}

TEST_F(AppKeyCaptureTest, LastInstallerReceivesAndRemovalStops) {
    KeyLog first;
    KeyLog second;
    ASSERT_TRUE(capture_.install(&first));
    tap(Qt::Key_1, QStringLiteral("1"));
    ASSERT_TRUE(capture_.install(&second));
    tap(Qt::Key_2, QStringLiteral("2"));
    capture_.remove();
    EXPECT_FALSE(capture_.isInstalled());
    tap(Qt::Key_3, QStringLiteral("3"));
    QCoreApplication::processEvents();

    EXPECT_EQ(first.messages, (std::vector<KeyMessage>{pressed(0x31), released(0x31)}));
    EXPECT_EQ(second.messages, (std::vector<KeyMessage>{pressed(0x32), released(0x32)}));
}

TEST_F(AppKeyCaptureTest, ReceiverThatDiesGetsNothing) {
    auto log = std::make_unique<KeyLog>();
    ASSERT_TRUE(capture_.install(log.get()));
    log.reset();
    tap(Qt::Key_A, QStringLiteral("a"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(capture_.isInstalled());
}

TEST_F(AppKeyCaptureTest, AKeyHeldBeforeTheCaptureStartedIsNotReleasedIntoIt) {
    KeyLog log;
    key(true, Qt::Key_Return); // closes a message box, say, before the capture starts
    ASSERT_TRUE(capture_.install(&log));
    key(false, Qt::Key_Return);
    tap(Qt::Key_B, QStringLiteral("b"));
    capture_.remove();
    key(true, Qt::Key_C, QStringLiteral("c"));
    ASSERT_TRUE(capture_.install(&log));
    key(false, Qt::Key_C, QStringLiteral("c")); // pressed while nothing was captured
    QCoreApplication::processEvents();

    EXPECT_EQ(log.messages, (std::vector<KeyMessage>{pressed(0x42), released(0x42)}));
}

TEST(AppKeyCaptureNotice, RunsOnceBeforeTheFirstCaptureOnly) {
    int notices = 0;
    bool installedDuringNotice = true;
    AppKeyCapture capture([&] {
        ++notices;
        installedDuringNotice = capture.isInstalled();
    });
    KeyLog log;
    EXPECT_EQ(notices, 0);
    ASSERT_TRUE(capture.install(&log));
    EXPECT_FALSE(installedDuringNotice);
    capture.remove();
    ASSERT_TRUE(capture.install(&log));
    EXPECT_EQ(notices, 1);
}

TEST(MakeKeyCapture, FallsBackToOwnWindowsWithoutX11) {
    // The tests run on the offscreen platform, which has no system-wide source.
    EXPECT_NE(dynamic_cast<AppKeyCapture*>(makeKeyCapture().get()), nullptr);
}

} // namespace
} // namespace talwyn::platform
