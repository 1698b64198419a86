#include "controls/paint_support.h"
#include "skins/skin_store.h"

#include <QCoreApplication>
#include <QPainter>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

namespace talwyn::skins {
namespace {

namespace fs = std::filesystem;
using ui_layout::kSkinFiles;
using ui_layout::kWindows;
using ui_layout::SkinRole;
using ui_layout::SkinState;
using ui_layout::WindowId;

const QString kFailure = QStringLiteral("ui load failed!");

int fileNumber(SkinRole role, SkinState state) {
    for (size_t i = 0; i < kSkinFiles.size(); ++i) {
        if (kSkinFiles[i].role == role && kSkinFiles[i].state == state) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Each picture has its listed size and encodes its position in the list in
// blue and the pixel's own coordinates (modulo 256) in red and green, so a
// result tells which file and which piece of it it came from.
QImage tracerImage(int file, ui_layout::Size size) {
    QImage image(size.width, size.height, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qRgba(x & 0xFF, y & 0xFF, file, 0xFF));
        }
    }
    return image;
}

QRgb tracerPixel(int x, int y, int file) {
    return qRgba(x & 0xFF, y & 0xFF, file, 0xFF);
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
            ASSERT_TRUE(tracerImage(static_cast<int>(i), file.size).save(pathOf(file.name), format));
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

TEST_F(SkinStoreTest, EveryWindowIsCutFromItsOwnSheetsAtItsControlRectangles) {
    SkinStore store = makeStore();
    for (const auto& window : kWindows) {
        SCOPED_TRACE(std::string(window.name));
        const QImage background = store.background(window.id);
        ASSERT_FALSE(background.isNull());
        EXPECT_EQ(qBlue(background.pixel(0, 0)),
                  fileNumber(window.background.value_or(window.sheets), SkinState::Normal));
        for (const auto& control : window.controls) {
            for (SkinState state : ui_layout::kAllSkinStates) {
                const int file = fileNumber(window.sheets, state);
                if (file < 0) {
                    continue; // a family without this state: see the failure cases
                }
                SCOPED_TRACE(std::to_string(control.id) + " state " +
                             std::to_string(static_cast<int>(state)));
                const QImage look = store.controlLook(window.id, control.id, state);
                const auto& r = control.rect;
                ASSERT_EQ(look.size(), QSize(r.width, r.height));
                EXPECT_EQ(look.pixel(0, 0), tracerPixel(r.x, r.y, file));
                EXPECT_EQ(look.pixel(r.width - 1, r.height - 1),
                          tracerPixel(r.right() - 1, r.bottom() - 1, file));
            }
        }
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(SkinStoreTest, WindowsGetTheWholePicturesTheyList) {
    SkinStore store = makeStore();
    for (const auto& window : kWindows) {
        for (SkinRole role : window.pictures) {
            std::vector<int> family;
            for (size_t i = 0; i < kSkinFiles.size(); ++i) {
                if (kSkinFiles[i].role == role) {
                    family.push_back(static_cast<int>(i));
                    const QImage single = store.picture(window.id, role, kSkinFiles[i].state);
                    ASSERT_FALSE(single.isNull()) << kSkinFiles[i].name;
                    EXPECT_EQ(single.size(), QSize(kSkinFiles[i].size.width, kSkinFiles[i].size.height));
                    EXPECT_EQ(qBlue(single.pixel(0, 0)), fileNumber(role, kSkinFiles[i].state));
                }
            }
            std::vector<int> handedOut;
            for (const QImage& each : store.pictures(window.id, role)) {
                handedOut.push_back(qBlue(each.pixel(0, 0)));
            }
            EXPECT_EQ(handedOut, family) << window.name << " role " << static_cast<int>(role);
        }
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(SkinStoreTest, RequestsTheTableDoesNotGiveTheWindowFailTheProgram) {
    SkinStore store = makeStore();
    struct Bad {
        const char* what;
        std::function<bool()> yieldsNothing;
    };
    const Bad cases[] = {
        {"control of another window",
         [&] { return store.controlLook(WindowId::Main, 1069, SkinState::Normal).isNull(); }},
        {"unknown control",
         [&] { return store.controlLook(WindowId::Support, 4242, SkinState::Over).isNull(); }},
        {"pop-up has no Disable sheet",
         [&] { return store.controlLook(WindowId::LeftClickWarn, 1076, SkinState::Disable).isNull(); }},
        {"picture the window does not list",
         [&] { return store.picture(WindowId::Main, SkinRole::SliderThumb).isNull(); }},
        {"state the picture does not have",
         [&] {
             return store.picture(WindowId::MouseSettings, SkinRole::SliderThumb, SkinState::Over).isNull();
         }},
        {"family the window does not list",
         [&] { return store.pictures(WindowId::MouseSettings, SkinRole::SliderThumbOver).empty(); }},
    };
    for (const Bad& c : cases) {
        EXPECT_TRUE(c.yieldsNothing()) << c.what;
    }
    EXPECT_EQ(messages, std::vector<QString>(std::size(cases), kFailure));
    EXPECT_EQ(exitCodes, std::vector<int>(std::size(cases), 0));
}

TEST_F(SkinStoreTest, MissingOrDamagedSheetFailsTheRequestThatNeedsIt) {
    const fs::path over = folder / "Main_Over.bmp";
    struct Case {
        const char* name;
        std::function<void()> damage;
    };
    const Case cases[] = {
        {"missing", [&] { fs::remove(over); }},
        {"truncated", [&] { fs::resize_file(over, fs::file_size(over) - 100); }},
        {"not an image", [&] { std::ofstream(over, std::ios::binary) << "BM not really a bitmap"; }},
        {"empty", [&] { std::ofstream(over, std::ios::binary).close(); }},
        {"a folder", [&] { fs::remove(over), fs::create_directory(over); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        c.damage();
        messages.clear();
        exitCodes.clear();
        SkinStore store = makeStore();
        EXPECT_FALSE(store.controlLook(WindowId::Main, 1042, SkinState::Normal).isNull());
        EXPECT_TRUE(messages.empty());
        EXPECT_TRUE(store.controlLook(WindowId::Main, 1042, SkinState::Over).isNull());
        EXPECT_EQ(messages, std::vector<QString>{kFailure});
        EXPECT_EQ(exitCodes, std::vector<int>{0});
    }
}

TEST_F(SkinStoreTest, CheckFindsAnyMissingOrDamagedFileWithoutDecodingIt) {
    EXPECT_TRUE(makeStore().checkFiles());
    EXPECT_TRUE(messages.empty());

    const auto cutBy = [](int bytes) {
        return [bytes](const fs::path& file) { fs::resize_file(file, fs::file_size(file) - bytes); };
    };
    struct Case {
        const char* file;
        const char* damage;
        std::function<void(const fs::path&)> apply;
    };
    const Case cases[] = {
        {"AssignKey_Disable.bmp", "missing", [](const fs::path& f) { fs::remove(f); }},
        {"Scroll_Down.bmp", "truncated", cutBy(1)},
        {"Main_Normal.bmp", "not an image", [](const fs::path& f) { std::ofstream(f) << "BM not a bitmap"; }},
        {"ColorPalete.png", "truncated", cutBy(5)},
        {"ColorPalete.png", "missing its end", cutBy(12)},
        {"Talwyn.png", "trailing bytes", [](const fs::path& f) { std::ofstream(f, std::ios::app) << "x"; }},
        {"Slider1_Over.png", "empty", [](const fs::path& f) { std::ofstream(f).close(); }},
        {"Color_slider.png", "a folder", [](const fs::path& f) { fs::remove(f), fs::create_directory(f); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.damage);
        SetUp();
        c.apply(folder / c.file);
        messages.clear();
        EXPECT_FALSE(makeStore().checkFiles());
        EXPECT_EQ(messages, std::vector<QString>{kFailure});
    }
}

TEST_F(SkinStoreTest, ReadsOnlyTheFilesAWindowAsksForAndKeepsNoBitmap) {
    for (const auto& file : kSkinFiles) {
        if (file.role != SkinRole::MainSheet) {
            fs::remove(folder / std::string(file.name));
        }
    }
    SkinStore store = makeStore();
    EXPECT_FALSE(store.background(WindowId::Main).isNull());
    for (const auto& control : ui_layout::layoutOf(WindowId::Main).controls) {
        for (SkinState state : ui_layout::kAllSkinStates) {
            EXPECT_FALSE(store.controlLook(WindowId::Main, control.id, state).isNull()) << control.id;
        }
    }
    // An empty rectangle yields nothing but is no skin failure.
    EXPECT_TRUE(store.sheetCut(WindowId::Main, SkinState::Over, QRect(5, 5, 0, 4)).isNull());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(store.heldSheetCount(), 0u);
}

TEST_F(SkinStoreTest, DecodedPicturesLastUntilTheEventLoopRunsAndAreReadAgainWhenAsked) {
    SkinStore store = makeStore();
    // The lighting page's background is a PNG: decoded whole, shared by the requests of one turn.
    const QImage before = store.background(WindowId::ColorSettings);
    ASSERT_FALSE(before.isNull());
    EXPECT_EQ(store.heldSheetCount(), 1u);

    QCoreApplication::processEvents();
    EXPECT_EQ(store.heldSheetCount(), 0u);

    EXPECT_EQ(store.background(WindowId::ColorSettings), before);
    EXPECT_EQ(store.heldSheetCount(), 1u);
    QCoreApplication::processEvents();
    EXPECT_EQ(store.heldSheetCount(), 0u);

    // A picture gone from the folder after start fails like one missing at start.
    fs::remove(folder / "Color_Settings_BK.png");
    EXPECT_TRUE(store.background(WindowId::ColorSettings).isNull());
    EXPECT_EQ(messages, std::vector<QString>{kFailure});
}

TEST_F(SkinStoreTest, ImageFilesDecodeFromMemory) {
    QImage translucent(4, 4, QImage::Format_ARGB32);
    translucent.fill(qRgba(10, 200, 30, 0x80));
    const fs::path png = folder / "alpha.png";
    ASSERT_TRUE(translucent.save(QString::fromStdString(png.string()), "PNG"));
    const QImage loaded = loadImageFile(png);
    ASSERT_FALSE(loaded.isNull());
    EXPECT_EQ(qAlpha(loaded.pixel(1, 1)), 0x80);
    EXPECT_EQ(loadImageFile(folder / "Main_Down.bmp").size(), QSize(1024, 576));

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
} // namespace talwyn::skins
