#pragma once
// Plain bitmap sheets (uncompressed, 24 bits a pixel) are read a rectangle at
// a time: a control's look costs the rows it covers, not the decoding of the
// whole window picture it is cut from.

#include <QImage>
#include <QRect>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace talwyn::skins {

// Where a plain bitmap keeps its pixels.
struct BitmapLayout {
    int width = 0;
    int height = 0;
    bool bottomUp = true;
    std::uint64_t pixelOffset = 0;
    std::uint64_t stride = 0;

    // File offset of row `y`, counted from the top of the picture.
    std::uint64_t rowOffset(int y) const;
};

enum class BitmapKind {
    Plain,   // a layout we read ourselves
    Other,   // some other image: the general decoder decides
    Damaged, // a plain bitmap whose pixels run past the end of the file
};

struct BitmapHeader {
    BitmapKind kind = BitmapKind::Other;
    BitmapLayout layout;
};

// Bytes of the file's start that readBitmapHeader looks at.
inline constexpr std::size_t kBitmapHeaderBytes = 34;

// Reads the file and info headers from the file's first bytes.
BitmapHeader readBitmapHeader(std::span<const unsigned char> head, std::uintmax_t fileSize);

enum class CutStatus { Done, NotPlain, Failed };

struct SheetCut {
    CutStatus status = CutStatus::Failed;
    QImage image;
};

// `rect` of a plain bitmap file (the whole picture without one), pixel for
// pixel what decoding the whole file and copying `rect` gives: RGB32, zero
// outside the picture, a null image for an empty rectangle. NotPlain for a
// file that is not a plain bitmap; Failed for a missing, unreadable or
// damaged one.
SheetCut cutBitmapFile(const std::filesystem::path& path, const std::optional<QRect>& rect = std::nullopt);

} // namespace talwyn::skins
