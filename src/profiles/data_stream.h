#pragma once
// The little-endian byte stream that profile and macro files are written with:
// filled in memory, then saved or loaded in one piece.

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace talwyn {

class DataStream {
public:
    enum class Purpose { Read, Write };

    static constexpr int32_t kInitialWriteCapacity = 1024;

    // A write stream starts with room for 1024 bytes; a read stream starts
    // empty and is filled by loadFile or loadBytes.
    explicit DataStream(Purpose purpose = Purpose::Read);

    void writeByte(uint8_t value);
    void writeInt16(int16_t value);
    void writeInt32(int32_t value);
    void writeFourInt32(const std::array<int32_t, 4>& values);
    void writeString(std::u16string_view text);
    void writeTextInt(int32_t value);

    // Reads never go past `length`. A read that does not fit yields 0 (or an
    // empty string) and sets the sticky failed() flag; every later read then
    // fails too, so a caller checks once after a whole record.
    uint8_t readByte();
    int16_t readInt16();
    int32_t readInt32();
    std::array<int32_t, 4> readFourInt32();
    std::u16string readString();
    int32_t readTextInt();
    void skip(int32_t count);

    // True when `byteCount` more bytes are left; otherwise fails the stream.
    // Lets a reader check a count taken from the data before allocating.
    bool require(int64_t byteCount);

    bool failed() const { return failed_; }
    int32_t remaining() const { return length_ - readPos_; }

    // Makes room for `count` more bytes; grows by max(2 * count, 1024).
    void ensureSpace(int32_t count);

    // Replaces the contents with the whole file. False, leaving the stream
    // empty, when the file cannot be read.
    bool loadFile(const std::filesystem::path& path);
    // Replaces the contents with `bytes`, ready for reading from the start.
    void loadBytes(std::span<const uint8_t> bytes);

    // Writes the `length` bytes over `path` through a temporary file of this
    // save's own (replaceFile), so a failed save leaves the previous file
    // intact. Missing folders are created first.
    bool saveFile(const std::filesystem::path& path) const;

    // Frees the buffer; all counters back to 0.
    void clear();

    std::span<const uint8_t> bytes() const { return {buffer_.data(), static_cast<size_t>(length_)}; }
    int32_t capacity() const { return capacity_; }
    int32_t length() const { return length_; }
    int32_t readPos() const { return readPos_; }

private:
    void grow(int32_t count);
    // Where the next `count` bytes go; `length` already advanced.
    uint8_t* extend(int32_t count);
    // The next `count` bytes, consumed; null (and failed) when they are not there.
    const uint8_t* take(int32_t count);

    std::vector<uint8_t> buffer_;
    int32_t capacity_ = 0;
    int32_t length_ = 0;
    int32_t readPos_ = 0;
    bool failed_ = false;
};

// Decimal text to int32 the way a 32-bit wide-string-to-long conversion reads
// it: leading white space, optional sign, digits up to the first other
// character, out-of-range values clamped, no digits giving 0.
int32_t parseTextInt(std::u16string_view text);

// The single items are on every path of a file, so they stay inline.

inline void DataStream::ensureSpace(int32_t count) {
    if (count > 0 && capacity_ - length_ < count)
        grow(count);
}

inline uint8_t* DataStream::extend(int32_t count) {
    ensureSpace(count);
    uint8_t* at = buffer_.data() + length_;
    length_ += count;
    return at;
}

inline void DataStream::writeByte(uint8_t value) {
    *extend(1) = value;
}

inline void DataStream::writeInt16(int16_t value) {
    const auto bits = static_cast<uint16_t>(value);
    uint8_t* at = extend(2);
    at[0] = static_cast<uint8_t>(bits);
    at[1] = static_cast<uint8_t>(bits >> 8);
}

inline void DataStream::writeInt32(int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    uint8_t* at = extend(4);
    at[0] = static_cast<uint8_t>(bits);
    at[1] = static_cast<uint8_t>(bits >> 8);
    at[2] = static_cast<uint8_t>(bits >> 16);
    at[3] = static_cast<uint8_t>(bits >> 24);
}

inline bool DataStream::require(int64_t byteCount) {
    if (!failed_ && byteCount >= 0 && byteCount <= remaining())
        return true;
    failed_ = true;
    return false;
}

inline const uint8_t* DataStream::take(int32_t count) {
    if (!require(count))
        return nullptr;
    const uint8_t* at = buffer_.data() + readPos_;
    readPos_ += count;
    return at;
}

inline uint8_t DataStream::readByte() {
    const uint8_t* at = take(1);
    return at != nullptr ? at[0] : 0;
}

inline int16_t DataStream::readInt16() {
    const uint8_t* at = take(2);
    if (at == nullptr)
        return 0;
    return static_cast<int16_t>(static_cast<uint16_t>(at[0] | (at[1] << 8)));
}

inline int32_t DataStream::readInt32() {
    const uint8_t* at = take(4);
    if (at == nullptr)
        return 0;
    return static_cast<int32_t>(uint32_t{at[0]} | (uint32_t{at[1]} << 8) | (uint32_t{at[2]} << 16) |
                                (uint32_t{at[3]} << 24));
}

} // namespace talwyn
