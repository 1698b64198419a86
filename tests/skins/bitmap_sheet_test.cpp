#include "skins/bitmap_sheet.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace talwyn::skins {
namespace {

namespace fs = std::filesystem;

struct BitmapForm {
    const char* name;
    int width;
    int height; // negative: rows stored top-down
    std::uint32_t infoSize = 40;
};

void put16(std::vector<unsigned char>& bytes, size_t at, std::uint16_t value) {
    bytes[at] = static_cast<unsigned char>(value);
    bytes[at + 1] = static_cast<unsigned char>(value >> 8);
}

void put32(std::vector<unsigned char>& bytes, size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<size_t>(i)] = static_cast<unsigned char>(value >> (8 * i));
    }
}

// A 24-bit uncompressed bitmap written byte by byte, each pixel a different
// colour, with non-zero row padding so a reader that copies it shows.
std::vector<unsigned char> plainBitmap(const BitmapForm& form) {
    const int rows = form.height < 0 ? -form.height : form.height;
    const size_t stride = (static_cast<size_t>(form.width) * 3 + 3) & ~size_t{3};
    const size_t pixelOffset = 14 + form.infoSize;
    std::vector<unsigned char> bytes(pixelOffset + stride * static_cast<size_t>(rows), 0xEE);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
    put32(bytes, 6, 0);
    put32(bytes, 10, static_cast<std::uint32_t>(pixelOffset));
    std::fill(bytes.begin() + 14, bytes.begin() + static_cast<std::ptrdiff_t>(pixelOffset), 0);
    put32(bytes, 14, form.infoSize);
    put32(bytes, 18, static_cast<std::uint32_t>(form.width));
    put32(bytes, 22, static_cast<std::uint32_t>(form.height));
    put16(bytes, 26, 1);
    put16(bytes, 28, 24);
    for (int y = 0; y < rows; ++y) {
        const int fileRow = form.height > 0 ? rows - 1 - y : y;
        for (int x = 0; x < form.width; ++x) {
            unsigned char* pixel =
                &bytes[pixelOffset + static_cast<size_t>(fileRow) * stride + 3 * static_cast<size_t>(x)];
            pixel[0] = static_cast<unsigned char>(40 * x + y);    // blue
            pixel[1] = static_cast<unsigned char>(7 * y + 100);   // green
            pixel[2] = static_cast<unsigned char>(x * y + 3 * x); // red
        }
    }
    return bytes;
}

class BitmapSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::path(TALWYN_TEST_TMP) / "bitmap_sheet" / info->name();
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    fs::path write(const std::string& name, const std::vector<unsigned char>& bytes) const {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    fs::path folder;
};

TEST_F(BitmapSheetTest, CutsMatchTheGeneralDecoderPixelForPixel) {
    const BitmapForm forms[] = {
        {"bottom-up, padded rows", 5, 3},
        {"top-down, padded rows", 5, -3},
        {"rows without padding", 8, 4},
        {"one pixel", 1, 1},
        {"newer info header", 7, 2, 124},
        // Wide enough that a cut takes several reads of a few rows each.
        {"bottom-up, rows over many reads", 3001, 30},
        {"top-down, rows over many reads", 3001, -30},
    };
    const std::optional<QRect> rects[] = {
        std::nullopt,      QRect(1, 1, 2, 1),   QRect(0, 0, 1, 1),    QRect(-2, -1, 4, 3),
        QRect(3, 1, 5, 5), QRect(10, 10, 2, 2), QRect(-1, -1, 12, 8), QRect(2990, 3, 15, 25),
    };
    for (const BitmapForm& form : forms) {
        const std::vector<unsigned char> bytes = plainBitmap(form);
        const fs::path path = write("sheet.bmp", bytes);
        const QImage decoded = QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
        ASSERT_FALSE(decoded.isNull()) << form.name;
        for (const auto& rect : rects) {
            SCOPED_TRACE(std::string(form.name) + (rect ? " cut" : " whole"));
            const SheetCut cut = cutBitmapFile(path, rect);
            const QImage expected = rect ? decoded.copy(*rect) : decoded;
            ASSERT_EQ(cut.status, CutStatus::Done);
            EXPECT_EQ(cut.image.format(), expected.format());
            EXPECT_EQ(cut.image, expected);
        }
    }
}

TEST_F(BitmapSheetTest, HeadersSayWhoReadsTheFile) {
    struct Case {
        const char* name;
        std::function<void(std::vector<unsigned char>&)> change;
        BitmapKind kind;
    };
    const Case cases[] = {
        {"plain", [](auto&) {}, BitmapKind::Plain},
        {"not a bitmap", [](auto& b) { b[0] = 0x89; }, BitmapKind::Other},
        {"32 bits a pixel", [](auto& b) { put16(b, 28, 32); }, BitmapKind::Other},
        {"compressed", [](auto& b) { put32(b, 30, 1); }, BitmapKind::Other},
        {"two planes", [](auto& b) { put16(b, 26, 2); }, BitmapKind::Other},
        {"core header", [](auto& b) { put32(b, 14, 12); }, BitmapKind::Other},
        {"no width", [](auto& b) { put32(b, 18, 0); }, BitmapKind::Other},
        {"negative width", [](auto& b) { put32(b, 18, 0xFFFFFFFB); }, BitmapKind::Other},
        {"no height", [](auto& b) { put32(b, 22, 0); }, BitmapKind::Other},
        {"huge height", [](auto& b) { put32(b, 22, 0x80000000); }, BitmapKind::Other},
        {"pixels inside the headers", [](auto& b) { put32(b, 10, 20); }, BitmapKind::Other},
        {"pixels past the end", [](auto& b) { put32(b, 10, 0xFFFFFF00); }, BitmapKind::Damaged},
        {"more rows than the file holds", [](auto& b) { put32(b, 22, 4); }, BitmapKind::Damaged},
        {"last row cut short", [](auto& b) { b.pop_back(); }, BitmapKind::Damaged},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> bytes = plainBitmap({"", 5, 3});
        c.change(bytes);
        const BitmapHeader header = readBitmapHeader(bytes, bytes.size());
        EXPECT_EQ(header.kind, c.kind) << c.name;
    }
    const std::vector<unsigned char> plain = plainBitmap({"", 5, -3});
    const BitmapHeader header = readBitmapHeader(plain, plain.size());
    EXPECT_EQ(header.layout.width, 5);
    EXPECT_EQ(header.layout.height, 3);
    EXPECT_FALSE(header.layout.bottomUp);
    EXPECT_EQ(header.layout.stride, 16u);
    EXPECT_EQ(readBitmapHeader(std::span(plain).first(kBitmapHeaderBytes - 1), plain.size()).kind,
              BitmapKind::Other);
}

TEST_F(BitmapSheetTest, FilesThatCannotBeCutSayWhy) {
    std::vector<unsigned char> truncated = plainBitmap({"", 5, 3});
    truncated.resize(truncated.size() - 7);
    QImage png(3, 3, QImage::Format_ARGB32);
    png.fill(Qt::red);
    ASSERT_TRUE(png.save(QString::fromStdString((folder / "picture.png").string()), "PNG"));
    struct Case {
        const char* name;
        fs::path path;
        CutStatus status;
    };
    const Case cases[] = {
        {"missing", folder / "absent.bmp", CutStatus::Failed},
        {"folder", folder, CutStatus::Failed},
        {"truncated", write("truncated.bmp", truncated), CutStatus::Failed},
        {"empty", write("empty.bmp", {}), CutStatus::NotPlain},
        {"PNG", folder / "picture.png", CutStatus::NotPlain},
    };
    for (const Case& c : cases) {
        const SheetCut cut = cutBitmapFile(c.path, QRect(0, 0, 2, 2));
        EXPECT_EQ(cut.status, c.status) << c.name;
        EXPECT_TRUE(cut.image.isNull()) << c.name;
    }
    const SheetCut empty = cutBitmapFile(write("plain.bmp", plainBitmap({"", 5, 3})), QRect(1, 1, 0, 2));
    EXPECT_EQ(empty.status, CutStatus::Done);
    EXPECT_TRUE(empty.image.isNull());
}

} // namespace
} // namespace talwyn::skins
