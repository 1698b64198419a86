#include "skins/bitmap_sheet.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>

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
// Bytes of file rows fetched at once: small enough to stay in the heap's
// reused blocks, large enough that a control's look takes one or two reads.
constexpr qint64 kReadBytes = 64 * 1024;

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

// File pixels (blue, green, red) to opaque RGB32.
void widenRow(const unsigned char* source, QRgb* target, int width) {
    for (int x = 0; x < width; ++x, source += kBytesPerPixel) {
        if constexpr (std::endian::native == std::endian::little) {
            // Blue, green, red read little-endian are 0x..RRGGBB already.
            std::uint32_t pixel;
            std::memcpy(&pixel, source, sizeof pixel);
            target[x] = pixel | 0xFF000000u;
        } else {
            target[x] = qRgb(source[2], source[1], source[0]);
        }
    }
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
    // Unbuffered: rows go straight into the buffer they are widened from.
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
    if (inside.isEmpty()) {
        return {CutStatus::Done, image};
    }
    const int width = inside.width();
    const qint64 rowBytes = static_cast<qint64>(width) * kBytesPerPixel;
    const auto stride = static_cast<qint64>(layout.stride);
    // Rows that lie next to each other in the file come in one read: a cut
    // costs a few system calls, not two for every row.
    const int rowsPerRead = std::max(1, static_cast<int>(kReadBytes / stride));
    const qint64 bufferBytes =
        static_cast<qint64>(std::min(rowsPerRead, inside.height()) - 1) * stride + rowBytes;
    // One byte more: each pixel is widened from a four-byte load.
    const auto rows = std::make_unique_for_overwrite<unsigned char[]>(static_cast<size_t>(bufferBytes) + 1);
    for (int first = inside.top(); first <= inside.bottom(); first += rowsPerRead) {
        const int last = std::min(first + rowsPerRead - 1, inside.bottom());
        const auto lowestRow = static_cast<qint64>(std::min(layout.rowOffset(first), layout.rowOffset(last)));
        const qint64 spanBytes = static_cast<qint64>(last - first) * stride + rowBytes;
        const qint64 at = lowestRow + static_cast<qint64>(inside.left()) * kBytesPerPixel;
        if (!file.seek(at) || file.read(reinterpret_cast<char*>(rows.get()), spanBytes) != spanBytes) {
            return {};
        }
        for (int y = first; y <= last; ++y) {
            widenRow(rows.get() + (static_cast<qint64>(layout.rowOffset(y)) - lowestRow),
                     reinterpret_cast<QRgb*>(image.scanLine(y - rect.top())) + (inside.left() - rect.left()),
                     width);
        }
    }
    return {CutStatus::Done, image};
}

} // namespace talwyn::skins
