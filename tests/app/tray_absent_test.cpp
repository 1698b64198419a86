// Closing the main window where no notification area could take the tray
// icon: the program says so and ends instead of hiding out of reach.

#include "shell_fixture.h"

#include <QTest>

#include <functional>

namespace talwyn::app::testing {
namespace {

TEST_F(ShellTest, WithoutANotificationAreaClosingSaysSoAndEndsTheProgram) {
    tray_.setAvailable(false);
    start();
    const struct {
        const char* how;
        std::function<void()> close;
    } closings[] = {
        {"window closed", [this] { window().close(); }},
        {"the skin's close button", [this] { window().executeCommand(main_command::kHide); }},
    };
    for (const auto& closing : closings) {
        SCOPED_TRACE(closing.how);
        window().show();
        quitCode_ = -1;
        const qsizetype notices = messages_.shown().size();
        closing.close();
        EXPECT_EQ(quitCode_, 0);
        ASSERT_EQ(messages_.shown().size(), notices + 1);
        EXPECT_EQ(messages_.shown().last(), QString::fromUtf16(kNoTrayNotice));
    }

    // A notification area that appears later takes the window again.
    tray_.setAvailable(true);
    quitCode_ = -1;
    window().close();
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(quitCode_, -1);
}

} // namespace
} // namespace talwyn::app::testing
