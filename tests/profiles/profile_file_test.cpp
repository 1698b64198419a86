#include "profiles/profile_file.h"

#include "support/file_size_limit.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <thread>

namespace talwyn {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes fromHex(const std::string& hex) {
    Bytes bytes;
    std::istringstream in(hex);
    std::string pair;
    while (in >> pair)
        bytes.push_back(static_cast<uint8_t>(std::stoul(pair, nullptr, 16)));
    return bytes;
}

// The file a freshly constructed record is saved as, item by item.
const Bytes kDefaultFile =
    fromHex("11 64 34 01"                                            // magic
            " 07 00 00 00 70 00 72 00 6F 00 66 00 69 00 6C 00 65 00" // name "profile"
            " 01 00 00 00"                                           // enabled
            " B3 00 01 00 20 03 02 00"             // reservedA 179, interval 1, 800, lines 2
            " 01 00 00 00 00 00 00 00 00 00 00 00" // by line, by page, acceleration
            " 00 00 00 00 00 00 00 00"             // dpiEntryFlag, reservedB
            " 05 02"                               // level count, active level
            " 90 01 90 01 20 03 20 03 40 06 40 06 80 0C 80 0C 38 4A 38 4A" // 400 .. 19000
            " 06 00 00 00"       // pointer speed, ripple (int16), angle snap
            " 01 00 00 00 00 00" // lift-off, surface quality
            " 08 00 00 00 31 00 36 00 37 00 37 00 36 00 39 00 36 00 30 00" // colour 1 "16776960"
            " 08 00 00 00 31 00 36 00 37 00 37 00 36 00 39 00 36 00 30 00" // colour 2
            " 05 00 00 00"                                                 // brightness
            " 08 00 00 00 31 00 36 00 37 00 37 00 36 00 39 00 36 00 30 00" // colour 3
            " 08 00 00 00 31 00 36 00 37 00 37 00 36 00 39 00 36 00 30 00" // colour 4
            " 10 00 00 00 01 00 00 00"                                     // zones, effect
            " 00 00 00 00 00 00 00 00 00"                                  // reservedC, reservedD, reservedE
            " 03 00 00 00 32 00 35 00 35 00"                               // picker colour "255"
            " 00 00 00 00 01 01 00 00 02 02 00 00 03 03 00 00 04 04 00 00" // buttons 0..4
            " 05 07 00 00 06 0F 00 00 07 0F 00 00 08 0F 00 00"             // buttons 5..8
            " 00 00 00 00 00 00 00 00 00 00 00 00"                         // nine empty macros
            " 00 00 00 00 00 00 00 00 00 00 00 00"
            " 00 00 00 00 00 00 00 00 00 00 00 00"
            " 00 00 00 00 00 00 00 00 00 00 00 00"
            " 00 00 00 00 00 00 00 00 00 00 00 00"
            " 00 00 00 00 00 00 00 00 00 00 00 00"
            " 00 00 00 00 00 00 00 00 00 00 00 00"
            " 00 00 00 00 00 00 00 00 00 00 00 00"
            " 00 00 00 00 00 00 00 00 00 00 00 00");

Bytes serialized(const ProfileData& record) {
    DataStream stream(DataStream::Purpose::Write);
    writeProfile(stream, record);
    return {stream.bytes().begin(), stream.bytes().end()};
}

ProfileLoad deserialize(const Bytes& bytes, ProfileData& record) {
    DataStream stream;
    stream.loadBytes(bytes);
    return readProfile(stream, record);
}

// Every stored field away from its default, two macros with events.
ProfileData busyProfile() {
    ProfileData p;
    p.name = u"Sniper \u00e9\U0001F3AF";
    p.enabled = 0;
    p.reservedA = 0xFFFF;
    p.reportInterval = 8;
    p.doubleClickSpeed = -3;
    p.scrollLines = 9;
    p.scrollByLine = 0;
    p.scrollByPage = 1;
    p.accelEnabled = 1;
    p.dpiEntryFlag = 0x11223344;
    p.reservedB = -5;
    p.dpiLevelCount = 3;
    p.activeDpiLevel = 1;
    p.dpi = {{{100, 101}, {200, 202}, {-300, 303}, {0, 0}, {32767, -32768}}};
    p.pointerSpeed = 20;
    p.rippleOff = 1;
    p.angleSnapOff = 1;
    p.liftOff = 2;
    p.surfaceQuality = 77;
    p.lightColors = {0x0000FF, 0xFFFFFFFF, 0, 0x123456};
    p.lightBrightness = 3;
    p.lightZones = 0x1F;
    p.lightEffect = 4;
    p.reservedC = 6;
    p.reservedD = 7;
    p.reservedE = 8;
    p.pickerColor = -1;
    p.buttons[2] = {2, function_code::kSingleKey, 0x41, 2, 0};
    p.buttons[4] = {4, function_code::kMacro, 12, 4, 0};
    p.macros[4] = {u"combo", 12, {{1, 0x41, 0, 10}, {1, 0x41, 1, 0}, {16, 1, 0, -1}}};
    p.macros[8] = {u"", 99, {{17, -120, 0, 5}}};
    return p;
}

TEST(ProfileFile, DefaultRecordHasTheExactLayout) {
    EXPECT_EQ(serialized(ProfileData{}), kDefaultFile);

    testing::ScratchFolder tmp;
    ASSERT_TRUE(saveProfile(tmp / "Profiles/Default1.profile", ProfileData{}));
    EXPECT_EQ(testing::readBytes(tmp / "Profiles/Default1.profile"), kDefaultFile);
}

TEST(ProfileFile, FieldEncodings) {
    constexpr size_t kRippleOffset = 77; // fixed while the name is "profile"
    ProfileData ripple;
    ripple.rippleOff = 1;
    Bytes bytes = serialized(ripple);
    EXPECT_EQ(bytes[kRippleOffset], 0x01);
    EXPECT_EQ(bytes[kRippleOffset + 1], 0x00) << "rippleOff 1 is stored as 01 00";

    ripple.rippleOff = 0x80;
    bytes = serialized(ripple);
    EXPECT_EQ(bytes[kRippleOffset], 0x80);
    EXPECT_EQ(bytes[kRippleOffset + 1], 0xFF) << "the byte is sign-extended to 16 bits";
    ProfileData back;
    ASSERT_EQ(deserialize(bytes, back), ProfileLoad::Loaded);
    EXPECT_EQ(back.rippleOff, 0x80) << "only the low byte is read back";

    ProfileData macro;
    macro.macros[0] = {u"m", 0x0102, {}};
    bytes = serialized(macro);
    const Bytes macroRecord(bytes.end() - 8 * 12 - 14, bytes.end() - 8 * 12);
    EXPECT_EQ(macroRecord, fromHex("02 01 00 00 01 00 00 00 6D 00 00 00 00 00"))
        << "a macro without events is its id, its name and the count 0";

    ProfileData events;
    events.macros[8] = {u"", 7, {{1, 0x41, 1, 300}}};
    bytes = serialized(events);
    EXPECT_EQ(Bytes(bytes.end() - 20, bytes.end()),
              fromHex("07 00 00 00 00 00 00 00 01 00 00 00 01 41 00 01 2C 01 00 00"));
}

TEST(ProfileFile, RoundTripKeepsStoredFieldsAndLeavesTheOthers) {
    const ProfileData saved = busyProfile();
    ProfileData loaded;
    loaded.filePath = "/slot/file";
    loaded.slotIndex = 3;
    loaded.accelLevel = 9;
    loaded.buttons[2].defaultFunction = 11;
    loaded.macros[0].events.push_back({1, 1, 1, 1}); // replaced by the file's empty list

    ASSERT_EQ(deserialize(serialized(saved), loaded), ProfileLoad::Loaded);

    ProfileData expected = saved;
    expected.filePath = "/slot/file";
    expected.slotIndex = 3;
    expected.accelLevel = 9;
    expected.buttons[2].defaultFunction = 11;
    EXPECT_EQ(loaded, expected);

    ProfileData unnamed;
    unnamed.name.clear();
    ProfileData back;
    ASSERT_EQ(deserialize(serialized(unnamed), back), ProfileLoad::Loaded);
    EXPECT_EQ(back, unnamed);
}

TEST(ProfileFile, FileRoundTripIsByteIdentical) {
    testing::ScratchFolder tmp;
    ASSERT_TRUE(saveProfile(tmp / "a.profile", busyProfile()));
    ProfileData loaded;
    ASSERT_EQ(loadProfile(tmp / "a.profile", loaded), ProfileLoad::Loaded);
    ASSERT_TRUE(saveProfile(tmp / "b.profile", loaded));
    EXPECT_EQ(testing::readBytes(tmp / "a.profile"), testing::readBytes(tmp / "b.profile"));
}

TEST(ProfileFile, EveryTruncationLeavesTheRecordUnchanged) {
    const Bytes full = serialized(busyProfile());
    ProfileData target;
    target.name = u"untouched";
    target.macros[4] = {u"kept", 5, {{1, 2, 0, 3}}};
    const ProfileData before = target;
    for (size_t length = 0; length < full.size(); ++length) {
        const ProfileLoad result = deserialize(Bytes(full.begin(), full.begin() + length), target);
        ASSERT_EQ(result, ProfileLoad::Truncated) << "length " << length;
        ASSERT_EQ(target, before) << "length " << length;
    }

    testing::ScratchFolder tmp;
    testing::writeBytes(tmp / "short.profile", Bytes(full.begin(), full.end() - 1));
    EXPECT_EQ(loadProfile(tmp / "short.profile", target), ProfileLoad::Truncated);
    EXPECT_EQ(target, before);
}

TEST(ProfileFile, DamagedFilesChangeNothing) {
    const Bytes good = serialized(ProfileData{});
    const size_t lastEventCount = good.size() - 4;
    auto patched = [&](size_t offset, const Bytes& with) {
        Bytes bytes = good;
        std::copy(with.begin(), with.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
        return bytes;
    };
    const struct {
        const char* what;
        Bytes bytes;
        ProfileLoad expected;
    } cases[] = {
        {"wrong magic", patched(0, {0x12}), ProfileLoad::WrongMagic},
        {"empty", {}, ProfileLoad::Truncated},
        {"huge name length", patched(4, {0xFF, 0xFF, 0xFF, 0x7F}), ProfileLoad::Truncated},
        {"name longer than the file", patched(4, {0xA0, 0, 0, 0}), ProfileLoad::Truncated},
        {"huge colour text", patched(106, {0xFF, 0xFF, 0xFF, 0x7F}), ProfileLoad::Truncated},
        {"huge event count", patched(lastEventCount, {0xFF, 0xFF, 0xFF, 0x7F}), ProfileLoad::Truncated},
        {"event count one too many", patched(lastEventCount, {1, 0, 0, 0}), ProfileLoad::Truncated},
    };
    for (const auto& c : cases) {
        ProfileData target = busyProfile();
        const ProfileData before = target;
        EXPECT_EQ(deserialize(c.bytes, target), c.expected) << c.what;
        EXPECT_EQ(target, before) << c.what;
    }
}

TEST(ProfileFile, NegativeEventCountMeansNoEvents) {
    Bytes bytes = serialized(ProfileData{});
    std::fill(bytes.end() - 4, bytes.end(), 0xFF);
    ProfileData target = busyProfile();
    ASSERT_EQ(deserialize(bytes, target), ProfileLoad::Loaded);
    EXPECT_TRUE(target.macros[8].events.empty());
}

TEST(ProfileFile, MissingFileIsReportedAndChangesNothing) {
    testing::ScratchFolder tmp;
    ProfileData target = busyProfile();
    EXPECT_EQ(loadProfile(tmp / "none.profile", target), ProfileLoad::NotOpened);
    EXPECT_EQ(target, busyProfile());
    EXPECT_EQ(describe(ProfileLoad::WrongMagic), "wrong magic, not a profile file");
}

TEST(ProfileFile, FailedSaveReportsAndKeepsTheOldFile) {
    testing::ScratchFolder tmp;
    ASSERT_TRUE(saveProfile(tmp / "slot.profile", ProfileData{}));
    {
        const testing::ScopedFileSizeLimit limit(16);
        EXPECT_FALSE(saveProfile(tmp / "slot.profile", busyProfile()));
    }
    EXPECT_EQ(testing::readBytes(tmp / "slot.profile"), kDefaultFile);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.path()), {}), 1)
        << "the temporary file is gone";
}

// Two writers of one file (an apply and "Save current settings") while a
// reader keeps loading it: every save succeeds and every load sees one whole
// record of either writer.
TEST(ProfileFile, ConcurrentSavesOfOnePathEachSucceedAndLeaveOneWholeRecord) {
    testing::ScratchFolder tmp;
    const auto file = tmp / "slot.profile";
    const std::array<ProfileData, 2> records{ProfileData{}, busyProfile()};
    const std::array<Bytes, 2> images{serialized(records[0]), serialized(records[1])};
    ASSERT_TRUE(saveProfile(file, records[0]));

    constexpr int kSaves = 300;
    std::atomic<int> failedSaves{0};
    std::atomic<int> writersDone{0};
    auto writer = [&](const ProfileData& record) {
        for (int i = 0; i < kSaves; ++i)
            if (!saveProfile(file, record))
                ++failedSaves;
        ++writersDone;
    };
    std::thread first(writer, std::cref(records[0]));
    std::thread second(writer, std::cref(records[1]));

    int loads = 0;
    int badLoads = 0;
    while (writersDone < 2) {
        DataStream in;
        const bool loaded = in.loadFile(file);
        const Bytes seen(in.bytes().begin(), in.bytes().end());
        badLoads += loaded && (seen == images[0] || seen == images[1]) ? 0 : 1;
        ++loads;
    }
    first.join();
    second.join();

    EXPECT_EQ(failedSaves, 0);
    EXPECT_EQ(badLoads, 0) << "of " << loads << " loads";
    const Bytes last = testing::readBytes(file);
    EXPECT_TRUE(last == images[0] || last == images[1]);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.path()), {}), 1)
        << "no temporary file is left behind";
}

} // namespace
} // namespace talwyn
