#include "skins/bitmap_sheet.h"

#include <QFile>

#include <array>
#include <cstring>

namespace talwyn::skins {

namespace {

// Offsets into the file header (14 bytes) and the info header after it.
constexpr std::size_t kPixelOffsetAt = 10;
constexpr std::size_t kInfoSizeAt = 14;
constexpr std::size_t kWidthAt = 18;
constexpr std::size_t kHeightAt = 22;
constexpr std::size_t kPlanesAt = 26;
constexpr std::size_t kBitsAt = 28;
constexpr std::size_t kCompressionAt = 30;
constexpr std::size_t kFileHeaderBytes = 14;

constexpr std::uint32_t kUncompressed = 0;
constexpr int kBytesPerPixel = 3;
// Larger than any window; keeps every offset computation far from overflow.
constexpr std::int64_t kMaxSide = 16384;

std::uint32_t le32(std::span<const unsigned char> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint16_t le16(std::span<const unsigned char> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// The info header forms that carry the same first fields; the shorter core
// form, whose fields are 16 bits wide, is left to the general decoder.
bool knownInfoSize(std::uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

} // namespace

std::uint64_t BitmapLayout::rowOffset(int y) const {
    const auto row = static_cast<std::uint64_t>(bottomUp ? height - 1 - y : y);
    return pixelOffset + row * stride;
}

BitmapHeader readBitmapHeader(std::span<const unsigned char> head, std::uintmax_t fileSize) {
    if (head.size() < kBitmapHeaderBytes || head[0] != 'B' || head[1] != 'M') {
        return {};
    }
    const std::uint32_t infoSize = le32(head, kInfoSizeAt);
    const std::uint32_t pixelOffset = le32(head, kPixelOffsetAt);
    const auto width = static_cast<std::int64_t>(static_cast<std::int32_t>(le32(head, kWidthAt)));
    const auto height = static_cast<std::int64_t>(static_cast<std::int32_t>(le32(head, kHeightAt)));
    if (!knownInfoSize(infoSize) || le16(head, kPlanesAt) != 1 || le16(head, kBitsAt) != 24 ||
        le32(head, kCompressionAt) != kUncompressed || width <= 0 || width > kMaxSide || height == 0 ||
        height > kMaxSide || height < -kMaxSide || pixelOffset < kFileHeaderBytes + infoSize) {
        return {};
    }
    BitmapLayout layout;
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(height < 0 ? -height : height);
    layout.bottomUp = height > 0;
    layout.pixelOffset = pixelOffset;
    layout.stride = (static_cast<std::uint64_t>(width) * kBytesPerPixel + 3) & ~std::uint64_t{3};
    const std::uint64_t end = layout.pixelOffset + layout.stride * static_cast<std::uint64_t>(layout.height);
    return {end > fileSize ? BitmapKind::Damaged : BitmapKind::Plain, layout};
}

SheetCut cutBitmapFile(const std::filesystem::path& path, const std::optional<QRect>& wanted) {
    // Unbuffered: every row is read straight into the image.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        return {};
    }
    std::array<unsigned char, kBitmapHeaderBytes> head{};
    if (file.read(reinterpret_cast<char*>(head.data()), head.size()) != static_cast<qint64>(head.size())) {
        return {CutStatus::NotPlain, {}}; // too short to be a plain bitmap: the decoder decides
    }
    const BitmapHeader header = readBitmapHeader(head, static_cast<std::uintmax_t>(file.size()));
    if (header.kind != BitmapKind::Plain) {
        return {header.kind == BitmapKind::Damaged ? CutStatus::Failed : CutStatus::NotPlain, {}};
    }
    const BitmapLayout& layout = header.layout;
    const QRect rect = wanted.value_or(QRect(0, 0, layout.width, layout.height));
    if (rect.isEmpty()) {
        return {CutStatus::Done, {}};
    }
    QImage image(rect.size(), QImage::Format_RGB32);
    if (image.isNull()) {
        return {};
    }
    const QRect inside = rect & QRect(0, 0, layout.width, layout.height);
    if (inside != rect) {
        image.fill(0u);
    }
    const int width = inside.width();
    const qint64 rowBytes = static_cast<qint64>(width) * kBytesPerPixel;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        uchar* target = image.scanLine(y - rect.top()) + (inside.left() - rect.left()) * 4;
        // The row's file pixels go to the end of its place in the image and
        // are widened front to back: pixel x is read before its four bytes
        // are written, and those end before pixel x + 1 starts.
        uchar* source = target + width;
        const auto at =
            static_cast<qint64>(layout.rowOffset(y)) + static_cast<qint64>(inside.left()) * kBytesPerPixel;
        if (!file.seek(at) || file.read(reinterpret_cast<char*>(source), rowBytes) != rowBytes) {
            return {};
        }
        for (int x = 0; x < width; ++x, source += kBytesPerPixel) {
            const QRgb pixel = qRgb(source[2], source[1], source[0]);
            std::memcpy(target + 4 * x, &pixel, sizeof pixel);
        }
    }
    return {CutStatus::Done, image};
}

} // namespace talwyn::skins
