#include "pages/mouse_settings_dlg.h"

#include "button_functions/key_names.h"
#include "macros/macro_library.h"
#include "pages/mouse_settings_support.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace talwyn::pages {
namespace {

using testing::pick;

// Answers the pop-ups the way the real ones do: the key pop-up sets its target
// on confirmation and keeps it on cancel, and always holds back the menu text.
struct ScriptedPopups : MouseSettingsPopups {
    int warnings = 0;
    int keyRuns = 0;
    std::optional<int> keyToConfirm; // none: the user cancels

    void showLeftClickWarn(QWidget*) override { ++warnings; }
    void assignKey(controls::CVexComboButton& target, QWidget*) override {
        ++keyRuns;
        target.setUpdateCaption(false);
        if (keyToConfirm) {
            target.SetCaption(QString::fromStdU16String(button_functions::keyName(*keyToConfirm)), 13,
                              *keyToConfirm);
        }
    }
};

CMacro macroNamed(int32_t id, std::u16string name) {
    CMacro macro;
    macro.macroId = id;
    macro.name = std::move(name);
    macro.events.push_back({});
    return macro;
}

struct MouseSettingsPage : ::testing::Test {
    MacroLibrary macros;
    ScriptedPopups popups;
    LoggingPointerSettings pointer;
    CMouseSettingsDlg page{nullptr, testing::testSkins(), macros, popups, pointer};

    controls::CVexComboButton& button(int number) { return page.functionButton(number - 1); }
    QString caption(int number) { return button(number).caption(); }
    void click(QWidget& widget) { QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(4, 4)); }
};

TEST_F(MouseSettingsPage, StartsWithTheDefaultFunctionsAndRate) {
    const std::array<QString, 6> captions{"Left click", "Right click", "Scroll click",
                                          "Forward",    "Back",        "Dpi roll"};
    for (int k = 1; k <= 6; ++k) {
        EXPECT_EQ(caption(k), captions[k - 1]) << k;
    }
    EXPECT_EQ(button(6).selectedCode(), 7);
    EXPECT_TRUE(page.rateBox(3).checkedFlag());
    EXPECT_EQ(page.doubleClickSlider().value(1), 800);
    EXPECT_EQ(page.accelerationSlider().visualState(), controls::VisualState::Disabled);
}

TEST_F(MouseSettingsPage, LastLeftClickCannotBeGivenAway) {
    ProfileData profile;
    profile.buttons[2].function = 0; // buttons 1 and 3 both click left
    page.loadFromProfile(profile);

    pick(button(1), 4);
    EXPECT_EQ(caption(1), "Back");
    EXPECT_EQ(button(1).selectedCode(), 4);
    EXPECT_EQ(popups.warnings, 0);

    macros.append(macroNamed(16, u"Burst"));
    page.refreshMacroMenus();
    for (const int32_t code : {1, 13, 16, 15}) {
        pick(button(3), code);
        EXPECT_EQ(caption(3), "Left click") << code;
        EXPECT_EQ(button(3).selectedCode(), 0) << code;
    }
    EXPECT_EQ(popups.warnings, 4);
    EXPECT_EQ(popups.keyRuns, 0);

    pick(button(3), 0); // choosing Left click again is no attempt to give it away
    EXPECT_EQ(popups.warnings, 4);
    EXPECT_EQ(caption(3), "Left click");
}

TEST_F(MouseSettingsPage, KeyAssignmentTakesTheKeyOrKeepsTheButton) {
    popups.keyToConfirm = 0xA0;
    pick(button(2), 13);
    EXPECT_EQ(caption(2), "Left SHIFT");
    EXPECT_EQ(button(2).selectedCode(), 13);
    EXPECT_EQ(button(2).selectedParameter(), 0xA0);

    popups.keyToConfirm.reset();
    pick(button(2), 13);
    EXPECT_EQ(caption(2), "Left SHIFT");
    EXPECT_EQ(button(2).selectedCode(), 13);
    EXPECT_EQ(button(2).selectedParameter(), 0xA0);

    pick(button(4), 13); // cancelled on a plain function
    EXPECT_EQ(caption(4), "Forward");
    EXPECT_EQ(button(4).selectedCode(), 3);

    ProfileData profile;
    page.saveToProfile(profile);
    EXPECT_EQ(profile.buttons[1].function, 13);
    EXPECT_EQ(profile.buttons[1].param, 0xA0);
    EXPECT_EQ(profile.buttons[3].function, 3);
}

TEST_F(MouseSettingsPage, DeletedMacroRevertsToTheDefaultFunctionAtTheNextStore) {
    macros.append(macroNamed(16, u"Burst"));
    macros.append(macroNamed(17, u"Reload"));
    page.refreshMacroMenus();
    pick(button(2), 17);
    EXPECT_EQ(caption(2), "Reload");
    EXPECT_EQ(button(2).selectedCode(), 14);

    ProfileData profile;
    page.saveToProfile(profile);
    EXPECT_EQ(profile.buttons[1].function, 14);
    EXPECT_EQ(profile.buttons[1].param, 17);
    EXPECT_EQ(profile.macros[1].name, u"Reload");
    EXPECT_EQ(profile.macros[1].events.size(), 1u);

    macros.remove(1);
    page.saveToProfile(profile);
    page.loadFromProfile(profile);
    EXPECT_EQ(profile.buttons[1].function, 1);
    EXPECT_EQ(profile.buttons[1].param, 0);
    EXPECT_EQ(caption(2), "Right click");
    EXPECT_EQ(button(2).selectedCode(), 1);
}

TEST_F(MouseSettingsPage, MacroMenuFollowsTheLibrary) {
    controls::CVexMenu& submenu = *button(1).menu()->GetSubMenu(14);
    EXPECT_TRUE(submenu.entries().empty());
    EXPECT_EQ(submenu.width(), 50);

    macros.append(macroNamed(16, u"A rather long macro name"));
    macros.append(macroNamed(17, u"B"));
    page.refreshMacroMenus();
    page.refreshMacroMenus(); // a second run must not add the macros twice
    for (int k = 1; k <= 6; ++k) {
        const auto& entries = button(k).menu()->GetSubMenu(14)->entries();
        ASSERT_EQ(entries.size(), 2u) << k;
        EXPECT_EQ(entries[0].code, 16);
        EXPECT_EQ(entries[1].text, "B");
    }
    EXPECT_GT(submenu.width(), 100);

    macros.clear();
    page.refreshMacroMenus();
    EXPECT_TRUE(submenu.entries().empty());
    EXPECT_EQ(submenu.width(), 50);
    // Once it had a list, the item only opens it: picking it reports nothing.
    const controls::MenuEntry* item = button(1).menu()->FindItem(14);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->hasSubmenu);
}

TEST_F(MouseSettingsPage, LoadShowsKeysMacrosAndKeepsUnknownCodes) {
    ProfileData profile;
    profile.buttons[1] = {1, 13, 0x26, 1, 0};
    profile.buttons[2] = {2, 13, 0x07, 2, 0}; // a key without a name
    profile.buttons[3] = {3, 14, 20, 3, 0};
    profile.macros[3].name = u"Combo";
    profile.buttons[4] = {4, 5, 0, 4, 0}; // a device code the menu does not offer
    page.loadFromProfile(profile);
    EXPECT_EQ(caption(2), "UP ARROW ");
    EXPECT_EQ(button(2).selectedParameter(), 0x26);
    EXPECT_EQ(caption(3), "");
    EXPECT_EQ(button(3).selectedCode(), 13);
    EXPECT_EQ(caption(4), "Combo");
    EXPECT_EQ(button(4).selectedParameter(), 20);
    EXPECT_EQ(caption(5), "Back");
    EXPECT_EQ(button(5).selectedCode(), 4);
}

// Headers and macro identifiers are items of the menu too: a file holding one
// shows it and stores it back unchanged.
TEST_F(MouseSettingsPage, CodesOfSubmenusAndHeadersLoadAndStoreBack) {
    macros.append(macroNamed(20, u"Dash"));
    struct Case {
        uint8_t function;
        QString caption;
    };
    const Case cases[] = {
        {255, "Default commands"}, {254, "Profile"}, {20, "Dash"}, {9, "Profile switch up"}};
    for (const Case& c : cases) {
        ProfileData profile;
        profile.buttons[1] = {1, c.function, 0, 1, 0};
        page.loadFromProfile(profile);
        EXPECT_EQ(caption(2), c.caption) << int(c.function);
        EXPECT_EQ(button(2).selectedCode(), c.function);

        ProfileData stored;
        page.saveToProfile(stored);
        EXPECT_EQ(stored.buttons[1].function, c.function);
    }
}

TEST_F(MouseSettingsPage, ReportRateLoadsSavesAndKeepsOneBox) {
    struct Case {
        uint16_t interval;
        int checkedBox; // -1: none
    };
    for (const Case c : {Case{8, 0}, Case{4, 1}, Case{2, 2}, Case{1, 3}, Case{3, -1}}) {
        ProfileData profile;
        profile.reportInterval = c.interval;
        page.loadFromProfile(profile);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(page.rateBox(i).checkedFlag(), i == c.checkedBox) << c.interval << " box " << i;
        }
        ProfileData saved;
        saved.reportInterval = c.interval;
        page.saveToProfile(saved);
        EXPECT_EQ(saved.reportInterval, c.interval);
    }

    click(page.rateBox(1));
    click(page.rateBox(1)); // clicking the checked box keeps it checked
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(page.rateBox(i).checkedFlag(), i == 1) << i;
    }
    click(page.rateBox(3));
    ProfileData profile;
    profile.reportInterval = 8;
    page.saveToProfile(profile);
    EXPECT_EQ(profile.reportInterval, 1);
}

TEST_F(MouseSettingsPage, UncheckingEnableResetsTheAccelerationSlider) {
    ProfileData profile;
    profile.accelEnabled = 1;
    profile.accelLevel = 3;
    page.loadFromProfile(profile);
    EXPECT_TRUE(page.enableBox().checkedFlag());
    EXPECT_EQ(page.accelerationSlider().value(1), 3);
    EXPECT_NE(page.accelerationSlider().visualState(), controls::VisualState::Disabled);

    click(page.enableBox());
    EXPECT_FALSE(page.enableBox().checkedFlag());
    EXPECT_EQ(page.accelerationSlider().value(1), 1);
    EXPECT_EQ(page.accelerationSlider().visualState(), controls::VisualState::Disabled);

    click(page.enableBox());
    EXPECT_TRUE(page.enableBox().checkedFlag());
    EXPECT_EQ(page.accelerationSlider().value(1), 1);
    EXPECT_NE(page.accelerationSlider().visualState(), controls::VisualState::Disabled);

    page.saveToProfile(profile);
    EXPECT_EQ(profile.accelEnabled, 1);
    EXPECT_EQ(profile.accelLevel, 1);
}

TEST_F(MouseSettingsPage, SlidersShowProfileValuesUnsnappedButClamped) {
    ProfileData profile;
    profile.doubleClickSpeed = 500;
    profile.scrollLines = 9;
    profile.accelLevel = -4;
    page.loadFromProfile(profile);
    EXPECT_EQ(page.doubleClickSlider().value(1), 500);
    EXPECT_EQ(page.scrollSpeedSlider().value(1), 6);
    EXPECT_EQ(page.accelerationSlider().value(1), 1);

    ProfileData saved;
    page.saveToProfile(saved);
    EXPECT_EQ(saved.doubleClickSpeed, 500);
    EXPECT_EQ(saved.scrollLines, 6);
    page.applyPointerSettings(saved);
    ASSERT_FALSE(pointer.lines().isEmpty());
    EXPECT_EQ(pointer.lines().front(), "double-click time 1100 ms");
}

TEST_F(MouseSettingsPage, MenuNoticesGoUpToTheMainWindow) {
    struct Host : QWidget, controls::CommandReceiver {
        std::vector<std::pair<controls::ControlId, controls::CommandValue>> seen;
        void onCommand(controls::ControlId first, controls::CommandValue second) override {
            seen.emplace_back(first, second);
        }
    } host;
    CMouseSettingsDlg hosted(&host, testing::testSkins(), macros, popups, pointer);
    hosted.onCommand(2234, 1);
    hosted.onCommand(1014, 0x10000 + 400); // slider values are read at save time only
    ASSERT_EQ(host.seen.size(), 1u);
    EXPECT_EQ(host.seen[0], std::make_pair(controls::ControlId{2234}, controls::CommandValue{1}));
    EXPECT_FALSE(hosted.isWindow());
}

} // namespace
} // namespace talwyn::pages

namespace talwyn::pages {
namespace {

TEST(MouseSettingsLayout, EveryControlSitsAtItsTableRectangle) {
    MacroLibrary macros;
    CMacro macro;
    macro.macroId = 16;
    macro.name = u"Burst";
    macros.append(macro);
    ScriptedPopups popups;
    LoggingPointerSettings pointer;
    CMouseSettingsDlg page(nullptr, testing::testSkins(), macros, popups, pointer);
    ProfileData profile;
    profile.buttons[1] = {1, 13, 0xA0, 1, 0};
    profile.buttons[3] = {3, 14, 16, 3, 0};
    profile.macros[3].name = u"Burst";
    profile.reportInterval = 2;
    profile.accelEnabled = 1;
    profile.accelLevel = 2;
    profile.doubleClickSpeed = 1000;
    page.loadFromProfile(profile);
    page.show();
    EXPECT_EQ(page.size(), QSize(ui_layout::kPageSize.width, ui_layout::kPageSize.height));
    EXPECT_EQ(testing::misplacedControls(page, ui_layout::WindowId::MouseSettings), std::vector<int>{});
    EXPECT_TRUE(testing::savePagePicture(page, "mouse_settings_page.png"));
}

} // namespace
} // namespace talwyn::pages
