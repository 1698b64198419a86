// The start-up and exit sequence and the single-instance hand-over.

#include "shell_fixture.h"

#include "app/application.h"
#include "platform/single_instance.h"

#include <QDir>
#include <QTest>

namespace talwyn::app::testing {
namespace {

class ApplicationTest : public ShellTest {
protected:
    std::unique_ptr<CTOLMDlg> makeWindow() {
        ++windowsMade_;
        return std::make_unique<CTOLMDlg>(
            services(notifier_, [](int code) { QCoreApplication::exit(code); }));
    }

    int windowsMade_ = 0;
};

TEST_F(ApplicationTest, FirstCopyRunsTheWindowUntilTheLoopEndsThenTearsItDown) {
    platform::FakeSingleInstance instance(true, false);
    bool shownWhileRunning = false;
    CTOLMApp* running = nullptr;
    CTOLMApp app(
        instance, [this] { return makeWindow(); },
        [&] {
            CTOLMDlg* window = running->mainWindow();
            shownWhileRunning = window != nullptr && window->isVisible() && tray_.shown() &&
                                notifier_.started() && window->visiblePage() == 0;
            return 0;
        });
    running = &app;
    EXPECT_EQ(app.InitInstance(), 0);

    EXPECT_EQ(instance.notifications, 1);
    EXPECT_EQ(instance.claims, 1);
    EXPECT_TRUE(shownWhileRunning);
    EXPECT_EQ(app.mainWindow(), nullptr);
    // Torn down: the tray icon is gone and the macro library was written.
    EXPECT_FALSE(tray_.shown());
    EXPECT_TRUE(std::filesystem::exists(folder_ / "macros" / "macroList.dat"));
}

TEST_F(ApplicationTest, ACopyWithoutTheLockEndsWithoutAWindow) {
    platform::FakeSingleInstance instance(false, true);
    bool looped = false;
    CTOLMApp app(
        instance, [this] { return makeWindow(); },
        [&] {
            looped = true;
            return 0;
        });
    EXPECT_EQ(app.InitInstance(), 0);
    EXPECT_EQ(instance.notifications, 1);
    EXPECT_EQ(windowsMade_, 0);
    EXPECT_FALSE(looped);
}

TEST_F(ApplicationTest, AForeignListenerDoesNotStopTheFirstCopy) {
    platform::FakeSingleInstance instance(true, true);
    CTOLMApp app(
        instance, [this] { return makeWindow(); }, [] { return 0; });
    EXPECT_EQ(app.InitInstance(), 0);
    EXPECT_EQ(windowsMade_, 1);
}

TEST_F(ApplicationTest, ASecondStartShowsTheHiddenFirstCopyAndEnds) {
    // Socket paths are short: a folder of its own under the temporary folder.
    const QString lockFolder =
        QStringLiteral("%1/talwyn-app-%2").arg(QDir::tempPath()).arg(QCoreApplication::applicationPid());
    QDir(lockFolder).removeRecursively();
    platform::LocalSingleInstance first(QStringLiteral("talwyn-test-lock"),
                                        QStringLiteral("talwyn-test-window"), lockFolder);
    bool secondEnded = false;
    bool shownAgain = false;
    CTOLMApp* running = nullptr;
    CTOLMApp app(
        first, [this] { return makeWindow(); },
        [&] {
            CTOLMDlg* window = running->mainWindow();
            window->executeCommand(main_command::kHide);
            platform::LocalSingleInstance secondInstance(QStringLiteral("talwyn-test-lock"),
                                                         QStringLiteral("talwyn-test-window"), lockFolder);
            int secondWindows = 0;
            CTOLMApp second(
                secondInstance,
                [&] {
                    ++secondWindows;
                    return std::unique_ptr<CTOLMDlg>();
                },
                [] { return 0; });
            secondEnded = second.InitInstance() == 0 && secondWindows == 0;
            shownAgain = QTest::qWaitFor([window] { return window->isVisible(); }, 5000);
            return 0;
        });
    running = &app;
    EXPECT_EQ(app.InitInstance(), 0);
    EXPECT_TRUE(secondEnded);
    EXPECT_TRUE(shownAgain);
    QDir(lockFolder).removeRecursively();
}

} // namespace
} // namespace talwyn::app::testing
