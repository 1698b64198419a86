// The stand-ins other layers test against behave like the services they
// replace: signals only while started or shown, keys only while installed.

#include "support/fake_platform.h"

#include "key_log.h"

#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace talwyn::platform {
namespace {

using testing::KeyLog;
using testing::KeyMessage;
using testing::pressed;
using testing::released;

TEST(FakePlatform, KeyCapturePostsToLastReceiverWhileInstalled) {
    FakeKeyCapture capture;
    KeyLog first;
    KeyLog second;
    capture.press(0x41); // not installed: nothing
    ASSERT_TRUE(capture.install(&first));
    capture.press(0x41);
    ASSERT_TRUE(capture.install(&second));
    capture.release(0x41);
    capture.remove();
    capture.press(0x42);
    EXPECT_TRUE(first.messages.empty()) << "posted, not sent";
    QCoreApplication::processEvents();
    EXPECT_EQ(first.messages, std::vector<KeyMessage>{pressed(0x41)});
    EXPECT_EQ(second.messages, std::vector<KeyMessage>{released(0x41)});
    EXPECT_EQ(capture.installs, 2);
    EXPECT_EQ(capture.removals, 1);

    FakeKeyCapture failing(false);
    EXPECT_FALSE(failing.install(&first));
    EXPECT_FALSE(failing.isInstalled());
}

TEST(FakePlatform, DeviceNoticesOnlyOnceStarted) {
    FakeDeviceNotifier notifier;
    QSignalSpy arrived(&notifier, &DeviceNotifier::deviceArrived);
    QSignalSpy removed(&notifier, &DeviceNotifier::deviceRemoved);
    notifier.arrive(QStringLiteral("early"));
    ASSERT_TRUE(notifier.start());
    notifier.arrive(QStringLiteral("a"));
    notifier.depart(QStringLiteral("b"));
    ASSERT_EQ(arrived.count(), 1);
    EXPECT_EQ(arrived.front().front().toString(), QStringLiteral("a"));
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed.front().front().toString(), QStringLiteral("b"));

    FakeDeviceNotifier failing(false);
    EXPECT_FALSE(failing.start());
}

TEST(FakePlatform, TrayClicksOnlyWhileShown) {
    FakeTrayIcon tray;
    QSignalSpy show(&tray, &TrayIcon::showWindowRequested);
    QSignalSpy menu(&tray, &TrayIcon::menuRequested);
    tray.leftClick();
    ASSERT_TRUE(tray.add(QIcon(), QStringLiteral("Talwyn PRO Gaming Mouse")));
    tray.leftClick();
    tray.rightClick(QPoint(640, 700));
    tray.remove();
    tray.rightClick(QPoint(1, 1));
    EXPECT_EQ(show.count(), 1);
    ASSERT_EQ(menu.count(), 1);
    EXPECT_EQ(menu.front().front().toPoint(), QPoint(640, 700));

    FakeTrayIcon noTray(false);
    EXPECT_FALSE(noTray.add(QIcon(), QString()));
}

TEST(FakePlatform, DesktopButtonWatchCountsFreshStartsAndHandsOn) {
    FakeDesktopButtonWatch watch;
    std::vector<std::pair<int, bool>> seenBy; // callback, release
    ASSERT_TRUE(watch.start([&](const PointerButtonEvent& e) { seenBy.emplace_back(1, e.released); }));
    ASSERT_TRUE(watch.start([&](const PointerButtonEvent& e) { seenBy.emplace_back(2, e.released); }));
    watch.press(Qt::LeftButton, QPoint(5, 5));
    watch.release(Qt::LeftButton, QPoint(5, 5));
    watch.stop();
    watch.press(Qt::LeftButton, QPoint(5, 5));
    EXPECT_EQ(seenBy, (std::vector<std::pair<int, bool>>{{2, false}, {2, true}}));
    EXPECT_EQ(watch.starts, 1);
    EXPECT_FALSE(watch.isRunning());
}

TEST(FakePlatform, RecordersKeepWhatWasAsked) {
    FakeMessageBoxes boxes;
    QString seenWhileOpen;
    boxes.onWarn([&](const QString& text) { seenWhileOpen = text; });
    boxes.warn(QStringLiteral("set hook failed."));
    EXPECT_EQ(boxes.shown(), QStringList{QStringLiteral("set hook failed.")});
    EXPECT_EQ(seenWhileOpen, QStringLiteral("set hook failed."));

    FakeLauncher launcher;
    launcher.succeed = false;
    EXPECT_FALSE(launcher.startProgram(QStringLiteral("updater"), QStringLiteral("2")));
    ASSERT_EQ(launcher.startedPrograms.size(), 1u);
    EXPECT_EQ(launcher.startedPrograms.front().second, QStringLiteral("2"));

    FakeIniReader ini;
    ini.set("Config.ini", QStringLiteral("Firmware"), QStringLiteral("Version"), QStringLiteral("105"));
    EXPECT_EQ(ini.value("Config.ini", QStringLiteral("FIRMWARE"), QStringLiteral("version")),
              QStringLiteral("105"));
    EXPECT_FALSE(ini.value("Other.ini", QStringLiteral("Firmware"), QStringLiteral("Version")).has_value());

    FakeSingleInstance second(false, true);
    EXPECT_TRUE(second.notifyRunningCopy());
    EXPECT_FALSE(second.claim());
    QSignalSpy shown(&second, &SingleInstance::showWindowRequested);
    second.receiveShowRequest();
    EXPECT_EQ(shown.count(), 1);
}

} // namespace
} // namespace talwyn::platform
