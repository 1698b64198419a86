#include "skins/file_check.h"

#include "skins/bitmap_sheet.h"

#include <QFile>
#include <QImageReader>

#include <array>
#include <cstdint>
#include <string_view>

namespace talwyn::skins {

namespace {

constexpr QByteArrayView kPngSignature("\x89PNG\r\n\x1a\n");
constexpr QByteArrayView kBitmapSignature("BM");
// Length and type before a chunk's data, its checksum after.
constexpr qint64 kChunkHeadBytes = 8;
constexpr qint64 kChunkTailBytes = 4;

std::uint32_t be32(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
           static_cast<std::uint32_t>(bytes[2]) << 8 | static_cast<std::uint32_t>(bytes[3]);
}

// Walks the chunk lengths: a truncated or padded file, or one with a length
// running past its end, never ends on the end chunk at the end of the file.
bool pngChunksWhole(QFile& file) {
    qint64 at = static_cast<qint64>(kPngSignature.size());
    bool first = true;
    while (at + kChunkHeadBytes + kChunkTailBytes <= file.size()) {
        std::array<unsigned char, kChunkHeadBytes> head{};
        if (!file.seek(at) ||
            file.read(reinterpret_cast<char*>(head.data()), kChunkHeadBytes) != kChunkHeadBytes) {
            return false;
        }
        const std::string_view type(reinterpret_cast<const char*>(head.data()) + 4, 4);
        if (first && type != "IHDR") {
            return false;
        }
        first = false;
        at += kChunkHeadBytes + static_cast<qint64>(be32(head.data())) + kChunkTailBytes;
        if (type == "IEND") {
            return at == file.size();
        }
    }
    return false;
}

} // namespace

bool imageFileLooksWhole(const std::filesystem::path& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        return false;
    }
    std::array<unsigned char, kBitmapHeaderBytes> head{};
    const qint64 got = file.read(reinterpret_cast<char*>(head.data()), head.size());
    if (got == static_cast<qint64>(head.size())) {
        const BitmapKind kind = readBitmapHeader(head, static_cast<std::uintmax_t>(file.size())).kind;
        if (kind != BitmapKind::Other) {
            return kind == BitmapKind::Plain;
        }
        if (imageFormatOf(QByteArrayView(head.data(), head.size())) == "PNG") {
            return pngChunksWhole(file);
        }
    }
    file.close();
    QImageReader reader(QString::fromStdU16String(path.u16string()));
    return reader.canRead() && reader.size().isValid();
}

QByteArray imageFormatOf(QByteArrayView head) {
    if (head.startsWith(kPngSignature)) {
        return "PNG";
    }
    if (head.startsWith(kBitmapSignature)) {
        return "BMP";
    }
    return {};
}

} // namespace talwyn::skins
