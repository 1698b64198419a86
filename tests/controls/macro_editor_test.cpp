#include "controls/edits.h"
#include "controls/macro_commands.h"
#include "controls/macro_editor.h"
#include "controls/menu.h"
#include "controls/open_menu_click_watch.h"
#include "widget_support.h"

#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

namespace talwyn::controls {
namespace {

using testing::Command;
using testing::Pointer;
using testing::RecordingParent;
namespace cmd = macro_command;
namespace item = macro_menu;

constexpr int kKeyA = 0x41;

QPoint centreOf(const Box& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// (type, code, flag) of an event.
using Kind = std::tuple<int, int, int>;

class MacroEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        editor.setGeometry(368, 129, 199, 197);
        editor.setScrollImages(testing::plainScrollImages(197));
        editor.SetBackground(testing::solidImage({199, 197}, Qt::black));
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
        editor.showMacro(16, u"Fire");
        ASSERT_NE(editor.shownMacro(), nullptr);
    }
    void TearDown() override {
        editor.menu().CloseMenu();
        QApplication::processEvents();
        EXPECT_FALSE(OpenMenuClickWatch::instance().installed());
    }

    CMacro& macro() { return *editor.shownMacro(); }
    const std::vector<CEventItem>& events() { return macro().events; }

    // Key presses A, B, C ... with delays 10, 20, 30 ...
    void addKeys(int count) {
        for (int i = 0; i < count; ++i)
            editor.addEvent(macro(), event_type::kKey, static_cast<int16_t>(kKeyA + i % 26),
                            event_flag::kPress, 10 * (i + 1), InsertMode::Append);
    }
    void clickRow(size_t index) {
        const MacroRect& r = events().at(index).rowRect;
        Pointer::click(editor, {r.left + 40, (r.top + r.bottom) / 2});
    }
    std::vector<size_t> selectedRows() {
        std::vector<size_t> rows;
        for (size_t i = 0; i < events().size(); ++i)
            if (events()[i].selected != 0)
                rows.push_back(i);
        return rows;
    }
    std::vector<Kind> kinds() {
        std::vector<Kind> result;
        for (const CEventItem& e : events())
            result.emplace_back(e.type, e.code, e.flag);
        return result;
    }

    static int entryIndex(const CVexMenu& menu, int32_t code) {
        const auto& entries = menu.entries();
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].code == code)
                return static_cast<int>(i);
        ADD_FAILURE() << "no entry " << code;
        return 0;
    }
    static QPoint entryCentre(const CVexMenu& menu, int32_t code) {
        return centreOf(menu.entries()[static_cast<size_t>(entryIndex(menu, code))].rect);
    }

    // Opens the menu with the right button over the editor and follows
    // `path`: the items that open submenus are hovered, the last is clicked.
    void pick(const std::vector<int32_t>& path) {
        Pointer::press(editor, {60, 150}, Qt::RightButton);
        Pointer::release(editor, {60, 150}, Qt::RightButton);
        CVexMenu* menu = &editor.menu();
        ASSERT_TRUE(menu->isVisible());
        for (size_t i = 0; i + 1 < path.size(); ++i) {
            Pointer::move(*menu, entryCentre(*menu, path[i]));
            menu = menu->GetSubMenu(path[i]);
            ASSERT_TRUE(menu->isVisible()) << "submenu " << path[i];
        }
        Pointer::click(*menu, entryCentre(*menu, path.back()));
    }

    RecordingParent parent;
    CVexMacroCtrl editor{&parent};
};

TEST_F(MacroEditorTest, MenuHasTheItemsAndTheMouseEventBranches) {
    CVexMenu& menu = editor.menu();
    std::vector<QString> texts;
    for (const MenuEntry& entry : menu.entries())
        texts.push_back(entry.text);
    EXPECT_EQ(texts, (std::vector<QString>{"Start record before event", "Start record after event",
                                           "Insert mouse event", "Insert delay", "Edit delay", "Delete"}));
    EXPECT_EQ(menu.width(), 170);
    CVexMenu* mouse = menu.GetSubMenu(item::kInsertMouseEvent);
    EXPECT_EQ(mouse->width(), 120);
    std::vector<std::pair<int32_t, QString>> branches;
    for (const MenuEntry& entry : mouse->entries())
        branches.emplace_back(entry.code, entry.text);
    EXPECT_EQ(branches, (std::vector<std::pair<int32_t, QString>>{{7, "Left button"},
                                                                  {11, "Right button"},
                                                                  {15, "Middle button"},
                                                                  {19, "Forward button"},
                                                                  {23, "Back button"},
                                                                  {27, "Scroll wheel"}}));
    EXPECT_EQ(mouse->GetSubMenu(15)->entries().size(), 3u);
    EXPECT_EQ(mouse->GetSubMenu(15)->entries()[2].text, QStringLiteral("Click"));
    EXPECT_EQ(mouse->GetSubMenu(27)->entries().size(), 2u);
    // The menu's own ID is never one of the editor's other commands.
    EXPECT_GT(menu.controlId(), item::kScrollWheel);
    EXPECT_NE(menu.controlId(), cmd::kScroll);
}

struct MouseCase {
    const char* label;
    std::vector<int32_t> path;
    int selectBefore; // row clicked before the pick; -1: none selected
    size_t insertedAt;
    std::vector<Kind> inserted;
};

class MacroEditorMouseTest : public MacroEditorTest, public ::testing::WithParamInterface<MouseCase> {};

TEST_P(MacroEditorMouseTest, InsertsAfterTheSelectedRowWithNoDelay) {
    const MouseCase& c = GetParam();
    addKeys(3);
    if (c.selectBefore >= 0) {
        clickRow(static_cast<size_t>(c.selectBefore));
    } else {
        for (CEventItem& e : macro().events)
            e.selected = 0;
    }
    parent.commands.clear();
    pick(c.path);

    ASSERT_EQ(events().size(), 3 + c.inserted.size());
    std::vector<Kind> expected{{1, kKeyA, 0}, {1, kKeyA + 1, 0}, {1, kKeyA + 2, 0}};
    expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(c.insertedAt), c.inserted.begin(),
                    c.inserted.end());
    EXPECT_EQ(kinds(), expected);
    for (size_t k = 0; k < c.inserted.size(); ++k)
        EXPECT_EQ(events()[c.insertedAt + k].delay, 0);
    // The last inserted event is selected; all rows are laid out afresh.
    EXPECT_EQ(selectedRows(), std::vector<size_t>{c.insertedAt + c.inserted.size() - 1});
    for (size_t k = 0; k < events().size(); ++k)
        EXPECT_EQ(events()[k].rowRect.top, 18 * static_cast<int>(k) + 5);
    // The menu reported closing to the page: 1 then 0 for each open menu.
    ASSERT_FALSE(parent.commands.empty());
    EXPECT_EQ(parent.commands.front(), (Command{command::kMenuClosing, 1}));
    EXPECT_EQ(parent.commands.back(), (Command{command::kMenuClosing, 0}));
}

INSTANTIATE_TEST_SUITE_P(
    Picks, MacroEditorMouseTest,
    ::testing::Values(MouseCase{"LeftClick", {3, 7, 10}, 1, 2, {{16, 1, 0}, {16, 1, 1}}},
                      MouseCase{"LeftClickAfterLast", {3, 7, 10}, 2, 3, {{16, 1, 0}, {16, 1, 1}}},
                      MouseCase{"LeftClickWithoutSelection", {3, 7, 10}, -1, 0, {{16, 1, 0}, {16, 1, 1}}},
                      MouseCase{"RightDown", {3, 11, 12}, 0, 1, {{16, 2, 0}}},
                      MouseCase{"MiddleUp", {3, 15, 17}, 0, 1, {{16, 4, 1}}},
                      MouseCase{"ForwardClick", {3, 19, 22}, 0, 1, {{16, 167, 0}, {16, 167, 1}}},
                      MouseCase{"BackDown", {3, 23, 24}, 1, 2, {{16, 166, 0}}},
                      MouseCase{"WheelDown", {3, 27, 28}, 1, 2, {{17, 152, 0}}},
                      MouseCase{"WheelUp", {3, 27, 29}, 1, 2, {{17, 151, 0}}}),
    testing::caseLabel<MouseCase>);

TEST_F(MacroEditorTest, PicksOfItemsThatOpenSubmenusDoNothing) {
    addKeys(2);
    pick({3, 7});
    EXPECT_TRUE(editor.menu().isVisible());
    EXPECT_EQ(events().size(), 2u);
}

TEST_F(MacroEditorTest, RightButtonDoesNotOpenTheMenuWhileRecording) {
    editor.setRecording(true);
    Pointer::press(editor, {60, 100}, Qt::RightButton);
    EXPECT_FALSE(editor.menu().isVisible());
    Pointer::release(editor, {60, 100}, Qt::RightButton);
    editor.setRecording(false);
    Pointer::press(editor, {60, 100}, Qt::RightButton);
    Pointer::release(editor, {60, 100}, Qt::RightButton);
    EXPECT_TRUE(editor.menu().isVisible());
    EXPECT_EQ(editor.menu().geometry().topLeft(), editor.mapToGlobal(QPoint(60, 100)));
}

TEST_F(MacroEditorTest, LosingTheFocusClosesTheMenu) {
    QWidget elsewhere(&parent);
    elsewhere.setFocusPolicy(Qt::StrongFocus);
    elsewhere.setGeometry(10, 10, 20, 20);
    elsewhere.show();
    parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
    Pointer::press(editor, {60, 100}, Qt::RightButton);
    Pointer::release(editor, {60, 100}, Qt::RightButton);
    ASSERT_TRUE(editor.hasFocus());
    ASSERT_TRUE(editor.menu().isVisible());
    elsewhere.setFocus(Qt::MouseFocusReason);
    EXPECT_FALSE(editor.menu().isVisible());
}

struct DeleteCase {
    const char* label;
    int eventCount;
    std::vector<int> deleted; // row positions, deleted one after another through the menu
    std::vector<int> remainingDelays;
    int selectedAfter; // -1: none
};

class MacroEditorDeleteTest : public MacroEditorTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(MacroEditorDeleteTest, SelectsTheNextEventOrTheFirstAndKeepsItInView) {
    const DeleteCase& c = GetParam();
    addKeys(c.eventCount);
    for (int index : c.deleted) {
        clickRow(static_cast<size_t>(index));
        ASSERT_EQ(selectedRows(), std::vector<size_t>{static_cast<size_t>(index)});
        pick({item::kDelete});
    }
    std::vector<int> delays;
    for (const CEventItem& e : events())
        delays.push_back(e.delay);
    EXPECT_EQ(delays, c.remainingDelays);
    if (c.selectedAfter < 0) {
        EXPECT_TRUE(selectedRows().empty());
        return;
    }
    EXPECT_EQ(selectedRows(), std::vector<size_t>{static_cast<size_t>(c.selectedAfter)});
    // The selected event can be seen, and rows stay 18 pixels apart.
    const MacroRect& shown = events()[static_cast<size_t>(c.selectedAfter)].rowRect;
    EXPECT_GE(shown.top, 0);
    EXPECT_LE(shown.bottom, 197);
    for (size_t k = 1; k < events().size(); ++k)
        EXPECT_EQ(events()[k].rowRect.top - events()[k - 1].rowRect.top, 18);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MacroEditorDeleteTest,
    ::testing::Values(
        DeleteCase{"Middle", 3, {1}, {10, 30}, 1}, DeleteCase{"First", 3, {0}, {20, 30}, 0},
        DeleteCase{"LastOfSeveral", 3, {2}, {10, 20}, 0}, DeleteCase{"Only", 1, {0}, {}, -1},
        // Scrolled to its end, a long macro comes back to its top.
        DeleteCase{"LastOfALongMacro", 14, {13}, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130}, 0},
        // Deleting in the middle of a scrolled macro until every
        // event fits: the top must still come back into view.
        DeleteCase{"LastAfterShrinking", 12, {5, 5, 5, 5, 5, 5, 5, 4}, {10, 20, 30, 40}, 0}),
    testing::caseLabel<DeleteCase>);

TEST_F(MacroEditorTest, ScrollControlMovesTheRowsWithinTheEvents) {
    addKeys(14);
    CVexScrollCtrl& scroll = editor.scrollControl();
    EXPECT_EQ(scroll.geometry(), QRect(181, 0, 18, 197));
    // Adding scrolled to the new last event.
    EXPECT_EQ(events()[13].rowRect.bottom, 197);
    Pointer::click(scroll, {9, 9}); // first end button: position 0, limited to the rows that fit
    EXPECT_EQ(events()[10].rowRect.bottom, 217);
    EXPECT_EQ(events()[0].rowRect.top, 19);
    Pointer::click(scroll, {9, 188}); // second end button: the last event
    EXPECT_EQ(events()[13].rowRect.bottom, 197);
    scroll.SetPos(12);
    EXPECT_EQ(events()[12].rowRect.bottom, 197);
}

struct DelayCase {
    const char* label;
    int32_t item;
    QString typed;
    int32_t delay;
};

class MacroEditorDelayTest : public MacroEditorTest, public ::testing::WithParamInterface<DelayCase> {};

TEST_P(MacroEditorDelayTest, TypedDigitsBecomeTheSelectedEventsDelay) {
    const DelayCase& c = GetParam();
    addKeys(3);
    clickRow(1);
    pick({c.item});
    CVexEdit* edit = editor.delayEdit();
    ASSERT_NE(edit, nullptr);
    ASSERT_FALSE(edit->isHidden());
    const MacroRect& row = events()[1].rowRect;
    EXPECT_EQ(edit->geometry(),
              QRect(QPoint(row.left + 120, row.top + 2), QPoint(row.left + 171, row.bottom - 1)));
    QTest::keyClicks(edit, c.typed);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(edit->isHidden());
    EXPECT_EQ(events()[1].delay, c.delay);
    EXPECT_EQ(events()[0].delay, 10);
    EXPECT_EQ(events()[2].delay, 30);
}

INSTANTIATE_TEST_SUITE_P(Texts, MacroEditorDelayTest,
                         ::testing::Values(DelayCase{"Digits", item::kEditDelay, "250", 250},
                                           DelayCase{"InsertDelayEditsToo", item::kInsertDelay, "7", 7},
                                           DelayCase{"EmptyKeepsTheDelay", item::kEditDelay, "", 20},
                                           DelayCase{"LettersAreRefused", item::kEditDelay, "1a2b", 12},
                                           DelayCase{"TooLongSaturates", item::kEditDelay, "99999999999",
                                                     std::numeric_limits<int32_t>::max()}),
                         testing::caseLabel<DelayCase>);

TEST_F(MacroEditorTest, LeftClickEndsTheDelayEditWithoutSelecting) {
    addKeys(3);
    clickRow(0);
    pick({item::kEditDelay});
    QTest::keyClicks(editor.delayEdit(), QStringLiteral("5"));
    clickRow(2);
    EXPECT_TRUE(editor.delayEdit()->isHidden());
    EXPECT_EQ(events()[0].delay, 5);
    // The press only ended the edit; the release selects.
    EXPECT_EQ(selectedRows(), std::vector<size_t>{2});
    EXPECT_FALSE(editor.finishDelayEdit());
}

struct RecordCase {
    const char* label;
    int32_t item;
    int selectedBefore;
    int selectedAfter; // -1: none
    CommandValue reported;
    size_t recordedAt; // where the first key recorded afterwards lands
};

class MacroEditorRecordTest : public MacroEditorTest, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(MacroEditorRecordTest, MovesTheSelectionAndAsksThePageToRecord) {
    const RecordCase& c = GetParam();
    addKeys(3);
    clickRow(static_cast<size_t>(c.selectedBefore));
    parent.commands.clear();
    pick({c.item});
    EXPECT_EQ(parent.commands.back(), (Command{cmd::kStartRecordFromMenu, c.reported}));
    EXPECT_EQ(editor.insertMode(), InsertMode::AfterSelection);
    EXPECT_EQ(selectedRows(), c.selectedAfter < 0
                                  ? std::vector<size_t>{}
                                  : std::vector<size_t>{static_cast<size_t>(c.selectedAfter)});
    // What the page's recording then adds, key after key, keeps its order.
    editor.addEvent(macro(), event_type::kKey, 0x58, event_flag::kPress, 0, editor.insertMode());
    editor.addEvent(macro(), event_type::kKey, 0x58, event_flag::kRelease, 0, editor.insertMode());
    EXPECT_EQ(events()[c.recordedAt].code, 0x58);
    EXPECT_EQ(events()[c.recordedAt].flag, event_flag::kPress);
    EXPECT_EQ(events()[c.recordedAt + 1].flag, event_flag::kRelease);
}

INSTANTIATE_TEST_SUITE_P(
    Items, MacroEditorRecordTest,
    ::testing::Values(RecordCase{"BeforeFirst", item::kRecordBefore, 0, -1, cmd::kRecordBeforeEvent, 0},
                      RecordCase{"BeforeThird", item::kRecordBefore, 2, 1, cmd::kRecordBeforeEvent, 2},
                      RecordCase{"AfterSecond", item::kRecordAfter, 1, 1, cmd::kRecordAfterEvent, 2}),
    testing::caseLabel<RecordCase>);

TEST_F(MacroEditorTest, ShowAndRemoveKeepTheLibraryAndTheShownMacroInStep) {
    EXPECT_EQ(macro().viewRect, (MacroRect{0, 0, 199, 197}));
    EXPECT_EQ(macro().name, u"Fire");
    addKeys(2);
    editor.showMacro(17, u"Jump");
    EXPECT_EQ(editor.library().size(), 2u);
    editor.showMacro(16, u"ignored");
    EXPECT_EQ(editor.library().size(), 2u);
    EXPECT_EQ(macro().name, u"Fire");
    EXPECT_EQ(events().size(), 2u);
    editor.removeMacro(17);
    EXPECT_EQ(editor.shownMacro()->macroId, 16);
    editor.removeMacro(16);
    EXPECT_EQ(editor.shownMacro(), nullptr);
    EXPECT_TRUE(editor.library().empty());
    // Without a shown macro the menu's commands change nothing.
    pick({item::kDelete});
    editor.removeMacro(99);
}

// Pixels of `image` inside `box` that differ from black.
int inkIn(const QImage& image, const QRect& box) {
    int ink = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            ink += (image.pixel(x, y) & 0xFFFFFF) != 0 ? 1 : 0;
    return ink;
}

TEST_F(MacroEditorTest, KeyWithoutNameShowsOnlyItsDelayAtTheRowStart) {
    editor.addEvent(macro(), event_type::kKey, 0x07, event_flag::kPress, 40, InsertMode::Append); // no name
    editor.addEvent(macro(), event_type::kKey, kKeyA, event_flag::kPress, 40, InsertMode::Append);
    const QImage frame = editor.grab().toImage();
    const auto column = [&](size_t row, int left, int right) {
        const MacroRect& r = events()[row].rowRect;
        return QRect(QPoint(r.left + left, r.top), QPoint(r.left + right - 1, r.bottom - 1));
    };
    // Nameless: the delay at the start, nothing in the name and delay columns.
    EXPECT_GT(inkIn(frame, column(0, 2, 40)), 0);
    EXPECT_EQ(inkIn(frame, column(0, 60, 174)), 0);
    // Named: mark, name and delay.
    EXPECT_GT(inkIn(frame, column(1, 2, 13)), 0);
    EXPECT_GT(inkIn(frame, column(1, 17, 40)), 0);
    EXPECT_GT(inkIn(frame, column(1, 122, 174)), 0);
}

TEST_F(MacroEditorTest, LibrarySavedByOneEditorLoadsInAnother) {
    const std::filesystem::path folder = std::filesystem::path(TALWYN_TEST_TMP) / "macro_editor_library";
    std::filesystem::remove_all(folder);
    editor.setMacroFolder(folder);
    addKeys(3);
    editor.showMacro(17, u"Jump");
    editor.addEvent(macro(), event_type::kWheel, 151, event_flag::kPress, 0, InsertMode::Append);
    ASSERT_TRUE(editor.saveMacros());
    EXPECT_EQ(editor.makeProfileMacro(16)->events.size(), 3u);
    EXPECT_FALSE(editor.makeProfileMacro(18));

    CVexMacroCtrl other;
    other.resize(199, 197);
    other.setMacroFolder(folder);
    other.showMacro(30, u"Gone");
    const MacroLoadReport report = other.loadMacros();
    EXPECT_FALSE(report.incomplete());
    EXPECT_EQ(other.shownMacro(), nullptr);
    ASSERT_EQ(other.library().size(), 2u);
    EXPECT_EQ(other.library().at(0), editor.library().at(0));
    EXPECT_EQ(other.library().at(1), editor.library().at(1));
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace talwyn::controls
