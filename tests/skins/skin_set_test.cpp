// The skin folder the build draws: every file decodes in its format and size,
// every control's looks are cut from consistent sheets, and the generator
// reports failures instead of leaving broken files.

#include "ui_layout/control_table.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

namespace {

using namespace talwyn::ui_layout;
namespace fs = std::filesystem;

const fs::path kSkinDir = fs::path(TALWYN_BIN_DIR) / kSkinFolderName;

QString qPath(const fs::path& p) {
    return QString::fromStdString(p.string());
}

QImage loadSkin(std::string_view name) {
    return QImage(qPath(kSkinDir / std::string(name)));
}

std::map<SkinState, QImage> sheetsOf(const WindowLayout& w) {
    std::map<SkinState, QImage> sheets;
    for (auto s : kAllSkinStates) {
        if (const auto f = sheetFor(w.sheets, s)) {
            sheets[s] = loadSkin(f->name);
        }
    }
    return sheets;
}

QImage cut(const QImage& sheet, const Rect& r) {
    return sheet.copy(r.x, r.y, r.width, r.height);
}

TEST(GeneratedSkins, EveryFileDecodesInItsFormatAndSize) {
    for (const auto& f : allGeneratedFiles()) {
        SCOPED_TRACE(std::string(f.name));
        const fs::path path = kSkinDir / std::string(f.name);
        // The content must match the name, not only the extension.
        std::ifstream in(path, std::ios::binary);
        std::string magic(4, '\0');
        in.read(magic.data(), 4);
        if (f.format == SkinFormat::Png) {
            EXPECT_EQ(magic, "\x89PNG");
        } else {
            EXPECT_EQ(magic.substr(0, 2), "BM");
        }
        QImageReader reader(qPath(path));
        const QImage img = reader.read();
        ASSERT_FALSE(img.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(img.width(), f.size.width);
        EXPECT_EQ(img.height(), f.size.height);
        if (f.format == SkinFormat::Png) {
            EXPECT_TRUE(img.hasAlphaChannel());
        }
    }
}

TEST(GeneratedSkins, NoTemporaryFilesAreLeftBehind) {
    for (const auto& entry : fs::directory_iterator(kSkinDir)) {
        EXPECT_TRUE(findSkinFile(entry.path().filename().string()).has_value()) << entry.path();
    }
}

TEST(GeneratedSkins, ControlRectanglesLieInsideEverySheet) {
    for (const auto& w : kWindows) {
        for (const auto& [state, sheet] : sheetsOf(w)) {
            ASSERT_FALSE(sheet.isNull()) << w.name;
            const Size size{sheet.width(), sheet.height()};
            for (const auto& c : w.controls) {
                EXPECT_TRUE(c.rect.liesInside(size))
                    << w.name << " control " << c.id << " state " << int(state);
            }
        }
    }
}

// Each state of an interactive control must look different from every other
// state, or the user would not see hover, press or a disabled control.
TEST(GeneratedSkins, StateSheetsDifferInsideEveryInteractiveControl) {
    for (const auto& w : kWindows) {
        const auto sheets = sheetsOf(w);
        ASSERT_GE(sheets.size(), 3u) << w.name;
        for (const auto& c : w.controls) {
            if (!usesStateImages(c.kind)) {
                continue;
            }
            for (auto a = sheets.begin(); a != sheets.end(); ++a) {
                for (auto b = std::next(a); b != sheets.end(); ++b) {
                    EXPECT_NE(cut(a->second, c.rect), cut(b->second, c.rect))
                        << w.name << " control " << c.id << ": states " << int(a->first) << " and "
                        << int(b->first) << " look the same";
                }
            }
        }
    }
}

// Outside the controls a window's sheets are the same picture, so a cut look
// never carries a stray piece of another state's drawing.
TEST(GeneratedSkins, SheetsAgreeOutsideTheControls) {
    for (const auto& w : kWindows) {
        const auto sheets = sheetsOf(w);
        const QImage& normal = sheets.at(SkinState::Normal);
        std::vector<bool> inControl(std::size_t(normal.width() * normal.height()), false);
        for (const auto& c : w.controls) {
            for (int y = c.rect.top(); y < c.rect.bottom(); ++y) {
                for (int x = c.rect.left(); x < c.rect.right(); ++x) {
                    inControl[std::size_t(y * normal.width() + x)] = true;
                }
            }
        }
        for (const auto& [state, sheet] : sheets) {
            int differing = 0;
            QPoint first;
            for (int y = 0; y < normal.height(); ++y) {
                for (int x = 0; x < normal.width(); ++x) {
                    if (!inControl[std::size_t(y * normal.width() + x)] &&
                        sheet.pixel(x, y) != normal.pixel(x, y)) {
                        first = differing++ == 0 ? QPoint(x, y) : first;
                    }
                }
            }
            EXPECT_EQ(differing, 0) << w.name << " state " << int(state) << ", first at " << first.x() << ","
                                    << first.y();
        }
    }
}

int accentPixels(const QImage& sheet, const Rect& r) {
    int n = 0;
    for (int y = r.top(); y < r.bottom(); ++y) {
        for (int x = r.left(); x < r.right(); ++x) {
            const QRgb c = sheet.pixel(x, y);
            n += std::abs(qRed(c) - 0x32) < 12 && std::abs(qGreen(c) - 0xEB) < 12 &&
                 std::abs(qBlue(c) - 0xA5) < 12;
        }
    }
    return n;
}

// Check boxes and switches read as checked in the Down sheet and unchecked in
// the Disable sheet, the two looks the pages take them from.
TEST(GeneratedSkins, CheckBoxesAreCheckedInDownAndClearInDisable) {
    int boxes = 0;
    for (const auto& w : kWindows) {
        const auto sheets = sheetsOf(w);
        if (!sheets.contains(SkinState::Disable)) {
            continue;
        }
        for (const auto& c : w.controls) {
            if (c.kind != ControlKind::CheckBox) {
                continue;
            }
            ++boxes;
            const int area = c.rect.width * c.rect.height;
            EXPECT_GT(accentPixels(sheets.at(SkinState::Down), c.rect), area / 4)
                << w.name << " control " << c.id;
            EXPECT_EQ(accentPixels(sheets.at(SkinState::Disable), c.rect), 0)
                << w.name << " control " << c.id;
        }
    }
    EXPECT_GT(boxes, 0);
}

TEST(GeneratedSkins, MousePictureIsClearOnlyInsideTheLightingZones) {
    const QImage mouse = loadSkin("Talwyn.png");
    ASSERT_FALSE(mouse.isNull());
    for (const Rect& zone : {kMouseZone1, kMouseZone2}) {
        const QPoint centre(zone.x + zone.width / 2, zone.y + zone.height / 2 - 4);
        EXPECT_LT(qAlpha(mouse.pixel(centre)), 255) << "zone at " << zone.x << "," << zone.y;
    }
    // The shell between the two zones is solid.
    EXPECT_EQ(qAlpha(mouse.pixel(132, 230)), 255);
    EXPECT_EQ(qAlpha(mouse.pixel(60, 240)), 255);
}

TEST(GeneratedSkins, ThumbsAreOpaqueWhereTheyAreDrawnAndClearAtTheCorners) {
    for (std::string_view name : {"Slider_Normal.png", "Slider_Disable.png", "Slider3_Over.png"}) {
        const QImage thumb = loadSkin(name);
        ASSERT_FALSE(thumb.isNull()) << name;
        EXPECT_EQ(qAlpha(thumb.pixel(thumb.width() / 2, thumb.height() / 2)), 255) << name;
        EXPECT_EQ(qAlpha(thumb.pixel(0, 0)), 0) << name;
    }
    EXPECT_NE(loadSkin("Slider_Normal.png"), loadSkin("Slider_Disable.png"));
}

class GeneratorRun : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    int run(const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral(TALWYN_SKINGEN), args);
        if (!p.waitForFinished(60000)) {
            return -1;
        }
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    // One folder per test: ctest runs the cases as parallel processes.
    const fs::path dir_ = fs::path(TALWYN_TEST_TMP) / "skingen" /
                          ::testing::UnitTest::GetInstance()->current_test_info()->name();
};

TEST_F(GeneratorRun, ContactSheetShowsEveryPicture) {
    const fs::path sheet = dir_ / "contact.png";
    ASSERT_EQ(run({QStringLiteral("--contact-sheet"), qPath(sheet)}), 0);
    const QImage img(qPath(sheet));
    ASSERT_FALSE(img.isNull());
    // Six labelled cells of at least 250 x 190 per row, one cell per picture.
    const int rows = int((kGeneratedFileCount + 5) / 6);
    EXPECT_GE(img.width(), 6 * 250);
    EXPECT_GE(img.height(), rows * 190);
}

TEST_F(GeneratorRun, ReportsAnUnwritableFolderAndKeepsTheOldFile) {
    // A plain file where the skin folder should be.
    const fs::path blocked = dir_ / "blocked";
    std::ofstream(blocked) << "keep me";
    EXPECT_EQ(run({qPath(blocked)}), 1);
    std::ifstream in(blocked);
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "keep me");
}

TEST_F(GeneratorRun, RejectsUnknownArguments) {
    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(run({QStringLiteral("--bogus")}), 2);
    EXPECT_EQ(run({QStringLiteral("--contact-sheet")}), 2);
}

TEST_F(GeneratorRun, ReplacesAnExistingSetWithIdenticalPictures) {
    const fs::path out = dir_ / "set";
    fs::create_directories(out);
    std::ofstream(out / "Main_Normal.bmp") << "stale";
    ASSERT_EQ(run({qPath(out)}), 0);
    for (std::string_view name : {"Main_Normal.bmp", "Talwyn.png", "TQA2-2.bmp"}) {
        EXPECT_EQ(QImage(qPath(out / std::string(name))), loadSkin(name)) << name;
    }
}

} // namespace
