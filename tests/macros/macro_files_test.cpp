#include "macros/macro_files.h"

#include <gtest/gtest.h>

#include "profiles/file_system.h"
#include "profiles/utf16.h"
#include "support/file_size_limit.h"
#include "support/scratch_folder.h"

#include <sstream>

namespace talwyn {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::ScratchFolder;
using testing::writeBytes;
using Bytes = std::vector<uint8_t>;

Bytes hex(std::string_view text) {
    Bytes out;
    std::istringstream in{std::string(text)};
    unsigned value = 0;
    while (in >> std::hex >> value)
        out.push_back(static_cast<uint8_t>(value));
    return out;
}

Bytes le32(uint32_t v) {
    return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

// The string encoding of an ASCII text: unit count, then UTF-16LE units.
Bytes encoded(const std::string& ascii) {
    Bytes out = le32(static_cast<uint32_t>(ascii.size()));
    for (char c : ascii) {
        out.push_back(static_cast<uint8_t>(c));
        out.push_back(0);
    }
    return out;
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

CEventItem row(uint8_t type, int16_t code, uint8_t flag, int32_t delay, int32_t top, int32_t selected,
               int32_t id) {
    return {{0, top, 300, top + 20}, selected, id, type, code, flag, delay};
}

// Jump (16): space pressed, released 50 ms later, left button 1 s after;
// Walk (17): no events.
MacroLibrary jumpAndWalk() {
    MacroLibrary library;
    library.append(
        {{0, 0, 300, 400},
         16,
         u"Jump",
         {row(1, 0x20, 0, 0, 0, 0, 1), row(1, 0x20, 1, 50, 20, 1, 2), row(16, 1, 0, 1000, 40, 0, 3)}});
    library.append({{0, 0, 300, 400}, 17, u"Walk", {}});
    return library;
}

const Bytes kJumpFile = hex("04 00 00 00 4A 00 75 00 6D 00 70 00 "
                            "10 00 00 00 "
                            "00 00 00 00 00 00 00 00 2C 01 00 00 90 01 00 00 "
                            "03 00 00 00 "
                            "01 20 00 00 00 00 00 00 00 00 00 00 00 00 00 00 2C 01 00 00 14 00 00 00 "
                            "00 00 00 00 01 00 00 00 "
                            "01 20 00 01 32 00 00 00 00 00 00 00 14 00 00 00 2C 01 00 00 28 00 00 00 "
                            "01 00 00 00 02 00 00 00 "
                            "10 01 00 00 E8 03 00 00 00 00 00 00 28 00 00 00 2C 01 00 00 3C 00 00 00 "
                            "00 00 00 00 03 00 00 00");

const Bytes kWalkFile = hex("04 00 00 00 57 00 61 00 6C 00 6B 00 "
                            "11 00 00 00 "
                            "00 00 00 00 00 00 00 00 2C 01 00 00 90 01 00 00 "
                            "00 00 00 00");

std::vector<std::string> entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::u16string> names(const MacroLibrary& library) {
    std::vector<std::u16string> out;
    for (size_t i = 0; i < library.size(); ++i)
        out.push_back(library.at(i).name);
    return out;
}

MacroLibrary sentinelLibrary() {
    MacroLibrary library;
    library.append({{1, 2, 3, 4}, 99, u"before", {row(1, 0x41, 0, 5, 0, 0, 1)}});
    return library;
}

void expectSameLibrary(const MacroLibrary& actual, const MacroLibrary& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i)
        EXPECT_EQ(actual.at(i), expected.at(i)) << i;
}

TEST(MacroFolder, LivesBelowTheApplicationDataFolder) {
    EXPECT_EQ(macroFolder(), appDataFolder() / "Orvane" / "TALWYN" / "Macros");
}

TEST(SaveMacros, TwoMacroLibraryBytes) {
    ScratchFolder tmp;
    const fs::path folder = tmp / "Macros";
    MacroLibrary library = jumpAndWalk();
    ASSERT_TRUE(MacroFolder(folder).save(library));

    EXPECT_EQ(entries(folder), (std::vector<std::string>{"Jump.macro", "Walk.macro", "macroList.dat"}));
    EXPECT_EQ(readBytes(folder / "Jump.macro"), kJumpFile);
    EXPECT_EQ(readBytes(folder / "Walk.macro"), kWalkFile);
    const std::string base = fs::absolute(folder).string() + "/";
    EXPECT_EQ(readBytes(folder / "macroList.dat"),
              concat({le32(2), encoded(base + "Jump.macro"), encoded(base + "Walk.macro")}));
}

TEST(SaveMacros, RoundTripGivesBackTheLibrary) {
    ScratchFolder tmp;
    MacroLibrary saved = jumpAndWalk();
    saved.append({{5, 6, 7, 8}, -3, u"\u00c4rger \U0001F600", {row(17, 152, 0, -1, 0, 1, 9)}});
    ASSERT_TRUE(MacroFolder(tmp.path()).save(saved));

    MacroLibrary loaded = sentinelLibrary();
    const MacroLoadReport report = MacroFolder(tmp.path()).load(loaded);
    EXPECT_EQ(report.list, MacroFileStatus::Ok);
    EXPECT_TRUE(report.skipped.empty());
    expectSameLibrary(loaded, saved);
}

TEST(SaveMacros, NamesEqualButForCaseGetDistinctFiles) {
    ScratchFolder tmp;
    MacroLibrary library;
    library.append({{}, 16, u"Fire", {}});
    library.append({{}, 17, u"fire", {}});
    ASSERT_TRUE(MacroFolder(tmp.path()).save(library));
    EXPECT_EQ(entries(tmp.path()), (std::vector<std::string>{"Fire.macro", "fire1.macro", "macroList.dat"}));
    EXPECT_EQ(library.at(1).name, u"fire1");

    MacroLibrary loaded;
    MacroFolder(tmp.path()).load(loaded);
    EXPECT_EQ(names(loaded), (std::vector<std::u16string>{u"Fire", u"fire1"}));
}

TEST(SaveMacros, HostileNamesNeverLeaveTheFolderAndSurviveARoundTrip) {
    ScratchFolder tmp;
    const fs::path folder = tmp / "Macros";
    MacroLibrary library;
    const std::vector<std::u16string> hostile{u"../../escape", u"", u"..", u"/abs", u"a\nb"};
    for (size_t i = 0; i < hostile.size(); ++i)
        library.append({{}, static_cast<int32_t>(16 + i), hostile[i], {}});
    ASSERT_TRUE(MacroFolder(folder).save(library));

    EXPECT_EQ(entries(tmp.path()), (std::vector<std::string>{"Macros"}));
    EXPECT_EQ(entries(folder).size(), hostile.size() + 1);
    MacroLibrary loaded;
    EXPECT_TRUE(MacroFolder(folder).load(loaded).skipped.empty());
    EXPECT_EQ(names(loaded), hostile);
}

TEST(SaveMacros, RemovesFilesOfDeletedAndRenamedMacrosOnly) {
    ScratchFolder tmp;
    MacroFolder folder(tmp.path());
    MacroLibrary library = jumpAndWalk();
    ASSERT_TRUE(folder.save(library));
    fs::create_directory(tmp / "leftover");
    writeBytes(tmp / "Old.macro", {1, 2});

    library.at(1).name = u"Run";
    library.remove(0);
    ASSERT_TRUE(folder.save(library));
    EXPECT_EQ(entries(tmp.path()),
              (std::vector<std::string>{"Old.macro", "Run.macro", "leftover", "macroList.dat"}))
        << "what the library never held stays";

    MacroFolder reloaded(tmp.path());
    MacroLibrary loaded;
    reloaded.load(loaded);
    loaded.remove(0);
    ASSERT_TRUE(reloaded.save(loaded));
    EXPECT_EQ(entries(tmp.path()), (std::vector<std::string>{"Old.macro", "leftover", "macroList.dat"}))
        << "a loaded macro's file goes with the macro";
}

TEST(SaveMacros, FailedSaveKeepsThePreviousLibrary) {
    ScratchFolder tmp;
    MacroLibrary library = jumpAndWalk();
    ASSERT_TRUE(MacroFolder(tmp.path()).save(library));
    const Bytes listBefore = readBytes(tmp / "macroList.dat");

    library.append({{}, 18, u"Zed", {}});
    library.remove(0);
    {
        // No macro file can be written in full.
        const testing::ScopedFileSizeLimit limit(kWalkFile.size() - 1);
        EXPECT_FALSE(MacroFolder(tmp.path()).save(library));
    }

    EXPECT_EQ(readBytes(tmp / "macroList.dat"), listBefore);
    EXPECT_EQ(readBytes(tmp / "Jump.macro"), kJumpFile);
    MacroLibrary loaded;
    MacroFolder(tmp.path()).load(loaded);
    EXPECT_EQ(names(loaded), (std::vector<std::u16string>{u"Jump", u"Walk"}));
}

TEST(SaveMacros, FolderPathShorterThanFourCharactersWritesNothing) {
    const fs::path relative = "q~z";
    ASSERT_FALSE(fs::exists(relative));
    MacroLibrary library = jumpAndWalk();
    EXPECT_FALSE(MacroFolder(relative).save(library));
    EXPECT_FALSE(fs::exists(relative));
}

TEST(ReadMacroFile, EventCountOfZeroOrLessMeansNoEvents) {
    ScratchFolder tmp;
    for (uint32_t count : {0u, 0xFFFFFFFFu, 0x80000000u}) {
        Bytes file = kWalkFile;
        std::copy_n(le32(count).begin(), 4, file.end() - 4);
        writeBytes(tmp / "w.macro", file);
        CMacro macro = sentinelLibrary().at(0);
        ASSERT_EQ(readMacroFile(macro, tmp / "w.macro"), MacroFileStatus::Ok) << count;
        EXPECT_EQ(macro, (CMacro{{0, 0, 300, 400}, 17, u"Walk", {}}));
    }
}

TEST(ReadMacroFile, EveryTruncationLeavesTheMacroUnchanged) {
    ScratchFolder tmp;
    const CMacro before = sentinelLibrary().at(0);
    for (size_t length = 0; length < kJumpFile.size(); ++length) {
        writeBytes(tmp / "j.macro", Bytes(kJumpFile.begin(), kJumpFile.begin() + length));
        CMacro macro = before;
        EXPECT_EQ(readMacroFile(macro, tmp / "j.macro"), MacroFileStatus::Truncated) << length;
        EXPECT_EQ(macro, before) << length;
    }
}

TEST(ReadMacroFile, AbsurdCountsAndMissingFilesChangeNothing) {
    ScratchFolder tmp;
    struct Case {
        const char* what;
        size_t offset; // where the count sits in kJumpFile
        uint32_t value;
    };
    const Case cases[] = {{"name length", 0, 0x7FFFFFFF},
                          {"name length", 0, 0x40000000},
                          {"event count", 32, 0x7FFFFFFF},
                          {"event count", 32, 4}};
    const CMacro before = sentinelLibrary().at(0);
    for (const Case& c : cases) {
        Bytes file = kJumpFile;
        std::copy_n(le32(c.value).begin(), 4, file.begin() + static_cast<std::ptrdiff_t>(c.offset));
        writeBytes(tmp / "j.macro", file);
        CMacro macro = before;
        EXPECT_EQ(readMacroFile(macro, tmp / "j.macro"), MacroFileStatus::Truncated)
            << c.what << ' ' << c.value;
        EXPECT_EQ(macro, before);
    }
    CMacro macro = before;
    EXPECT_EQ(readMacroFile(macro, tmp / "absent.macro"), MacroFileStatus::Unreadable);
    EXPECT_EQ(readMacroFile(macro, tmp.path()), MacroFileStatus::Unreadable) << "a folder is no macro file";
    EXPECT_EQ(macro, before);
}

TEST(LoadMacros, MissingListLeavesTheLibraryAsItWas) {
    ScratchFolder tmp;
    MacroLibrary library = sentinelLibrary();
    const MacroLoadReport report = MacroFolder(tmp.path()).load(library);
    EXPECT_EQ(report.list, MacroFileStatus::Unreadable);
    EXPECT_FALSE(report.incomplete()) << "a library never saved is not damaged";
    expectSameLibrary(library, sentinelLibrary());
}

// Jump, Walk and Run saved, then the list cut short and Walk's file damaged:
// what can be read loads, and the next save loses no intact macro and
// removes no file it could not read.
TEST(LoadMacros, DamagedLibraryLoadsWhatIsIntactAndTheNextSaveKeepsEveryFile) {
    ScratchFolder tmp;
    MacroLibrary saved = jumpAndWalk();
    saved.append({{0, 0, 300, 400}, 18, u"Run", {row(1, 0x52, 0, 7, 0, 0, 1)}});
    ASSERT_TRUE(MacroFolder(tmp.path()).save(saved));
    const Bytes list = readBytes(tmp / "macroList.dat");
    const Bytes damagedWalk(kWalkFile.begin(), kWalkFile.end() - 3);
    writeBytes(tmp / "Walk.macro", damagedWalk);

    const size_t firstEntryEnd = 4 + encoded(fs::absolute(tmp / "Jump.macro").string()).size();
    // Inside the count, right after it, inside a length, inside the first
    // path, at the end of the first entry, one byte short of the whole list;
    // and the whole list, for the damaged macro file alone.
    for (size_t length :
         {size_t{2}, size_t{4}, size_t{6}, size_t{20}, firstEntryEnd, list.size() - 1, list.size()}) {
        writeBytes(tmp / "macroList.dat",
                   Bytes(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(length)));
        MacroFolder folder(tmp.path());
        MacroLibrary library;
        const MacroLoadReport report = folder.load(library);
        EXPECT_TRUE(report.incomplete()) << length;
        EXPECT_EQ(report.list, length == list.size() ? MacroFileStatus::Ok : MacroFileStatus::Truncated)
            << length;
        ASSERT_EQ(report.skipped.size(), 1u) << length;
        EXPECT_EQ(report.skipped[0].path.filename(), "Walk.macro");
        EXPECT_EQ(report.skipped[0].status, MacroFileStatus::Truncated);
        std::vector<std::u16string> loadedNames = names(library);
        std::sort(loadedNames.begin(), loadedNames.end());
        EXPECT_EQ(loadedNames, (std::vector<std::u16string>{u"Jump", u"Run"})) << length;

        // A new macro named like the unreadable file must not replace it.
        library.append({{}, 30, u"Walk", {}});
        ASSERT_TRUE(folder.save(library)) << length;
        EXPECT_EQ(readBytes(tmp / "Walk.macro"), damagedWalk) << length;
        EXPECT_EQ(readBytes(tmp / "Jump.macro"), kJumpFile) << length;

        MacroLibrary reloaded;
        EXPECT_EQ(MacroFolder(tmp.path()).load(reloaded).list, MacroFileStatus::Ok);
        std::vector<CMacro> intact;
        for (size_t i = 0; i < reloaded.size(); ++i)
            if (reloaded.at(i).macroId != 30)
                intact.push_back(reloaded.at(i));
        std::sort(intact.begin(), intact.end(),
                  [](const CMacro& a, const CMacro& b) { return a.macroId < b.macroId; });
        EXPECT_EQ(intact, (std::vector<CMacro>{saved.at(0), saved.at(2)}))
            << length << ": every intact macro with its events";
        fs::remove(tmp / "Walk1.macro");
    }
}

TEST(LoadMacros, ListWithAnAbsurdCountGivesWhatItHolds) {
    ScratchFolder tmp;
    MacroLibrary saved = jumpAndWalk();
    ASSERT_TRUE(MacroFolder(tmp.path()).save(saved));
    Bytes list = readBytes(tmp / "macroList.dat");
    std::copy_n(le32(0x7FFFFFFF).begin(), 4, list.begin());
    writeBytes(tmp / "macroList.dat", list);
    MacroLibrary library;
    EXPECT_EQ(MacroFolder(tmp.path()).load(library).list, MacroFileStatus::Truncated);
    expectSameLibrary(library, saved);
}

TEST(LoadMacros, NegativeListCountGivesAnEmptyLibrary) {
    ScratchFolder tmp;
    writeBytes(tmp / "macroList.dat", le32(0xFFFFFFFF));
    MacroLibrary library = sentinelLibrary();
    EXPECT_EQ(MacroFolder(tmp.path()).load(library).list, MacroFileStatus::Ok);
    EXPECT_TRUE(library.empty());
}

TEST(LoadMacros, MissingOrShortMacroFilesAreSkippedAndTheRestLoads) {
    ScratchFolder tmp;
    MacroLibrary saved = jumpAndWalk();
    saved.append({{}, 18, u"Run", {}});
    ASSERT_TRUE(MacroFolder(tmp.path()).save(saved));
    fs::remove(tmp / "Jump.macro");
    writeBytes(tmp / "Walk.macro", Bytes(kWalkFile.begin(), kWalkFile.end() - 1));

    MacroLibrary library;
    const MacroLoadReport report = MacroFolder(tmp.path()).load(library);
    EXPECT_EQ(report.list, MacroFileStatus::Ok);
    ASSERT_EQ(report.skipped.size(), 2u);
    EXPECT_EQ(report.skipped[0].path.filename(), "Jump.macro");
    EXPECT_EQ(report.skipped[0].status, MacroFileStatus::Unreadable);
    EXPECT_EQ(report.skipped[1].path.filename(), "Walk.macro");
    EXPECT_EQ(report.skipped[1].status, MacroFileStatus::Truncated);
    EXPECT_EQ(names(library), (std::vector<std::u16string>{u"Run"}));
}

TEST(LoadMacros, ListedFilesAreLookedUpInTheLibraryFolder) {
    ScratchFolder tmp;
    fs::create_directories(tmp / "copy");
    fs::create_directories(tmp / "elsewhere");
    writeBytes(tmp / "copy" / "Jump.macro", kJumpFile);
    writeBytes(tmp / "elsewhere" / "Walk.macro", kWalkFile);
    // Paths of another machine, another platform and a folder outside.
    const std::string outside = fs::absolute(tmp / "elsewhere" / "Walk.macro").string();
    writeBytes(tmp / "copy" / "macroList.dat",
               concat({le32(4), encoded("C:\\Users\\x\\AppData\\Roaming\\Orvane\\TALWYN\\Macros\\Jump.macro"),
                       encoded(outside), encoded(".."), encoded("")}));

    MacroLibrary library;
    const MacroLoadReport report = MacroFolder(tmp / "copy").load(library);
    EXPECT_EQ(names(library), (std::vector<std::u16string>{u"Jump"}));
    ASSERT_EQ(report.skipped.size(), 3u);
    EXPECT_EQ(report.skipped[0].path, tmp / "copy" / "Walk.macro");
}

TEST(LoadMacros, AFileListedTwiceIsOneMacro) {
    ScratchFolder tmp;
    writeBytes(tmp / "Jump.macro", kJumpFile);
    writeBytes(tmp / "macroList.dat",
               concat({le32(3), encoded("Jump.macro"), encoded("C:\\Macros\\Jump.macro"),
                       encoded("/tmp/Jump.macro")}));

    MacroFolder folder(tmp.path());
    MacroLibrary library;
    const MacroLoadReport report = folder.load(library);
    EXPECT_EQ(names(library), (std::vector<std::u16string>{u"Jump"}));
    EXPECT_TRUE(report.skipped.empty());
    ASSERT_TRUE(folder.save(library));
    EXPECT_TRUE(fs::exists(tmp / "Jump.macro"));
}

// A list naming itself, built so that it also reads as a macro file (its
// first entry's units 10 and 11 land on the event count, 0): it must not be
// taken for a macro, or the next save would remove the list it just wrote.
TEST(LoadMacros, TheListIsNeverTakenForAMacro) {
    ScratchFolder tmp;
    Bytes firstEntry = encoded("abcdefghij..");
    std::fill(firstEntry.end() - 4, firstEntry.end(), 0);
    writeBytes(tmp / "macroList.dat", concat({le32(2), firstEntry, encoded("macroList.dat")}));

    MacroFolder folder(tmp.path());
    MacroLibrary library;
    folder.load(library);
    EXPECT_TRUE(library.empty());
    ASSERT_TRUE(folder.save(library));
    EXPECT_EQ(readBytes(tmp / "macroList.dat"), le32(0));
}

} // namespace
} // namespace talwyn
