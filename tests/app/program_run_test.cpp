// The program as built: its real pages render every picture offscreen.

#include "support/program_process.h"

#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>

namespace talwyn {
namespace {

namespace fs = std::filesystem;

TEST(ProgramRun, ScreenshotsShowEveryPageAndPopUp) {
    const fs::path folder = fs::path(TALWYN_TEST_TMP) / "app-screenshots";
    fs::remove_all(folder);
    fs::create_directories(folder / "run");
    fs::permissions(folder / "run", fs::perms::owner_all);
    testing::ProgramProcess program({"--simulate", "--screenshot", (folder / "shots").string()},
                                    {"QT_QPA_PLATFORM=offscreen",
                                     "XDG_DATA_HOME=" + (folder / "data").string(),
                                     "XDG_RUNTIME_DIR=" + (folder / "run").string()},
                                    folder / "program.out");
    ASSERT_EQ(program.wait(), 0);

    const struct {
        const char* name;
        int width;
        int height;
    } pictures[] = {
        {"main-mouse-settings", 1024, 576},
        {"main-sensor-performance", 1024, 576},
        {"main-color-settings", 1024, 576},
        {"main-macro-settings", 1024, 576},
        {"main-support", 1024, 576},
        {"popup-LeftClickWarn", 404, 190},
        {"popup-DeleteMacro", 404, 190},
        {"popup-SensorSQAT1", 404, 190},
        {"popup-SensorSQAT2", 404, 190},
        {"popup-SensorSQAT3", 404, 190},
        {"popup-ResetWarn", 404, 190},
        {"popup-UpdateWarn", 404, 190},
        {"popup-AssignKey", 404, 190},
        {"popup-Rename", 404, 190},
        {"main-color-settings-none", 1024, 576},
        {"main-color-settings-per-zone", 1024, 576},
        {"main-color-settings-solid-color", 1024, 576},
        {"main-color-settings-color-shift", 1024, 576},
        {"preview-blinking-1", 270, 369},
        {"preview-blinking-2", 270, 369},
        {"preview-pulsating-3", 270, 369},
        {"preview-breathing-30", 270, 369},
        {"preview-color-shift-10", 270, 369},
        {"preview-color-shift-20", 270, 369},
    };
    QImage first;
    for (const auto& picture : pictures) {
        const QImage image(
            QString::fromStdString((folder / "shots" / (std::string(picture.name) + ".png")).string()));
        ASSERT_FALSE(image.isNull()) << picture.name;
        EXPECT_EQ(image.size(), QSize(picture.width, picture.height)) << picture.name;
        if (first.isNull()) {
            first = image;
        } else if (image.size() == first.size()) {
            EXPECT_NE(image, first) << picture.name << " shows the first page again";
        }
    }
    // The preview's pictures were taken at different moments of its animation.
    const auto shot = [&](const char* name) {
        return QImage(QString::fromStdString((folder / "shots" / (std::string(name) + ".png")).string()));
    };
    EXPECT_NE(shot("preview-blinking-1"), shot("preview-blinking-2"));
    EXPECT_NE(shot("preview-color-shift-10"), shot("preview-color-shift-20"));
    // The window's slot files are only written by an apply.
    EXPECT_FALSE(fs::exists(folder / "data" / "Orvane" / "Talwyn PRO Software"));
}

} // namespace
} // namespace talwyn
