#include "controls/edits.h"
#include "controls/macro_commands.h"
#include "controls/macro_list.h"
#include "widget_support.h"

#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace talwyn::controls {
namespace {

using testing::Command;
using testing::Pointer;
using testing::RecordingParent;
namespace cmd = macro_command;

class MacroListTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.setGeometry(98, 129, 200, 198);
        list.setScrollImages(testing::plainScrollImages(198));
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    }

    // Types a name into the list's name edit and ends it with Enter.
    void name(const QString& text) {
        list.newMacro();
        ASSERT_NE(list.nameEdit(), nullptr);
        ASSERT_TRUE(list.isNaming());
        QTest::keyClicks(list.nameEdit(), text, Qt::NoModifier, 10);
        QTest::keyClick(list.nameEdit(), Qt::Key_Return);
    }
    void nameAll(const std::vector<QString>& names) {
        for (const QString& text : names)
            name(text);
    }
    QPoint rowCentre(size_t index) const {
        const Box& r = list.rows().at(index).rowRect;
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void selectRow(size_t index) { Pointer::click(list, rowCentre(index)); }

    std::vector<std::u16string> names() const {
        std::vector<std::u16string> result;
        for (const CBoxItem& row : list.rows())
            result.push_back(row.name);
        return result;
    }
    std::vector<int32_t> ids() const {
        std::vector<int32_t> result;
        for (const CBoxItem& row : list.rows())
            result.push_back(row.macroId);
        return result;
    }
    std::vector<int32_t> selectedIds() const {
        std::vector<int32_t> result;
        for (const CBoxItem& row : list.rows())
            if (row.selected != 0)
                result.push_back(row.macroId);
        return result;
    }

    RecordingParent parent;
    CVexListBox list{&parent};
};

struct NamingCase {
    const char* label;
    std::vector<QString> typed;
    std::vector<std::u16string> names;
    std::vector<int32_t> ids;
};

class MacroListNamingTest : public MacroListTest, public ::testing::WithParamInterface<NamingCase> {};

TEST_P(MacroListNamingTest, TypedNamesBecomeUniqueRowsWithIdentifiersFrom16) {
    const NamingCase& c = GetParam();
    nameAll(c.typed);
    EXPECT_EQ(names(), c.names);
    EXPECT_EQ(ids(), c.ids);
    // Each new macro is the only selected row and is reported to be shown.
    std::vector<Command> shown;
    for (int32_t id : c.ids)
        shown.emplace_back(cmd::kSelectionChanged, id);
    EXPECT_EQ(parent.commands, shown);
    if (!c.ids.empty()) {
        EXPECT_EQ(selectedIds(), std::vector<int32_t>{c.ids.back()});
    }
    EXPECT_TRUE(list.nameEdit()->isHidden());
    EXPECT_TRUE(list.nameEdit()->text().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Names, MacroListNamingTest,
    ::testing::Values(
        NamingCase{"ThreeFires", {"Fire", "Fire", "Fire"}, {u"Fire", u"Fire(1)", u"Fire(2)"}, {16, 17, 18}},
        NamingCase{"EmptyNameCreatesNothing", {"", "Jump", ""}, {u"Jump"}, {16}},
        NamingCase{"CaseSensitive", {"Fire", "fire"}, {u"Fire", u"fire"}, {16, 17}},
        // Painting shortens what a row shows, never the name that
        // later names are compared with.
        NamingCase{"LongNamesStayComparable",
                   {"WWWWWWWWWWWWWWWWWWWWWWWWWW", "WWWWWWWWWWWWWWWWWWWWWWWWWW"},
                   {u"WWWWWWWWWWWWWWWWWWWWWWWWWW", u"WWWWWWWWWWWWWWWWWWWWWWWWWW(1)"},
                   {16, 17}}),
    testing::caseLabel<NamingCase>);

TEST_F(MacroListTest, NameEditOpensBelowTheLastRowAndNewMacroTogglesIt) {
    list.newMacro();
    ASSERT_NE(list.nameEdit(), nullptr);
    // No scroll bar: the edit keeps 26 pixels clear on the right.
    EXPECT_EQ(list.nameEdit()->geometry(), QRect(QPoint(3, 0), QPoint(200 - 2 - 26 - 1, 17)));
    QTest::keyClicks(list.nameEdit(), QStringLiteral("Jump"));
    list.newMacro(); // a second press ends the naming
    EXPECT_FALSE(list.isNaming());
    EXPECT_EQ(names(), std::vector<std::u16string>{u"Jump"});
    list.newMacro();
    EXPECT_EQ(list.nameEdit()->geometry().top(), list.rows().back().rowRect.bottom);
}

struct ReuseCase {
    const char* label;
    std::vector<size_t> deleteAt; // row positions, deleted one after another
    int32_t nextId;
};

class MacroListReuseTest : public MacroListTest, public ::testing::WithParamInterface<ReuseCase> {};

TEST_P(MacroListReuseTest, NextIdentifierIsOneAboveTheLargestLeft) {
    nameAll({"A", "B", "C"});
    for (size_t index : GetParam().deleteAt) {
        selectRow(index);
        list.deleteSelectedMacro();
    }
    name("D");
    EXPECT_EQ(list.rows().back().macroId, GetParam().nextId);
}

INSTANTIATE_TEST_SUITE_P(Deletes, MacroListReuseTest,
                         ::testing::Values(ReuseCase{"Last", {2}, 18}, ReuseCase{"Middle", {1}, 19},
                                           ReuseCase{"First", {0}, 19}, ReuseCase{"All", {0, 0, 0}, 16}),
                         testing::caseLabel<ReuseCase>);

struct DeleteCase {
    const char* label;
    size_t rowCount;
    size_t deleted;
    int32_t nextShown; // 0: none
};

class MacroListDeleteTest : public MacroListTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(MacroListDeleteTest, ReportsTheDeletionThenTheNewSelection) {
    const DeleteCase& c = GetParam();
    for (size_t i = 0; i < c.rowCount; ++i)
        name(QStringLiteral("M%1").arg(i));
    selectRow(c.deleted);
    const int32_t deletedId = list.rows()[c.deleted].macroId;
    parent.commands.clear();
    list.deleteSelectedMacro();
    EXPECT_EQ(parent.commands,
              (std::vector<Command>{{cmd::kMacroDeleted, deletedId}, {cmd::kSelectionChanged, c.nextShown}}));
    ASSERT_EQ(list.rows().size(), c.rowCount - 1);
    EXPECT_EQ(selectedIds(), c.nextShown == 0 ? std::vector<int32_t>{} : std::vector<int32_t>{c.nextShown});
    for (size_t k = 0; k < list.rows().size(); ++k)
        EXPECT_EQ(list.rows()[k].rowRect,
                  (Box{4, 18 * static_cast<int>(k) + 5, 198, 18 * static_cast<int>(k) + 23}));
}

INSTANTIATE_TEST_SUITE_P(Rows, MacroListDeleteTest,
                         ::testing::Values(DeleteCase{"LastOfThree", 3, 2, 17},
                                           DeleteCase{"FirstOfThree", 3, 0, 17},
                                           DeleteCase{"MiddleOfThree", 3, 1, 18},
                                           DeleteCase{"OnlyRow", 1, 0, 0}),
                         testing::caseLabel<DeleteCase>);

TEST_F(MacroListTest, DeleteWithoutSelectionDoesNothing) {
    list.deleteSelectedMacro();
    EXPECT_TRUE(parent.commands.empty());
}

TEST_F(MacroListTest, PressSelectsReleaseReports) {
    nameAll({"A", "B", "C"});
    parent.commands.clear();
    Pointer::press(list, rowCentre(0));
    EXPECT_EQ(selectedIds(), std::vector<int32_t>{16});
    EXPECT_TRUE(parent.commands.empty());
    Pointer::release(list, rowCentre(0));
    EXPECT_EQ(parent.commands, (std::vector<Command>{{cmd::kSelectionChanged, 16}}));
    // Below the rows nothing changes.
    Pointer::click(list, {100, 150});
    EXPECT_EQ(selectedIds(), std::vector<int32_t>{16});
    EXPECT_EQ(parent.commands.size(), 1u);
}

TEST_F(MacroListTest, PressWhileNamingOnlyEndsTheNaming) {
    nameAll({"A", "B"});
    list.newMacro();
    QTest::keyClicks(list.nameEdit(), QStringLiteral("C"));
    parent.commands.clear();
    Pointer::press(list, rowCentre(0));
    EXPECT_FALSE(list.isNaming());
    EXPECT_EQ(names(), (std::vector<std::u16string>{u"A", u"B", u"C"}));
    EXPECT_EQ(selectedIds(), std::vector<int32_t>{18});
    EXPECT_EQ(parent.commands, (std::vector<Command>{{cmd::kSelectionChanged, 18}}));
}

TEST_F(MacroListTest, RowsFromTheLibraryKeepTheirNamesAndIdentifiers) {
    list.addExistingMacro(u"Fire", 40);
    list.addExistingMacro(u"Fire", 21);
    EXPECT_EQ(names(), (std::vector<std::u16string>{u"Fire", u"Fire"}));
    EXPECT_EQ(ids(), (std::vector<int32_t>{40, 21}));
    EXPECT_EQ(parent.commands,
              (std::vector<Command>{{cmd::kSelectionChanged, 40}, {cmd::kSelectionChanged, 21}}));
    name("Fire");
    EXPECT_EQ(list.rows().back().name, u"Fire(1)");
    EXPECT_EQ(list.rows().back().macroId, 41);
}

TEST_F(MacroListTest, ScrollBarAppearsWhenRowsOutgrowTheListAndScrollsThem) {
    nameAll({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"});
    EXPECT_TRUE(list.scrollControl().isHidden()); // the tenth row ends at 185
    nameAll({"10", "11", "12", "13", "14"});
    CVexScrollCtrl& scroll = list.scrollControl();
    ASSERT_FALSE(scroll.isHidden());
    EXPECT_EQ(scroll.geometry(), QRect(182, 0, 18, 198));
    // Set to the last row: it ends at the bottom.
    EXPECT_EQ(scroll.position(), 14);
    EXPECT_EQ(list.rows()[14].rowRect.bottom, 198);

    const auto rowBottoms = [this] {
        std::vector<int> bottoms;
        for (const CBoxItem& row : list.rows())
            bottoms.push_back(row.rowRect.bottom);
        return bottoms;
    };
    Pointer::click(scroll, {9, 9}); // the first end button: back to the top
    EXPECT_EQ(scroll.position(), 0);
    EXPECT_EQ(list.rows()[0].rowRect.top, 5);
    EXPECT_EQ(list.rows()[14].rowRect.bottom, 18 * 14 + 23);
    scroll.SetPos(11); // the first position that scrolls leaves the next row half in view
    EXPECT_EQ(list.rows()[11].rowRect.bottom, 206);
    scroll.SetPos(12);
    EXPECT_EQ(list.rows()[12].rowRect.bottom, 198);
    const std::vector<int> atTwelve = rowBottoms();
    for (int k = 1; k < 15; ++k)
        EXPECT_EQ(atTwelve[static_cast<size_t>(k)] - atTwelve[static_cast<size_t>(k) - 1], 18);
    Pointer::click(scroll, {9, 189}); // the second end button: to the last row
    EXPECT_EQ(list.rows()[14].rowRect.bottom, 198);

    // The name edit of a full list sits at the bottom, clear of the scroll bar.
    list.newMacro();
    EXPECT_EQ(list.rows()[14].rowRect.bottom, 178);
    EXPECT_EQ(list.nameEdit()->geometry(), QRect(QPoint(3, 178), QPoint(179, 195)));
    QTest::keyClick(list.nameEdit(), Qt::Key_Escape);
    list.finishNaming();

    for (int i = 0; i < 5; ++i) {
        selectRow(0);
        list.deleteSelectedMacro();
    }
    EXPECT_TRUE(scroll.isHidden());
    EXPECT_EQ(list.rows()[0].rowRect.top, 5);
}

} // namespace
} // namespace talwyn::controls
