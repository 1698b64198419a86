#include "profiles/profile_set.h"

#include "profiles/file_system.h"
#include "profiles/utf16.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

namespace talwyn {
namespace {

namespace fs = std::filesystem;

// A profile set whose application-data folder is a fresh temporary folder.
class ProfileSetTest : public ::testing::Test {
protected:
    fs::path profilesFolder() const { return tmp.path() / "Orvane/Talwyn PRO Software/Profiles"; }
    fs::path slotFile(int slot) const {
        return profilesFolder() / ("Default" + std::to_string(slot) + ".profile");
    }

    testing::ScratchFolder tmp;
    testing::ScopedEnv dataHome{"XDG_DATA_HOME", tmp.path().c_str()};
    ProfileSet set;
};

ProfileData expectedSlot(int index, const fs::path& file) {
    ProfileData p;
    p.slotIndex = static_cast<uint8_t>(index);
    p.name = ProfileSet::defaultSlotName(index);
    p.filePath = file;
    return p;
}

TEST_F(ProfileSetTest, FirstStartGivesFiveDefaultSlotsAndWritesNothing) {
    set.createSlots();
    for (int index = 0; index < ProfileSet::kSlotCount; ++index)
        EXPECT_EQ(set.slot(index), expectedSlot(index, slotFile(index + 1))) << index;
    EXPECT_EQ(set.slot(4).name, u"Profile5");
    EXPECT_EQ(set.currentIndex(), 0);
    EXPECT_EQ(set.appliedIndex(), 0);
    EXPECT_FALSE(fs::exists(tmp / "Orvane"));
}

TEST_F(ProfileSetTest, CreateSlotsLoadsEachSlotFileItCanRead) {
    ProfileData stored;
    stored.name = u"Mine";
    stored.dpi[0].x = 1234;
    stored.enabled = 0;
    ASSERT_TRUE(saveProfile(slotFile(3), stored));
    testing::writeBytes(slotFile(4), {1, 2, 3, 4, 5});          // foreign
    testing::writeBytes(slotFile(5), {0x11, 0x64, 0x34, 0x01}); // magic only
    set.selectSlot(2);

    set.createSlots();
    ProfileData expected = stored;
    expected.slotIndex = 2;
    expected.filePath = slotFile(3);
    EXPECT_EQ(set.slot(2), expected);
    EXPECT_EQ(set.slot(3), expectedSlot(3, slotFile(4)));
    EXPECT_EQ(set.slot(4), expectedSlot(4, slotFile(5)));
    EXPECT_EQ(set.currentIndex(), 0);
}

TEST_F(ProfileSetTest, SaveSlotAndSaveAllWriteMemoryValues) {
    set.createSlots();
    set.slot(1).pointerSpeed = 17;
    ASSERT_TRUE(set.saveSlot(1));
    EXPECT_FALSE(fs::exists(slotFile(1)));
    ProfileData reread;
    ASSERT_EQ(loadProfile(slotFile(2), reread), ProfileLoad::Loaded);
    EXPECT_EQ(reread.pointerSpeed, 17);
    EXPECT_EQ(reread.name, u"Profile2");

    // One slot that cannot be written does not stop the others: a folder
    // that is not empty cannot be replaced by a file.
    fs::remove(slotFile(2));
    fs::create_directories(slotFile(2) / "in the way");
    EXPECT_FALSE(set.saveAll());
    for (int slot : {1, 3, 4, 5})
        EXPECT_TRUE(fs::is_regular_file(slotFile(slot))) << slot;
    EXPECT_TRUE(fs::is_directory(slotFile(2)));

    fs::remove_all(slotFile(2));
    EXPECT_TRUE(set.saveAll());
}

// File names are bytes: a data folder that is no valid UTF-8 must be the
// folder saved to as well as the one loaded from.
TEST_F(ProfileSetTest, DataFolderThatIsNotUtf8KeepsEverySave) {
    const fs::path rawFolder = tmp.path() / "data\xE9";
    const testing::ScopedEnv rawDataHome{"XDG_DATA_HOME", rawFolder.c_str()};
    const fs::path slotOne = rawFolder / "Orvane/Talwyn PRO Software/Profiles/Default1.profile";

    set.createSlots();
    EXPECT_EQ(set.slot(0).filePath, slotOne);
    set.slot(0).pointerSpeed = 9;
    set.slot(4).lightEffect = 2;
    ASSERT_TRUE(set.saveAll());
    ASSERT_TRUE(set.saveSlot(0));

    ProfileSet reloaded;
    reloaded.createSlots();
    EXPECT_EQ(reloaded.slot(0).pointerSpeed, 9);
    EXPECT_EQ(reloaded.slot(4).lightEffect, 2);
    std::vector<fs::path> top;
    for (const auto& entry : fs::directory_iterator(tmp.path()))
        top.push_back(entry.path());
    EXPECT_EQ(top, std::vector<fs::path>{rawFolder}) << "nothing lands in a look-alike folder";
}

TEST(ProfileSetExport, ExtensionRule) {
    const struct {
        const char* chosen;
        const char* target;
    } cases[] = {
        {"/x/mine", "/x/mine.profile"},
        {"/x/mine.profile", "/x/mine.profile"},
        {"/x/mine.PROFILE", "/x/mine.PROFILE.profile"},
        {"/x/mine.profiles", "/x/mine.profiles.profile"},
        {"/x.profile/mine", "/x.profile/mine.profile"},
        {"/x/a.profile.txt", "/x/a.profile.txt.profile"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProfileSet::exportTarget(c.chosen), fs::path(c.target)) << c.chosen;
}

TEST_F(ProfileSetTest, ExportSuggestsTheSlotNameBesideTheProgram) {
    set.createSlots();
    EXPECT_EQ(set.suggestedExportPath(1), programFolder() / "Profiles" / "Profile2.profile");
    set.rename(1, u"../up/x");
    EXPECT_EQ(set.suggestedExportPath(1), programFolder() / "Profiles" / ".._up_x.profile")
        << "a name never leads out of the folder";

    set.slot(1).liftOff = 2;
    ASSERT_TRUE(set.exportSlot(1, tmp / "out/mine"));
    ProfileData reread;
    ASSERT_EQ(loadProfile(tmp / "out/mine.profile", reread), ProfileLoad::Loaded);
    EXPECT_EQ(reread.liftOff, 2);
    fs::create_directory(tmp / "taken.profile");
    EXPECT_FALSE(set.exportSlot(1, tmp / "taken")) << "a folder in the way is reported";
}

TEST_F(ProfileSetTest, ImportReplacesTheSlotButNotItsFileOrPlace) {
    set.createSlots();
    ProfileData other;
    other.name = u"Imported";
    other.enabled = 0;
    other.lightEffect = 3;
    ASSERT_TRUE(saveProfile(tmp / "in.profile", other));

    ASSERT_EQ(set.importSlot(3, tmp / "in.profile"), ProfileLoad::Loaded);
    EXPECT_EQ(set.slot(3).name, u"Imported");
    EXPECT_EQ(set.slot(3).enabled, 0);
    EXPECT_EQ(set.slot(3).lightEffect, 3);
    EXPECT_EQ(set.slot(3).slotIndex, 3);
    EXPECT_EQ(set.slot(3).filePath, slotFile(4));
    EXPECT_EQ(set.currentIndex(), 0);
    EXPECT_FALSE(fs::exists(slotFile(4))) << "written by the next apply only";

    testing::writeBytes(tmp / "bad.profile", {9, 9, 9, 9, 9});
    const ProfileData before = set.slot(2);
    EXPECT_EQ(set.importSlot(2, tmp / "bad.profile"), ProfileLoad::WrongMagic);
    EXPECT_EQ(set.importSlot(2, tmp / "none.profile"), ProfileLoad::NotOpened);
    EXPECT_EQ(set.slot(2), before);
}

TEST_F(ProfileSetTest, ToggleEnabledSwitchesBetweenOneAndZero) {
    set.toggleEnabled(2);
    EXPECT_EQ(set.slot(2).enabled, 0);
    set.toggleEnabled(2);
    EXPECT_EQ(set.slot(2).enabled, 1);
    set.slot(2).enabled = 5; // any non-zero value counts as enabled
    set.toggleEnabled(2);
    EXPECT_EQ(set.slot(2).enabled, 0);
}

TEST_F(ProfileSetTest, RenameKeepsFifteenCharacters) {
    const struct {
        std::u16string typed;
        std::u16string kept;
    } cases[] = {
        {u"Short", u"Short"},
        {u"", u""},
        {u"exactly15chars!", u"exactly15chars!"},
        {u"sixteen chars!!!", u"sixteen chars!!"},
        {u"fourteen chars\U0001F600", u"fourteen chars"}, // a pair is never split
        {u"thirteen char\U0001F600", u"thirteen char\U0001F600"},
    };
    for (const auto& c : cases) {
        set.rename(4, c.typed);
        EXPECT_EQ(set.slot(4).name, c.kept) << toUtf8(c.typed);
    }
}

TEST_F(ProfileSetTest, ResetAllRestoresEverySlotAndSelectsSlotOne) {
    set.createSlots();
    for (int index = 0; index < ProfileSet::kSlotCount; ++index) {
        set.rename(index, u"changed");
        set.slot(index).enabled = 0;
        set.slot(index).dpi[1].x = 50;
    }
    set.slot(2).macros[0].name = u"macro stays";
    set.selectSlot(3);
    set.setApplied(3);

    set.resetAll();
    for (int index = 0; index < ProfileSet::kSlotCount; ++index) {
        ProfileData expected = expectedSlot(index, slotFile(index + 1));
        expected.macros = set.slot(index).macros;
        EXPECT_EQ(set.slot(index), expected) << index;
    }
    EXPECT_EQ(set.slot(2).macros[0].name, u"macro stays");
    EXPECT_EQ(set.currentIndex(), 0);
    EXPECT_EQ(set.appliedIndex(), 3) << "changes only when an apply uploads";
    EXPECT_FALSE(fs::exists(tmp / "Orvane"));
}

TEST_F(ProfileSetTest, CurrentAndAppliedFollowTheirSlots) {
    set.selectSlot(4);
    set.current().name = u"via current";
    EXPECT_EQ(set.slot(4).name, u"via current");
    set.setApplied(1);
    EXPECT_EQ(&set.applied(), &set.slot(1));
    EXPECT_THROW(set.selectSlot(5), std::out_of_range);
    EXPECT_THROW(set.setApplied(-1), std::out_of_range);
    EXPECT_EQ(set.currentIndex(), 4);
}

} // namespace
} // namespace talwyn
