#include "profiles/data_stream.h"

#include "profiles/file_system.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <system_error>

namespace talwyn {

namespace {

constexpr int32_t kMinGrowth = 1024;

} // namespace

DataStream::DataStream(Purpose purpose) {
    if (purpose == Purpose::Write) {
        buffer_.assign(kInitialWriteCapacity, 0);
        capacity_ = kInitialWriteCapacity;
    }
}

void DataStream::grow(int32_t count) {
    const int64_t grown = int64_t{capacity_} + std::max<int64_t>(2 * int64_t{count}, kMinGrowth);
    if (grown > std::numeric_limits<int32_t>::max())
        throw std::length_error("DataStream larger than 2 GiB");
    buffer_.resize(static_cast<size_t>(grown), 0);
    capacity_ = static_cast<int32_t>(grown);
}

void DataStream::writeFourInt32(const std::array<int32_t, 4>& values) {
    ensureSpace(16);
    for (int32_t value : values)
        writeInt32(value);
}

void DataStream::writeString(std::u16string_view text) {
    if (text.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max() / 2 - 4))
        throw std::length_error("string too long for a DataStream");
    const auto units = static_cast<int32_t>(text.size());
    ensureSpace(2 * units + 4);
    writeInt32(units);
    for (char16_t unit : text)
        writeInt16(static_cast<int16_t>(unit));
}

void DataStream::writeTextInt(int32_t value) {
    const std::string digits = std::to_string(value);
    writeString(std::u16string(digits.begin(), digits.end()));
}

std::array<int32_t, 4> DataStream::readFourInt32() {
    if (!require(16))
        return {};
    std::array<int32_t, 4> values{};
    for (int32_t& value : values)
        value = readInt32();
    return values;
}

std::u16string DataStream::readString() {
    const int32_t units = readInt32();
    if (failed_ || units <= 0)
        return {};
    // Checked before allocating: a damaged count must not reserve more than
    // the data can hold.
    if (!require(2 * int64_t{units}))
        return {};
    std::u16string text;
    text.reserve(static_cast<size_t>(units));
    for (int32_t i = 0; i < units; ++i)
        text.push_back(static_cast<char16_t>(readInt16()));
    return text;
}

int32_t DataStream::readTextInt() {
    return parseTextInt(readString());
}

void DataStream::skip(int32_t count) {
    take(count);
}

void DataStream::clear() {
    buffer_.clear();
    buffer_.shrink_to_fit();
    capacity_ = 0;
    length_ = 0;
    readPos_ = 0;
    failed_ = false;
}

void DataStream::loadBytes(std::span<const uint8_t> bytes) {
    if (bytes.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw std::length_error("DataStream larger than 2 GiB");
    std::vector<uint8_t> data(bytes.begin(), bytes.end()); // copied first: `bytes` may be our own buffer
    clear();
    buffer_ = std::move(data);
    capacity_ = static_cast<int32_t>(buffer_.size());
    length_ = capacity_;
}

bool DataStream::loadFile(const std::filesystem::path& path) {
    clear();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    // Sized through the open file, not the name: a save may rename a new file
    // over the name in between.
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || size > std::numeric_limits<int32_t>::max())
        return false;
    in.seekg(0);
    std::vector<uint8_t> data(static_cast<size_t>(size));
    in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (in.gcount() != static_cast<std::streamsize>(data.size()))
        return false;
    buffer_ = std::move(data);
    capacity_ = static_cast<int32_t>(size);
    length_ = capacity_;
    return true;
}

bool DataStream::saveFile(const std::filesystem::path& path) const {
    if (!path.has_filename())
        return false;
    // The target is always a file, so only its parent is walked: a name
    // without an extension must not turn into a folder.
    if (path.has_parent_path())
        ensureFolderFor(path.parent_path() / "");
    return replaceFile(path, bytes());
}

int32_t parseTextInt(std::u16string_view text) {
    auto isSpace = [](char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
    auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };

    size_t pos = 0;
    while (pos < text.size() && isSpace(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    // Accumulate the magnitude and stop growing once it passes the int32
    // range; the sign then picks the clamp.
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos)
        magnitude = std::min(magnitude * 10 + (text[pos] - u'0'), kLimit);
    if (negative)
        return static_cast<int32_t>(-magnitude);
    return static_cast<int32_t>(std::min<int64_t>(magnitude, std::numeric_limits<int32_t>::max()));
}

} // namespace talwyn
