// The library's progress reports of one update as the window shows them.

#include "updater/update_progress.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace talwyn::updater {
namespace {

using Report = std::pair<uint8_t, uint32_t>;

UpdateProgress fed(int blocks, const std::vector<Report>& reports) {
    UpdateProgress progress(blocks);
    for (const auto& [status, value] : reports)
        progress.take(status, value);
    return progress;
}

TEST(UpdateProgressTest, NamesEachStepOfAnUpdateFromNormalMode) {
    struct Step {
        Report report;
        int percent;
        const char* text;
    };
    // Three blocks: values 4, 37 and 70 for the blocks after the accepted announcement (4).
    const Step steps[] = {
        {{1, 1}, 1, "Waiting for the mouse in bootloader mode..."},
        {{1, 3}, 3, "Bootloader found, announcing the transfer..."},
        {{1, 4}, 4, "Writing block 1 of 3..."},
        {{1, 4}, 4, "Writing block 2 of 3..."},
        {{1, 37}, 37, "Writing block 3 of 3..."},
        {{1, 70}, 70, "Finishing the transfer..."},
        {{1, 100}, 100, "Waiting for the mouse to restart..."},
    };
    UpdateProgress progress(3);
    for (const Step& step : steps) {
        progress.take(step.report.first, step.report.second);
        EXPECT_EQ(progress.outcome(), UpdateProgress::Outcome::Running);
        EXPECT_EQ(progress.percent(), step.percent) << step.text;
        EXPECT_EQ(progress.stepText().toStdString(), step.text);
    }
    progress.take(TALWYN_FW_NEW_VERSION, 106);
    EXPECT_EQ(progress.outcome(), UpdateProgress::Outcome::Succeeded);
    EXPECT_EQ(progress.newVersion(), 106);

    // Nothing follows a last report.
    progress.take(TALWYN_FW_ERR_BLOCK, 70);
    EXPECT_EQ(progress.outcome(), UpdateProgress::Outcome::Succeeded);
}

TEST(UpdateProgressTest, AMouseAlreadyInBootloaderModeGoesStraightToTheBlocks) {
    const UpdateProgress progress = fed(2, {{1, 1}, {1, 4}, {1, 4}});
    EXPECT_EQ(progress.stepText().toStdString(), "Writing block 2 of 2...");
    EXPECT_EQ(fed(0, {{1, 1}, {1, 4}}).stepText().toStdString(), "Finishing the transfer...");
}

TEST(UpdateProgressTest, EachFailureIsSaidInWordsWithWhatToDoNext) {
    struct FailureCase {
        std::vector<Report> reports;
        const char* what;
        const char* next;
    };
    const FailureCase cases[] = {
        {{{1, 1}, {0x50, 0}}, "did not reach the device library", "Start the updater again"},
        {{{1, 1}, {0x51, 1}},
         "refused to switch to bootloader mode. Its firmware is unchanged",
         "plug it in again and press Update"},
        {{{1, 1}, {0x52, 1}}, "did not restart in bootloader mode", "plug it in again and press Update"},
        {{{1, 1}, {1, 3}, {0x53, 4}},
         "did not accept the start of the transfer. It waits in bootloader mode",
         "finds the mouse waiting in bootloader mode"},
        {{{1, 1}, {1, 3}, {1, 4}, {1, 4}, {0x54, 4}},
         "Block 2 of 4 was not accepted",
         "press Update to try again"},
        {{{1, 1}, {1, 4}, {1, 4}, {1, 29}, {1, 54}, {1, 79}, {0x55, 79}},
         "did not accept the end of the transfer",
         "press Update to try again"},
        {{{1, 1}, {0x56, 2}}, "found neither in normal nor in bootloader mode", "Check the cable"},
        {{{1, 1}, {0x7E, 0}}, "unknown status 0x7E", "Start the updater again"},
    };
    for (const FailureCase& c : cases) {
        const UpdateProgress progress = fed(4, c.reports);
        SCOPED_TRACE(c.what);
        ASSERT_EQ(progress.outcome(), UpdateProgress::Outcome::Failed);
        const FailureText text = progress.failure();
        EXPECT_TRUE(text.what.contains(QString::fromLatin1(c.what))) << text.what.toStdString();
        EXPECT_TRUE(text.next.contains(QString::fromLatin1(c.next), Qt::CaseInsensitive))
            << text.next.toStdString();
        EXPECT_EQ(progress.newVersion(), std::nullopt);
    }
}

} // namespace
} // namespace talwyn::updater
