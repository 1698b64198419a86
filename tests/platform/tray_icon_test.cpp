#include "platform/tray_icon.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace talwyn::platform {
namespace {

TEST(TrayIcon, ClicksMapToWindowAndMenu) {
    const std::pair<QSystemTrayIcon::ActivationReason, TrayAction> cases[] = {
        {QSystemTrayIcon::Trigger, TrayAction::ShowWindow}, {QSystemTrayIcon::Context, TrayAction::OpenMenu},
        {QSystemTrayIcon::DoubleClick, TrayAction::None},   {QSystemTrayIcon::MiddleClick, TrayAction::None},
        {QSystemTrayIcon::Unknown, TrayAction::None},
    };
    for (const auto& [reason, action] : cases) {
        EXPECT_EQ(trayActionFor(reason), action) << reason;
    }
}

TEST(SystemTrayIcon, ReportsMissingNotificationAreaAndKeepsWorking) {
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        GTEST_SKIP() << "this desktop has a notification area";
    }
    SystemTrayIcon tray;
    QSignalSpy shown(&tray, &TrayIcon::showWindowRequested);
    EXPECT_FALSE(tray.add(QIcon(), QStringLiteral("Talwyn PRO Gaming Mouse")));
    tray.remove();
    EXPECT_FALSE(tray.add(QIcon(), QStringLiteral("Talwyn PRO Gaming Mouse")));
    EXPECT_EQ(shown.count(), 0);
}

} // namespace
} // namespace talwyn::platform
