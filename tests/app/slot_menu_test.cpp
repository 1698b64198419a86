// The slot menus over the main window with no mouse: rename, save, export,
// import, disabling, and resetting every slot.

#include "shell_fixture.h"

#include "profiles/profile_file.h"

namespace talwyn::app::testing {
namespace {

namespace fs = std::filesystem;

// Slot menu commands, as the slot's small numbered button passes them on.
class SlotMenuTest : public AbsentMouseTest {
protected:
    void choose(int slotIndex, SlotMenuItem item) {
        window().onCommand(main_command::kSlotMenuOfFirstSlot - slotIndex, static_cast<int>(item));
    }
};

TEST_F(SlotMenuTest, RenameSetsTheNameAndTheCaption) {
    start();
    dialogs_.newName = "Sniper";
    choose(1, SlotMenuItem::Rename);
    EXPECT_EQ(window().profiles().slot(1).name, u"Sniper");
    EXPECT_EQ(window().commandButton(1008)->caption(), "Sniper");
    dialogs_.newName.reset();
    choose(1, SlotMenuItem::Rename);
    EXPECT_EQ(window().commandButton(1008)->caption(), "Sniper");
}

TEST_F(SlotMenuTest, SaveWritesOnlyThatSlotAsItIsInMemory) {
    start();
    window().profiles().slot(3).scrollByLine = 8;
    choose(3, SlotMenuItem::Save);
    ProfileData stored;
    ASSERT_EQ(loadProfile(ProfileSet::slotFilePath(3), stored), ProfileLoad::Loaded);
    EXPECT_EQ(stored.scrollByLine, 8);
    EXPECT_FALSE(fs::exists(ProfileSet::slotFilePath(0)));
    EXPECT_TRUE(messages_.shown().isEmpty());
}

TEST_F(SlotMenuTest, ExportAppliesTheExtensionRule) {
    start();
    const struct {
        const char* typed;
        const char* written;
    } cases[] = {
        {"mine", "mine.profile"}, {"mine.PROFILE", "mine.PROFILE.profile"}, {"own.profile", "own.profile"}};
    for (const auto& c : cases) {
        dialogs_.chosenFile = folder_ / c.typed;
        choose(1, SlotMenuItem::Export);
        ProfileData exported;
        EXPECT_EQ(loadProfile(folder_ / c.written, exported), ProfileLoad::Loaded) << c.typed;
        EXPECT_EQ(exported.name, u"Profile2");
    }
    EXPECT_EQ(dialogs_.suggestedExport.filename(), "Profile2.profile");
    dialogs_.chosenFile.reset();
    choose(1, SlotMenuItem::Export); // cancelled: nothing happens
    EXPECT_TRUE(messages_.shown().isEmpty());
}

TEST_F(SlotMenuTest, ImportIntoAnotherSlotShowsItAndKeepsTheCurrentSlot) {
    start();
    ProfileData source;
    source.name = u"Imported";
    source.scrollByLine = 4;
    source.enabled = 0;
    ASSERT_TRUE(saveProfile(folder_ / "in.profile", source));
    dialogs_.chosenFile = folder_ / "in.profile";
    choose(2, SlotMenuItem::Import);

    EXPECT_EQ(window().profiles().slot(2).name, u"Imported");
    EXPECT_EQ(window().commandButton(1009)->caption(), "Imported");
    EXPECT_FALSE(window().commandButton(1009)->isEnabled());
    EXPECT_EQ(buttonPage_->shownLines, 4);
    EXPECT_EQ(window().profiles().currentIndex(), 0);
    EXPECT_FALSE(fs::exists(ProfileSet::slotFilePath(2)));
    EXPECT_TRUE(messages_.shown().isEmpty());
}

TEST_F(SlotMenuTest, AFailedImportIsReportedAndLeavesTheSlot) {
    start();
    { std::ofstream(folder_ / "bad.profile") << "not a profile"; }
    dialogs_.chosenFile = folder_ / "bad.profile";
    choose(2, SlotMenuItem::Import);
    EXPECT_EQ(window().profiles().slot(2).name, u"Profile3");
    ASSERT_EQ(messages_.shown().size(), 1);
    EXPECT_TRUE(messages_.shown()[0].contains("could not be imported"));
}

TEST_F(SlotMenuTest, DisableGreysOutOnlyThatSlotAndTwiceRestoresIt) {
    start();
    choose(3, SlotMenuItem::ToggleEnabled);
    for (int slot = 0; slot < 5; ++slot) {
        EXPECT_EQ(window().commandButton(1007 + slot)->isEnabled(), slot != 3) << slot;
    }
    EXPECT_EQ(window().profiles().slot(3).enabled, 0);
    choose(3, SlotMenuItem::ToggleEnabled);
    EXPECT_TRUE(window().commandButton(1010)->isEnabled());
    EXPECT_EQ(window().profiles().slot(3).enabled, 1);
}

TEST_F(SlotMenuTest, TheSlotMenuButtonPassesItsPickToTheWindow) {
    start();
    auto* menuButton = window().slotMenuButton(4);
    ASSERT_NE(menuButton, nullptr);
    EXPECT_EQ(menuButton->controlId(), 1016);
    menuButton->onCommand(1016, static_cast<int>(SlotMenuItem::ToggleEnabled));
    EXPECT_FALSE(window().commandButton(1011)->isEnabled());
}

TEST_F(AbsentMouseTest, ResetAsksFirstThenRestoresEverySlotAndApplies) {
    start();
    window().profiles().rename(1, u"Mine");
    window().profiles().toggleEnabled(4);
    window().executeCommand(main_command::kFirstSlot + 2);

    dialogs_.confirm = false;
    window().executeCommand(main_command::kReset);
    settle();
    EXPECT_EQ(dialogs_.resetQuestions, 1);
    EXPECT_EQ(window().profiles().slot(1).name, u"Mine");
    EXPECT_FALSE(fs::exists(ProfileSet::slotFilePath(0)));

    dialogs_.confirm = true;
    window().executeCommand(main_command::kReset);
    settle();
    EXPECT_EQ(window().profiles().slot(1).name, u"Profile2");
    EXPECT_EQ(window().commandButton(1008)->caption(), "Profile2");
    EXPECT_TRUE(window().commandButton(1011)->isEnabled());
    EXPECT_EQ(window().profiles().currentIndex(), 0);
    EXPECT_TRUE(window().commandButton(1007)->selected());
    // The apply that ends the reset wrote the files and looked for the mouse.
    EXPECT_TRUE(fs::exists(ProfileSet::slotFilePath(4)));
    EXPECT_EQ(messages_.shown(), QStringList{"Talwyn PRO mouse not found !"});
}

} // namespace
} // namespace talwyn::app::testing
