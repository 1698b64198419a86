#include "profiles/data_stream.h"

#include "support/file_size_limit.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace talwyn {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes written(const std::function<void(DataStream&)>& write) {
    DataStream stream(DataStream::Purpose::Write);
    write(stream);
    return {stream.bytes().begin(), stream.bytes().end()};
}

DataStream readerOf(const Bytes& bytes) {
    DataStream stream;
    stream.loadBytes(bytes);
    return stream;
}

TEST(DataStream, EncodesEachItemLittleEndianWithoutPadding) {
    struct Case {
        const char* what;
        std::function<void(DataStream&)> write;
        Bytes expected;
    };
    const Case cases[] = {
        {"byte", [](DataStream& s) { s.writeByte(0xAB); }, {0xAB}},
        {"int16", [](DataStream& s) { s.writeInt16(0x1234); }, {0x34, 0x12}},
        {"negative int16", [](DataStream& s) { s.writeInt16(-2); }, {0xFE, 0xFF}},
        {"int32", [](DataStream& s) { s.writeInt32(0x01346411); }, {0x11, 0x64, 0x34, 0x01}},
        {"negative int32", [](DataStream& s) { s.writeInt32(-1); }, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"string", [](DataStream& s) { s.writeString(u"Ab\u00e9"); }, {3, 0, 0, 0, 'A', 0, 'b', 0, 0xE9, 0}},
        {"empty string", [](DataStream& s) { s.writeString(u""); }, {0, 0, 0, 0}},
        {"text integer 255",
         [](DataStream& s) { s.writeTextInt(255); },
         {3, 0, 0, 0, '2', 0, '5', 0, '5', 0}},
        {"text integer -7", [](DataStream& s) { s.writeTextInt(-7); }, {2, 0, 0, 0, '-', 0, '7', 0}},
        {"text integer 0xFFFF00",
         [](DataStream& s) { s.writeTextInt(0xFFFF00); },
         {8, 0, 0, 0, '1', 0, '6', 0, '7', 0, '7', 0, '6', 0, '9', 0, '6', 0, '0', 0}},
        {"four int32",
         [](DataStream& s) {
             s.writeFourInt32({1, -1, 0x100, 0});
         },
         {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 1, 0, 0, 0, 0, 0, 0}},
        {"items back to back",
         [](DataStream& s) {
             s.writeByte(1);
             s.writeInt32(2);
             s.writeInt16(3);
         },
         {1, 2, 0, 0, 0, 3, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(written(c.write), c.expected) << c.what;
}

TEST(DataStream, ReadsBackWhatItWrote) {
    DataStream out(DataStream::Purpose::Write);
    out.writeByte(200);
    out.writeInt16(-12345);
    out.writeInt32(std::numeric_limits<int32_t>::min());
    out.writeFourInt32({-4, 3, -2, 1});
    out.writeString(u"\xD800x"); // a lone surrogate survives untouched
    out.writeTextInt(std::numeric_limits<int32_t>::min());
    out.writeTextInt(std::numeric_limits<int32_t>::max());

    DataStream in = readerOf({out.bytes().begin(), out.bytes().end()});
    EXPECT_EQ(in.readByte(), 200);
    EXPECT_EQ(in.readInt16(), -12345);
    EXPECT_EQ(in.readInt32(), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(in.readFourInt32(), (std::array<int32_t, 4>{-4, 3, -2, 1}));
    EXPECT_EQ(in.readString(), u"\xD800x");
    EXPECT_EQ(in.readTextInt(), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(in.readTextInt(), std::numeric_limits<int32_t>::max());
    EXPECT_FALSE(in.failed());
    EXPECT_EQ(in.remaining(), 0);

    in.loadBytes(in.bytes()); // reloading its own contents starts over
    EXPECT_EQ(in.readByte(), 200);
}

TEST(DataStream, WriteStreamStartsWith1024BytesAndGrowsByAtLeastTwiceTheRequest) {
    DataStream stream(DataStream::Purpose::Write);
    EXPECT_EQ(stream.capacity(), 1024);
    EXPECT_EQ(stream.length(), 0);

    stream.ensureSpace(1024);
    EXPECT_EQ(stream.capacity(), 1024) << "enough room: nothing happens";
    stream.writeString(std::u16string(600, u'x')); // 1204 bytes: grows by 2 * 1204
    EXPECT_EQ(stream.capacity(), 1024 + 2 * 1204);
    EXPECT_EQ(stream.length(), 1204);

    DataStream full(DataStream::Purpose::Write);
    full.writeString(std::u16string(510, u'x')); // exactly 1024 bytes
    EXPECT_EQ(full.capacity(), 1024);
    full.writeByte(1);
    EXPECT_EQ(full.capacity(), 2048) << "small requests grow by 1024";
    EXPECT_EQ(full.bytes().back(), 1);

    stream.clear();
    EXPECT_EQ(stream.capacity(), 0);
    EXPECT_EQ(stream.length(), 0);
    EXPECT_EQ(stream.readPos(), 0);

    DataStream reader;
    EXPECT_EQ(reader.capacity(), 0);
}

TEST(DataStream, ReadPastTheEndFailsAndStaysFailed) {
    struct Case {
        const char* what;
        Bytes data;
        std::function<void(DataStream&)> read;
    };
    const Case cases[] = {
        {"byte from nothing", {}, [](DataStream& s) { EXPECT_EQ(s.readByte(), 0); }},
        {"int16 from one byte", {7}, [](DataStream& s) { EXPECT_EQ(s.readInt16(), 0); }},
        {"int32 from three bytes", {1, 2, 3}, [](DataStream& s) { EXPECT_EQ(s.readInt32(), 0); }},
        {"four int32 from 15 bytes", Bytes(15, 1),
         [](DataStream& s) { EXPECT_EQ(s.readFourInt32(), (std::array<int32_t, 4>{})); }},
        {"string count beyond data",
         {2, 0, 0, 0, 'a', 0},
         [](DataStream& s) { EXPECT_EQ(s.readString(), u""); }},
        {"huge string count",
         {0xFF, 0xFF, 0xFF, 0x7F},
         [](DataStream& s) { EXPECT_EQ(s.readString(), u""); }},
        {"text integer cut short",
         {3, 0, 0, 0, '2', 0, '5', 0},
         [](DataStream& s) { EXPECT_EQ(s.readTextInt(), 0); }},
        {"skip beyond data", {1, 2}, [](DataStream& s) { s.skip(3); }},
        {"negative skip", {1, 2}, [](DataStream& s) { s.skip(-1); }},
    };
    for (const Case& c : cases) {
        DataStream stream = readerOf(c.data);
        c.read(stream);
        EXPECT_TRUE(stream.failed()) << c.what;
        EXPECT_LE(stream.readPos(), stream.length()) << c.what;
    }

    DataStream stream = readerOf({1, 2, 3});
    stream.readInt32();
    EXPECT_EQ(stream.readByte(), 0) << "a failed stream yields nothing more, even where data is left";
    EXPECT_TRUE(stream.failed());
}

TEST(DataStream, NonPositiveStringCountGivesEmptyString) {
    DataStream stream = readerOf({0xFF, 0xFF, 0xFF, 0xFF, 9});
    EXPECT_EQ(stream.readString(), u"");
    EXPECT_FALSE(stream.failed());
    EXPECT_EQ(stream.readByte(), 9);
}

TEST(DataStream, TextIntegersConvertLikeA32BitWideToLong) {
    const struct {
        std::u16string text;
        int32_t expected;
    } cases[] = {
        {u"255", 255},
        {u"  \t-42", -42},
        {u"+17", 17},
        {u"12abc", 12},
        {u"abc", 0},
        {u"", 0},
        {u"-", 0},
        {u" - 5", 0},
        {u"2147483647", 2147483647},
        {u"2147483648", 2147483647},
        {u"99999999999999999999", 2147483647},
        {u"-2147483648", std::numeric_limits<int32_t>::min()},
        {u"-2147483649", std::numeric_limits<int32_t>::min()},
        {u"-99999999999999999999", std::numeric_limits<int32_t>::min()},
        {u"000016776960", 16776960},
        {u"\u0663", 0}, // digits of other scripts are not decimal digits here
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseTextInt(c.text), c.expected) << std::string(c.text.begin(), c.text.end());
}

TEST(DataStream, SavesAndLoadsWholeFiles) {
    testing::ScratchFolder tmp;
    const auto file = tmp / "nested/deeper/data.bin";
    DataStream out(DataStream::Purpose::Write);
    out.writeInt32(0x01020304);
    out.writeString(u"hi");
    ASSERT_TRUE(out.saveFile(file)) << "missing folders are created";
    EXPECT_EQ(testing::readBytes(file), (Bytes{4, 3, 2, 1, 2, 0, 0, 0, 'h', 0, 'i', 0}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp / "nested/deeper"), {}), 1)
        << "only the file, no temporary";

    DataStream in;
    ASSERT_TRUE(in.loadFile(file));
    EXPECT_EQ(in.length(), 12);
    EXPECT_EQ(in.capacity(), 12);
    EXPECT_EQ(in.readPos(), 0);
    EXPECT_EQ(in.readInt32(), 0x01020304);
    EXPECT_EQ(in.readString(), u"hi");

    EXPECT_FALSE(in.loadFile(tmp / "missing.bin"));
    EXPECT_EQ(in.length(), 0) << "a failed load leaves the stream empty";
    EXPECT_FALSE(in.loadFile(tmp.path())) << "a folder is not a file";
}

TEST(DataStream, ExtensionlessTargetIsSavedAsAFile) {
    testing::ScratchFolder tmp;
    DataStream out(DataStream::Purpose::Write);
    out.writeByte(1);
    ASSERT_TRUE(out.saveFile(tmp / "sub/plain"));
    EXPECT_TRUE(std::filesystem::is_regular_file(tmp / "sub/plain"));
}

TEST(DataStream, FailedSaveKeepsThePreviousFile) {
    testing::ScratchFolder tmp;
    const auto file = tmp / "keep.bin";
    testing::writeBytes(file, {1, 2, 3});

    DataStream out(DataStream::Purpose::Write);
    out.writeInt32(99);
    {
        // The new contents cannot be written in full.
        const testing::ScopedFileSizeLimit limit(2);
        EXPECT_FALSE(out.saveFile(file));
    }
    EXPECT_EQ(testing::readBytes(file), (Bytes{1, 2, 3}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.path()), {}), 1)
        << "the temporary file is gone";

    EXPECT_FALSE(out.saveFile(tmp.path())) << "a folder cannot be replaced by a file";
    EXPECT_TRUE(std::filesystem::is_directory(tmp.path()));
}

} // namespace
} // namespace talwyn
