#include "app/skin_store.h"
#include "controls/paint_support.h"

#include <QCoreApplication>
#include <QPainter>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace talwyn::app {
namespace {

namespace fs = std::filesystem;
using ui_layout::kSkinFiles;

constexpr QSize kSheetSize(80, 60);

int fileNumber(std::string_view name) {
    for (size_t i = 0; i < kSkinFiles.size(); ++i) {
        if (kSkinFiles[i].name == name) {
            return static_cast<int>(i);
        }
    }
    ADD_FAILURE() << "no skin file " << name;
    return -1;
}

// Each picture encodes its position in the list in blue and the pixel's own
// coordinates in red and green, so a result tells where it came from.
QImage tracerImage(int file) {
    QImage image(kSheetSize, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qRgba(x, y, file, 0xFF));
        }
    }
    return image;
}

class SkinStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::path(TALWYN_TEST_TMP) / "skins" / info->name();
        fs::remove_all(folder);
        fs::create_directories(folder);
        for (size_t i = 0; i < kSkinFiles.size(); ++i) {
            const auto& file = kSkinFiles[i];
            const char* format = file.format == ui_layout::SkinFormat::Png ? "PNG" : "BMP";
            ASSERT_TRUE(tracerImage(static_cast<int>(i)).save(pathOf(file.name), format));
        }
    }
    QString pathOf(std::string_view name) const {
        return QString::fromStdString((folder / std::string(name)).string());
    }
    SkinStore makeStore() {
        return SkinStore(folder, {[this](const QString& m) { messages.push_back(m); },
                                  [this](int code) { exitCodes.push_back(code); }});
    }

    fs::path folder;
    std::vector<QString> messages;
    std::vector<int> exitCodes;
};

struct Expect {
    int index;
    int state;
    const char* file;
    enum Kind { Shared, Copy, Cut } kind;
};

TEST_F(SkinStoreTest, IndexTableNamesTheSheetAndHowItIsHandedOut) {
    const Expect cases[] = {
        {0, 0, "Main_Normal.bmp", Expect::Copy},
        {1, 1, "Main_Over.bmp", Expect::Cut},
        {21, 3, "Main_Disable.bmp", Expect::Cut},
        {22, 2, "Mouse_Settings_Normal.bmp", Expect::Shared},
        {24, 3, "Mouse_Settings_Disable.bmp", Expect::Cut},
        {50, 1, "Sensor_Performance_Normal.bmp", Expect::Shared},
        {63, 3, "Sensor_Performance_Disabel.bmp", Expect::Cut},
        {82, 1, "Color_Settings_Over.bmp", Expect::Cut},
        {87, 0, "Color_Settings_BK.png", Expect::Shared},
        {129, 0, "Talwyn.png", Expect::Copy},
        {130, 0, "Color_Settings_BK.png", Expect::Cut},
        {131, 2, "Color_Settings_Down.bmp", Expect::Cut},
        {132, 0, "ColorPalete.png", Expect::Copy},
        {133, 0, "Macro_Settings_BK.bmp", Expect::Shared},
        {140, 2, "Macro_Settings_Down.bmp", Expect::Cut},
        {142, 0, "Support_Normal.bmp", Expect::Shared},
        {148, 3, "Support_Disable.bmp", Expect::Cut},
        {149, 0, "Color_slider.png", Expect::Copy},
        {150, 0, "Slider_Normal.png", Expect::Copy},
        {151, 0, "Slider_Disable.png", Expect::Copy},
        {152, 0, "Slider1_Over.png", Expect::Copy},
        {156, 0, "Slider5_Over.png", Expect::Copy},
        {157, 0, "Scroll_Normal.bmp", Expect::Copy},
        {158, 0, "Scroll_Down.bmp", Expect::Cut},
        {160, 1, "Scroll_Over.bmp", Expect::Cut},
        {161, 0, "ColorPanel.bmp", Expect::Copy},
        {162, 0, "ReName_Normal.bmp", Expect::Shared},
        {166, 3, "ReName_Disable.bmp", Expect::Cut},
        {167, 0, "LeftClickWarn_Normal.bmp", Expect::Shared},
        {170, 2, "LeftClickWarn_Down.bmp", Expect::Cut},
        {174, 1, "DeleteMacro_Over.bmp", Expect::Cut},
        {178, 2, "SensorSQAT1_Down.bmp", Expect::Cut},
        {179, 0, "SensorSQAT2_Normal.bmp", Expect::Shared},
        {184, 1, "SensorSQAT2_Over.bmp", Expect::Cut},
        {187, 0, "SensorSQAT3_Normal.bmp", Expect::Cut},
        {191, 2, "ResetWarn_Down.bmp", Expect::Cut},
        {195, 1, "UpdateWarn_Over.bmp", Expect::Cut},
        {196, 0, "AssignKey_Normal.bmp", Expect::Shared},
        {200, 3, "AssignKey_Disable.bmp", Expect::Cut},
    };
    SkinStore store = makeStore();
    for (const Expect& c : cases) {
        SCOPED_TRACE(std::to_string(c.index) + "/" + std::to_string(c.state));
        const QImage image = store.skinImage(c.index, c.state, 10, 20, 60, 45);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(qBlue(image.pixel(0, 0)), fileNumber(c.file));
        if (c.kind == Expect::Cut) {
            EXPECT_EQ(image.size(), QSize(50, 25));
            EXPECT_EQ(image.pixel(0, 0), qRgba(10, 20, fileNumber(c.file), 0xFF));
            EXPECT_EQ(image.pixel(49, 24), qRgba(59, 44, fileNumber(c.file), 0xFF));
        } else {
            EXPECT_EQ(image.size(), kSheetSize);
            const QImage again = store.skinImage(c.index, c.state);
            EXPECT_EQ(image.cacheKey() == again.cacheKey(), c.kind == Expect::Shared);
        }
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(SkinStoreTest, HolesAndStatesOutsideTheTableFailTheProgram) {
    struct Bad {
        int index;
        int state;
    };
    const Bad cases[] = {{23, 0}, {62, 0}, {130, 1}, {158, 2}, {168, 3}, {201, 0}, {-1, 0}, {1, 4}, {1, -1}};
    SkinStore store = makeStore();
    for (const Bad& c : cases) {
        EXPECT_TRUE(store.skinImage(c.index, c.state, 0, 0, 10, 10).isNull()) << c.index << "/" << c.state;
    }
    EXPECT_EQ(messages, std::vector<QString>(std::size(cases), QStringLiteral("ui load failed!")));
    EXPECT_EQ(exitCodes, std::vector<int>(std::size(cases), 0));
}

TEST_F(SkinStoreTest, MissingSheetFailsOnlyWhenAsked) {
    fs::remove(folder / "Main_Over.bmp");
    SkinStore store = makeStore();
    store.loadSkins();
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(store.skinImage(5, 0, 0, 0, 10, 10).isNull());
    EXPECT_TRUE(store.skinImage(5, 1, 0, 0, 10, 10).isNull());
    EXPECT_EQ(messages, std::vector<QString>{QStringLiteral("ui load failed!")});
    EXPECT_EQ(exitCodes, std::vector<int>{0});
}

TEST_F(SkinStoreTest, LoadsOnFirstUseAndKeepsNoFileNeeded) {
    SkinStore store = makeStore();
    EXPECT_FALSE(store.loaded());
    EXPECT_FALSE(store.skinImage(140, 2, 0, 0, 5, 5).isNull());
    EXPECT_TRUE(store.loaded());
    fs::remove_all(folder);
    EXPECT_FALSE(store.skinImage(141, 1, 0, 0, 5, 5).isNull());
    // An empty rectangle yields nothing but is no skin failure.
    EXPECT_TRUE(store.skinImage(141, 1, 5, 5, 5, 9).isNull());
    EXPECT_TRUE(messages.empty());
}

TEST_F(SkinStoreTest, DropsSheetsOnceTheEventLoopRunsAndReadsThemAgainWhenAsked) {
    SkinStore store = makeStore();
    const QImage before = store.skinImage(140, 2, 10, 20, 60, 45);
    EXPECT_EQ(store.heldSheetCount(), kSkinFiles.size());

    QCoreApplication::processEvents();
    EXPECT_EQ(store.heldSheetCount(), 0u);

    EXPECT_EQ(store.skinImage(140, 2, 10, 20, 60, 45), before);
    EXPECT_EQ(store.heldSheetCount(), 1u);
    QCoreApplication::processEvents();
    EXPECT_EQ(store.heldSheetCount(), 0u);

    // A sheet gone from the folder after start fails like one missing at start.
    fs::remove(folder / "Macro_Settings_Down.bmp");
    EXPECT_TRUE(store.skinImage(140, 2, 10, 20, 60, 45).isNull());
    EXPECT_EQ(messages, std::vector<QString>{QStringLiteral("ui load failed!")});
}

TEST_F(SkinStoreTest, ImageFilesDecodeFromMemory) {
    QImage translucent(4, 4, QImage::Format_ARGB32);
    translucent.fill(qRgba(10, 200, 30, 0x80));
    const fs::path png = folder / "alpha.png";
    ASSERT_TRUE(translucent.save(QString::fromStdString(png.string()), "PNG"));
    const QImage loaded = loadImageFile(png);
    ASSERT_FALSE(loaded.isNull());
    EXPECT_EQ(qAlpha(loaded.pixel(1, 1)), 0x80);
    EXPECT_EQ(loadImageFile(folder / "Main_Down.bmp").size(), kSheetSize);

    const fs::path garbage = folder / "garbage.bmp";
    std::ofstream(garbage, std::ios::binary) << "BM not really a bitmap";
    const fs::path empty = folder / "empty.png";
    std::ofstream(empty, std::ios::binary).close();
    const fs::path truncated = folder / "truncated.png";
    {
        std::ifstream in(png, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::ofstream(truncated, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    }
    EXPECT_TRUE(loadImageFile(garbage).isNull());
    EXPECT_TRUE(loadImageFile(empty).isNull());
    EXPECT_TRUE(loadImageFile(folder / "absent.png").isNull());
    EXPECT_TRUE(loadImageFile(folder).isNull());
    EXPECT_TRUE(loadImageFile(truncated).isNull());
}

TEST(CenteredText, OffsetsByHalfTheFreeExtent) {
    using controls::labelOrigin;
    const QRect rect(10, 20, 101, 30);
    EXPECT_EQ(labelOrigin(rect, {40, 15}, false, false), QPoint(10, 20));
    EXPECT_EQ(labelOrigin(rect, {40, 15}, true, false), QPoint(40, 20));
    EXPECT_EQ(labelOrigin(rect, {40, 15}, false, true), QPoint(10, 27));
    // A text wider than the rectangle starts left of it.
    EXPECT_EQ(labelOrigin(rect, {121, 15}, true, true), QPoint(0, 27));
}

TEST(CenteredText, DrawsInTheGivenColourWithoutClipping) {
    QImage canvas(60, 30, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    {
        QPainter painter(&canvas);
        drawCenteredText(QStringLiteral("WWWWWW"), QColor(0, 255, 0), controls::arialFont(15),
                         QRect(40, 5, 10, 20), false, true, painter);
    }
    int green = 0;
    for (int x = 50; x < 60; ++x) {
        for (int y = 0; y < 30; ++y) {
            green += canvas.pixelColor(x, y).green() > 0 ? 1 : 0;
        }
    }
    EXPECT_GT(green, 0); // the text runs on past the rectangle's right edge
}

} // namespace
} // namespace talwyn::app
