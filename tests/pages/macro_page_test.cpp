#include "pages/macro_settings_dlg.h"

#include "controls/edits.h"
#include "controls/macro_editor.h"
#include "controls/macro_list.h"
#include "controls/menu.h"
#include "pages/mouse_settings_support.h"
#include "platform/virtual_keys.h"
#include "support/fake_platform.h"
#include "support/scratch_folder.h"

#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace talwyn::pages {
namespace {

namespace fs = std::filesystem;
using controls::CVexCheckBox;

constexpr uint8_t kA = 0x41;
constexpr uint8_t kB = 0x42;

MacroLibrary twoMacros() {
    MacroLibrary library;
    library.append({{}, 16, u"Jump", {{{}, 0, 1, 1, 0x20, 0, 0}}});
    library.append({{}, 21, u"Walk", {{{}, 0, 1, 1, 0x57, 1, 5}}});
    return library;
}

class ScriptedPopups final : public MacroPagePopups {
public:
    bool confirmDeleteMacro(QWidget*) override {
        ++asked;
        return answer;
    }
    bool answer = true;
    int asked = 0;
};

class SteppedClock final : public controls::TickClock {
public:
    uint32_t now() const override { return ticks; }
    uint32_t ticks = 5000;
};

// Counts the key events that reach a widget past the application's filters.
class KeyCounter final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            ++keys;
        }
        return false;
    }
    int keys = 0;
};

template <typename Rect> QPoint centre(const Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

struct MacroPageTest : ::testing::Test {
    MacroPageTest() { testing::testSkins(); }

    std::unique_ptr<CMacroSettingsDlg> openPage(platform::KeyCapture* keys = nullptr) {
        auto page = std::make_unique<CMacroSettingsDlg>(
            nullptr, MacroPageServices{testing::testSkins(), messages, keys ? keys : &capture, popups, clock},
            folder);
        page->show();
        return page;
    }

    static void click(QWidget& control) {
        QTest::mouseClick(&control, Qt::LeftButton, {}, control.rect().center());
    }

    // Types a new macro's name into the list's name edit and ends it with Enter.
    static void createMacro(CMacroSettingsDlg& page, const QString& name) {
        click(page.button(CMacroSettingsDlg::kNewMacroId));
        controls::CVexEdit* edit = page.list().nameEdit();
        ASSERT_NE(edit, nullptr);
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    // Plays keys through the system-wide capture, `step` milliseconds apart.
    void play(std::initializer_list<std::pair<uint8_t, bool>> keys, uint32_t step) {
        for (const auto& [key, released] : keys) {
            clock.ticks += step;
            released ? capture.release(key) : capture.press(key);
            QCoreApplication::sendPostedEvents();
        }
    }

    talwyn::testing::ScratchFolder tmp;
    fs::path folder = tmp / "Macros";
    platform::FakeMessageBoxes messages;
    platform::FakeKeyCapture capture;
    ScriptedPopups popups;
    SteppedClock clock;
};

struct Shown {
    int16_t code;
    uint8_t flag;
    int32_t delay;
    bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* out) {
    *out << "{" << s.code << ", " << int(s.flag) << ", " << s.delay << "}";
}

std::vector<Shown> shownEvents(const CMacroSettingsDlg& page) {
    std::vector<Shown> out;
    if (const CMacro* macro = page.editor().shownMacro()) {
        for (const CEventItem& event : macro->events) {
            out.push_back({event.code, event.flag, event.delay});
        }
    }
    return out;
}

TEST_F(MacroPageTest, TheLibraryOnDiskIsListedAsStoredWithTheLastMacroShown) {
    EXPECT_TRUE(openPage()->macroLibrary().empty());
    MacroLibrary saved = twoMacros();
    ASSERT_TRUE(MacroFolder(folder).save(saved));

    auto page = openPage();
    ASSERT_EQ(page->macroLibrary().size(), 2u);
    const auto& rows = page->list().rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, u"Jump");
    EXPECT_EQ(rows[0].macroId, 16);
    EXPECT_EQ(rows[1].name, u"Walk");
    EXPECT_EQ(rows[1].macroId, 21) << "identifiers are kept as stored";
    ASSERT_NE(page->editor().shownMacro(), nullptr);
    EXPECT_EQ(page->editor().shownMacro()->macroId, 21);
    EXPECT_TRUE(messages.shown().isEmpty());
}

// A damaged library is reported once, and saving what loaded keeps the file
// that could not be read.
TEST_F(MacroPageTest, DamagedLibraryIsReportedOnceAndItsFilesSurviveTheSave) {
    MacroLibrary saved = twoMacros();
    ASSERT_TRUE(MacroFolder(folder).save(saved));
    fs::resize_file(folder / "macroList.dat", 10);
    fs::resize_file(folder / "Walk.macro", 30);

    auto page = openPage();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown().front().contains(QString::fromStdString(folder.string())));
    ASSERT_EQ(page->macroLibrary().size(), 1u);
    EXPECT_EQ(page->macroLibrary().at(0).events, saved.at(0).events);
    EXPECT_EQ(page->list().rows().size(), 1u);

    ASSERT_TRUE(page->saveMacroList());
    ASSERT_TRUE(page->saveMacroList());
    EXPECT_EQ(messages.shown().size(), 1) << "saving says nothing more";
    EXPECT_EQ(fs::file_size(folder / "Walk.macro"), 30u);
    MacroLibrary reloaded;
    EXPECT_FALSE(MacroFolder(folder).load(reloaded).incomplete());
    ASSERT_EQ(reloaded.size(), 1u);
    EXPECT_EQ(reloaded.at(0).name, u"Jump");
}

TEST_F(MacroPageTest, RecordedKeysFollowTheTwoOptions) {
    struct Case {
        const char* name;
        bool delay;
        bool hold;
        std::initializer_list<std::pair<uint8_t, bool>> keys;
        std::vector<Shown> expected;
    };
    const Case cases[] = {
        // Held a: the desktop repeats the press; the release counts from the last repeat.
        {"record delay, held key",
         true,
         false,
         {{kA, false}, {kA, false}, {kA, false}, {kA, false}, {kA, true}},
         {{kA, 0, 40}, {kA, 1, 40}}},
        {"record hold",
         false,
         true,
         {{kA, false}, {kA, true}, {kB, false}, {kB, true}},
         {{kA, 0, 0}, {kB, 0, 0}}},
        {"neither", false, false, {{kA, false}, {kA, true}}, {{kA, 0, 0}, {kA, 1, 0}}},
    };
    for (const Case& c : cases) {
        auto page = openPage();
        createMacro(*page, "m");
        if (c.delay) {
            click(page->recordDelayBox());
        }
        if (c.hold) {
            click(page->recordHoldBox());
        }
        ASSERT_EQ(page->recordDelayBox().checkedFlag(), c.delay) << c.name;
        ASSERT_EQ(page->recordHoldBox().checkedFlag(), c.hold) << c.name;
        click(page->button(CMacroSettingsDlg::kStartRecordId));
        ASSERT_TRUE(page->isRecording()) << c.name;
        play(c.keys, 40);
        click(page->button(CMacroSettingsDlg::kStopRecordId));
        EXPECT_FALSE(page->isRecording()) << c.name;
        play({{kB, false}}, 40);
        EXPECT_EQ(shownEvents(*page), c.expected) << c.name;
    }
}

TEST_F(MacroPageTest, StartRecordReplacesTheEventsAndLocksTheOptionsUntilStop) {
    MacroLibrary saved = twoMacros();
    ASSERT_TRUE(MacroFolder(folder).save(saved));
    auto page = openPage();
    controls::CVexButton& start = page->button(CMacroSettingsDlg::kStartRecordId);
    controls::CVexButton& stop = page->button(CMacroSettingsDlg::kStopRecordId);
    EXPECT_FALSE(stop.isVisible());

    click(start);
    EXPECT_TRUE(shownEvents(*page).empty());
    EXPECT_FALSE(start.isVisible());
    EXPECT_TRUE(stop.isVisible());
    EXPECT_FALSE(page->recordDelayBox().isEnabled());
    EXPECT_FALSE(page->recordHoldBox().isEnabled());
    EXPECT_TRUE(capture.isInstalled());

    click(stop);
    EXPECT_TRUE(start.isVisible());
    EXPECT_FALSE(stop.isVisible());
    EXPECT_TRUE(page->recordDelayBox().isEnabled());
    EXPECT_TRUE(page->recordHoldBox().isEnabled());
    EXPECT_FALSE(capture.isInstalled());
}

TEST_F(MacroPageTest, AKeySourceThatCannotStartIsReportedAndTheRecordingWaitsForStop) {
    platform::FakeKeyCapture broken(false);
    auto page = openPage(&broken);
    click(page->button(CMacroSettingsDlg::kStartRecordId));
    ASSERT_EQ(messages.shown(), QStringList{QStringLiteral("start hook failed!")});
    EXPECT_TRUE(page->isRecording());
    EXPECT_TRUE(page->button(CMacroSettingsDlg::kStopRecordId).isVisible());
    click(page->button(CMacroSettingsDlg::kStopRecordId));
    EXPECT_FALSE(page->isRecording());
    EXPECT_EQ(broken.removals, 0) << "nothing was installed";
}

TEST_F(MacroPageTest, WhileRecordingThePageSwallowsItsOwnKeysAndIgnoresItsButtons) {
    MacroLibrary saved = twoMacros();
    ASSERT_TRUE(MacroFolder(folder).save(saved));
    auto page = openPage();
    KeyCounter counter;
    page->editor().installEventFilter(&counter);
    QTest::keyClick(&page->editor(), Qt::Key_A);
    ASSERT_EQ(counter.keys, 2) << "idle: press and release reach the control";

    click(page->button(CMacroSettingsDlg::kStartRecordId));
    QTest::keyClick(&page->editor(), Qt::Key_A);
    QTest::keyClick(&page->editor(), Qt::Key_Space);
    EXPECT_EQ(counter.keys, 2);
    click(page->button(CMacroSettingsDlg::kNewMacroId));
    EXPECT_FALSE(page->list().isNaming());
    click(page->button(CMacroSettingsDlg::kDeleteId));
    EXPECT_EQ(popups.asked, 0);
    EXPECT_EQ(page->list().rows().size(), 2u);
}

TEST_F(MacroPageTest, RecordDelayAndRecordHoldExcludeEachOther) {
    auto page = openPage();
    CVexCheckBox& delay = page->recordDelayBox();
    CVexCheckBox& hold = page->recordHoldBox();
    click(delay);
    EXPECT_TRUE(delay.checkedFlag());
    click(hold);
    EXPECT_TRUE(hold.checkedFlag());
    EXPECT_FALSE(delay.checkedFlag());
    click(delay);
    EXPECT_TRUE(delay.checkedFlag());
    EXPECT_FALSE(hold.checkedFlag());
    click(hold);
    click(page->button(CMacroSettingsDlg::kNewMacroId));
    EXPECT_FALSE(hold.checkedFlag()) << "New Macro";
}

// A shown macro of presses only was recorded with "Record Hold".
TEST_F(MacroPageTest, ShowingAMacroSetsRecordHoldFromItsEvents) {
    MacroLibrary saved = twoMacros(); // Jump: one press; Walk: one release
    ASSERT_TRUE(MacroFolder(folder).save(saved));
    auto page = openPage();
    const auto showRow = [&](int row) {
        QTest::mouseClick(&page->list(), Qt::LeftButton, {}, centre(page->list().rows()[row].rowRect));
    };
    click(page->recordDelayBox());
    showRow(0);
    EXPECT_TRUE(page->recordHoldBox().checkedFlag());
    EXPECT_FALSE(page->recordDelayBox().checkedFlag());
    showRow(1);
    EXPECT_FALSE(page->recordHoldBox().checkedFlag());
    createMacro(*page, "empty");
    EXPECT_FALSE(page->recordHoldBox().checkedFlag());
}

TEST_F(MacroPageTest, DeletingAMacroAsksFirstThenRemovesItAndTellsTheProfile) {
    MacroLibrary saved = twoMacros();
    ASSERT_TRUE(MacroFolder(folder).save(saved));
    auto page = openPage();
    int told = 0;
    page->setMacroDeletedHandler([&] { ++told; });

    popups.answer = false;
    click(page->button(CMacroSettingsDlg::kDeleteId));
    EXPECT_EQ(page->macroLibrary().size(), 2u);
    EXPECT_EQ(told, 0);

    popups.answer = true;
    click(page->button(CMacroSettingsDlg::kDeleteId));
    ASSERT_EQ(page->macroLibrary().size(), 1u);
    EXPECT_EQ(page->macroLibrary().find(21), nullptr);
    EXPECT_EQ(told, 1);
    ASSERT_NE(page->editor().shownMacro(), nullptr);
    EXPECT_EQ(page->editor().shownMacro()->macroId, 16) << "the row before takes the selection";
    EXPECT_EQ(popups.asked, 2);
}

// "Start record before event" with the first event selected puts the keys
// in front, in the order typed.
TEST_F(MacroPageTest, RecordingFromTheMenuInsertsAtTheSelection) {
    struct Case {
        const char* name;
        int32_t item;
        std::vector<int16_t> expected;
    };
    const Case cases[] = {
        {"before the first", controls::macro_menu::kRecordBefore, {kA, kB, 0x20, 0x21}},
        {"after the first", controls::macro_menu::kRecordAfter, {0x20, kA, kB, 0x21}},
    };
    for (const Case& c : cases) {
        auto page = openPage();
        createMacro(*page, "m");
        CMacro& macro = *page->editor().shownMacro();
        for (const int16_t code : {int16_t{0x20}, int16_t{0x21}}) {
            page->editor().addEvent(macro, event_type::kKey, code, event_flag::kPress, 0,
                                    controls::InsertMode::Append);
        }
        QTest::mouseClick(&page->editor(), Qt::LeftButton, {}, centre(macro.events[0].rowRect));
        ASSERT_EQ(macro.events[0].selected, 1) << c.name;
        click(page->recordHoldBox());
        page->editor().onCommand(page->editor().menu().controlId(), c.item);
        ASSERT_TRUE(page->isRecording()) << c.name;
        play({{kA, false}, {kA, true}, {kB, false}, {kB, true}}, 150);
        click(page->button(CMacroSettingsDlg::kStopRecordId));
        std::vector<int16_t> codes;
        for (const CEventItem& event : macro.events) {
            codes.push_back(event.code);
        }
        EXPECT_EQ(codes, c.expected) << c.name;
    }
}

} // namespace
} // namespace talwyn::pages
