// The tray icon on a desktop with a notification area: a private Xvfb with a
// window manager and a tray host, the program on the X11 platform, and clicks
// on the icon made through XTest. Skipped where Xvfb or the tray host is missing.

#include "platform/tray_icon.h"

#include "support/spawned_process.h"
#include "support/xtest_input.h"
#include "support/xvfb_server.h"

#include <QApplication>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace talwyn::platform {
namespace {

constexpr int kWaitMs = 5000;

// Xvfb, openbox and trayer first, then the application on that display.
class TrayDesktop final : public ::testing::Environment {
public:
    void SetUp() override {
        server_ = std::make_unique<testing::XvfbServer>();
        if (server_->displayName().empty()) {
            return;
        }
        windowManager_ = std::make_unique<testing::SpawnedProcess>(std::vector<std::string>{"openbox"},
                                                                   server_->displayName());
        trayHost_ = std::make_unique<testing::SpawnedProcess>(
            std::vector<std::string>{"trayer", "--edge", "bottom", "--align", "right", "--widthtype",
                                     "request"},
            server_->displayName());
        ::setenv("DISPLAY", server_->displayName().c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        static int argc = 1;
        static char name[] = "platform_tray_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override {
        app_.reset();
        trayHost_.reset();
        windowManager_.reset();
        server_.reset();
    }

    static const std::string& display() { return server_->displayName(); }
    static bool ready() { return app_ != nullptr; }

private:
    static inline std::unique_ptr<testing::XvfbServer> server_;
    static inline std::unique_ptr<testing::SpawnedProcess> windowManager_;
    static inline std::unique_ptr<testing::SpawnedProcess> trayHost_;
    static inline std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] const auto* const environment = ::testing::AddGlobalTestEnvironment(new TrayDesktop);

// The window Qt embeds into the tray host for the icon.
QWidget* embeddedIcon() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qstrcmp(widget->metaObject()->className(), "QSystemTrayIconSys") == 0 && widget->isVisible()) {
            return widget;
        }
    }
    return nullptr;
}

TEST(SystemTrayIconOnDesktop, LeftClickShowsWindowRightClickAsksForMenuAtPointer) {
    if (!TrayDesktop::ready()) {
        GTEST_SKIP() << "Xvfb is not available";
    }
    if (!QTest::qWaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, kWaitMs)) {
        GTEST_SKIP() << "no tray host (trayer) on this machine";
    }
    SystemTrayIcon tray;
    QSignalSpy show(&tray, &TrayIcon::showWindowRequested);
    QSignalSpy menu(&tray, &TrayIcon::menuRequested);
    QPixmap pixmap(16, 16);
    pixmap.fill(QColor(0x32, 0xEB, 0xA5));
    ASSERT_TRUE(tray.add(QIcon(pixmap), QStringLiteral("Talwyn PRO Gaming Mouse")));

    QWidget* icon = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            icon = embeddedIcon();
            return icon != nullptr && !icon->mapToGlobal(QPoint(0, 0)).isNull();
        },
        kWaitMs));
    QTest::qWait(200); // let the host finish placing it
    const QPoint centre = icon->mapToGlobal(icon->rect().center());

    testing::XTestInput input(TrayDesktop::display());
    ASSERT_TRUE(input.connected());
    input.movePointer(centre.x(), centre.y());
    input.button(1, true);
    input.button(1, false);
    ASSERT_TRUE(show.wait(kWaitMs));

    input.button(3, true);
    input.button(3, false);
    ASSERT_TRUE(menu.wait(kWaitMs));
    EXPECT_EQ(menu.front().front().toPoint(), centre);
    EXPECT_EQ(show.count(), 1);
}

} // namespace
} // namespace talwyn::platform
