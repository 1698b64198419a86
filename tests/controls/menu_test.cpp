#include "controls/menu.h"
#include "controls/open_menu_click_watch.h"
#include "widget_support.h"

#include <QFontMetrics>
#include <QTest>

#include <gtest/gtest.h>

namespace talwyn::controls {
namespace {

using testing::Command;
using testing::RecordingParent;

constexpr Command kClosing{command::kMenuClosing, 1};
constexpr Command kClosed{command::kMenuClosing, 0};

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner.move(600, 500);
        owner.resize(200, 100);
        owner.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    }
    void TearDown() override {
        menu.CloseMenu();
        QApplication::processEvents();
        EXPECT_FALSE(OpenMenuClickWatch::instance().installed());
        EXPECT_EQ(OpenMenuClickWatch::liveWatchCount(), 0);
    }
    // A chain "Open" / "More >" (with "Deep" and "Off" in a submenu) / "Gone" (disabled).
    void fill() {
        menu.AddItem(1, QStringLiteral("Open"), 0, true, false);
        menu.AddItem(2, QStringLiteral("More"), 0, true, true);
        menu.AddItem(3, QStringLiteral("Gone"), 0, false, false);
        menu.AddSubItem(21, 2, QStringLiteral("Deep"), 0, true);
        menu.AddSubItem(22, 2, QStringLiteral("Off"), 0, true);
    }
    QPoint entryCentre(const CVexMenu& m, int index) const {
        const Box& r = m.entries()[static_cast<size_t>(index)].rect;
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    CVexMenu* openSubmenu() {
        menu.TrackPopup(PopupMode::TopLeft, 100, 100);
        testing::moveTo(menu, entryCentre(menu, 1));
        CVexMenu* sub = menu.GetSubMenu(2);
        return sub->isVisible() ? sub : nullptr;
    }

    RecordingParent owner;
    CVexMenu menu{&owner, 4242, QRect(0, 0, 120, 10)};
};

TEST_F(MenuTest, LayoutGivesEachEntryOneTextLine) {
    fill();
    menu.TrackPopup(PopupMode::TopLeft, 100, 100);
    const int h = QFontMetrics(arialFont(15)).height();
    EXPECT_EQ(h, 15);
    EXPECT_EQ(menu.height(), 53);
    EXPECT_EQ(menu.width(), 120);
    EXPECT_EQ(menu.entries()[2].rect, (Box{1, 34, 105, 49}));
    EXPECT_EQ(menu.geometry().topLeft(), QPoint(100, 100));
    menu.CloseMenu();
    menu.TrackPopup(PopupMode::BottomRight, 300, 300);
    EXPECT_EQ(menu.geometry().bottomRight(), QPoint(299, 299));
}

TEST_F(MenuTest, AddingKeepsTheFirstEntryOfACode) {
    menu.AddItem(5, QStringLiteral("A"), 0, true, false);
    menu.AddItem(5, QStringLiteral("B"), 0, true, false);
    ASSERT_EQ(menu.entries().size(), 1u);
    EXPECT_EQ(menu.entries()[0].text, QStringLiteral("A"));
    menu.AddSubItem(9, 77, QStringLiteral("orphan"), 0, true);
    EXPECT_EQ(menu.FindItem(9), nullptr);
    EXPECT_FALSE(menu.entries()[0].hasSubmenu);
}

TEST_F(MenuTest, FindItemSearchesSubmenusAndMeasuresText) {
    fill();
    ASSERT_NE(menu.FindItem(22), nullptr);
    EXPECT_EQ(menu.FindItem(22)->text, QStringLiteral("Off"));
    EXPECT_EQ(menu.FindItem(99), nullptr);
    const QFontMetrics metrics(arialFont(15));
    EXPECT_EQ(menu.MaxItemTextWidth(2), std::max(metrics.horizontalAdvance(QStringLiteral("Deep")),
                                                 metrics.horizontalAdvance(QStringLiteral("Off"))));
    EXPECT_EQ(menu.MaxItemTextWidth(4242), metrics.horizontalAdvance(QStringLiteral("Open")));
}

TEST_F(MenuTest, EmptyMenuStaysHiddenWithoutAWatch) {
    menu.TrackPopup(PopupMode::TopLeft, 100, 100);
    EXPECT_FALSE(menu.isVisible());
    EXPECT_FALSE(OpenMenuClickWatch::instance().installed());
}

TEST_F(MenuTest, PickingCloses) {
    fill();
    menu.TrackPopup(PopupMode::TopLeft, 100, 100);
    ASSERT_TRUE(menu.isVisible());
    testing::click(menu, entryCentre(menu, 0));
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(owner.commands, (std::vector<Command>{kClosing, kClosed, {4242, 1}}));
}

TEST_F(MenuTest, StripRightOfEntriesStillPicks) {
    fill();
    menu.TrackPopup(PopupMode::TopLeft, 100, 100);
    testing::click(menu, {112, entryCentre(menu, 0).y()});
    EXPECT_EQ(owner.commands.back(), (Command{4242, 1}));
}

TEST_F(MenuTest, SubmenuEntriesAndDisabledEntriesAreNotPicked) {
    fill();
    menu.TrackPopup(PopupMode::TopLeft, 100, 100);
    testing::release(menu, entryCentre(menu, 1));
    EXPECT_TRUE(menu.isVisible());
    menu.GetSubMenu(2)->ClearItems();
    testing::release(menu, entryCentre(menu, 1));
    EXPECT_TRUE(menu.isVisible());
    EXPECT_TRUE(owner.commands.empty());
    testing::release(menu, entryCentre(menu, 2));
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(owner.commands, (std::vector<Command>{kClosing, kClosed}));
}

TEST_F(MenuTest, SubmenuPickClosesTheChainBeforeReporting) {
    fill();
    CVexMenu* sub = openSubmenu();
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->geometry().topLeft(), QPoint(menu.geometry().x() + menu.width() - 5,
                                                menu.geometry().y() + menu.entries()[1].rect.top - 5));
    EXPECT_EQ(sub->width(), CVexMenu::kSubmenuWidth);
    EXPECT_EQ(OpenMenuClickWatch::instance().target(), sub);

    testing::click(*sub, entryCentre(*sub, 1));
    EXPECT_EQ(owner.commands, (std::vector<Command>{kClosing, kClosing, kClosed, kClosed, {2, 22}}));
    EXPECT_FALSE(sub->isVisible());
    EXPECT_FALSE(menu.isVisible());
    EXPECT_FALSE(OpenMenuClickWatch::instance().installed());
}

TEST_F(MenuTest, HoveringAnotherEntryClosesTheOpenSubmenu) {
    fill();
    CVexMenu* sub = openSubmenu();
    ASSERT_NE(sub, nullptr);
    testing::moveTo(menu, entryCentre(menu, 0));
    EXPECT_FALSE(sub->isVisible());
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(owner.commands, (std::vector<Command>{kClosing, kClosed}));
    EXPECT_EQ(OpenMenuClickWatch::instance().target(), &menu);
    EXPECT_EQ(menu.hoverItem(), 0);
}

TEST_F(MenuTest, OnlyALeftPressOutsideTheChainCloses) {
    fill();
    CVexMenu* sub = openSubmenu();
    ASSERT_NE(sub, nullptr);
    QWindow* outside = owner.windowHandle();

    QTest::mousePress(outside, Qt::RightButton, {}, QPoint(50, 50));
    QTest::mouseRelease(outside, Qt::RightButton, {}, QPoint(50, 50));
    QApplication::processEvents();
    EXPECT_TRUE(menu.isVisible());

    // A press inside the open submenu keeps its parent open.
    QTest::mousePress(sub->windowHandle(), Qt::LeftButton, {}, entryCentre(*sub, 0));
    QApplication::processEvents();
    EXPECT_TRUE(menu.isVisible());
    EXPECT_TRUE(sub->isVisible());
    // Released off its entries, the press picks nothing.
    QTest::mouseRelease(sub->windowHandle(), Qt::LeftButton, {}, QPoint(2, 1));
    QApplication::processEvents();
    EXPECT_TRUE(sub->isVisible());

    QTest::mousePress(outside, Qt::LeftButton, {}, QPoint(50, 50));
    QApplication::processEvents();
    EXPECT_FALSE(menu.isVisible());
    EXPECT_FALSE(sub->isVisible());
    QTest::mouseRelease(outside, Qt::LeftButton, {}, QPoint(50, 50));
}

TEST_F(MenuTest, ExactlyOneWatchWhileAChainIsOpen) {
    fill();
    for (int round = 0; round < 5; ++round) {
        CVexMenu* sub = openSubmenu();
        ASSERT_NE(sub, nullptr);
        menu.CloseSubmenus();
        sub = openSubmenu();
        EXPECT_EQ(OpenMenuClickWatch::liveWatchCount(), 1);
        menu.CloseMenu();
        EXPECT_EQ(OpenMenuClickWatch::liveWatchCount(), 0);
        EXPECT_FALSE(OpenMenuClickWatch::instance().installed());
    }
}

// Counts the pixels of one colour inside a rectangle of a rendered menu.
int pixelsOf(const QImage& image, const QRect& area, QColor colour) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            n += image.pixelColor(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}

TEST_F(MenuTest, PaintsArrowsOnlyForFilledSubmenusAndTheHoverItemInMint) {
    fill();
    menu.AddItem(4, QStringLiteral("Empty"), 0, true, true);
    menu.GetSubMenu(4);
    menu.TrackPopup(PopupMode::TopLeft, 100, 100);
    testing::moveTo(menu, entryCentre(menu, 0));
    QImage shot(menu.size(), QImage::Format_RGB32);
    menu.render(&shot);
    const QColor text = argbColor(CVexMenu::kTextColor);
    const QColor mint = argbColor(CVexMenu::kHoverColor);
    const auto arrowArea = [&](int index) {
        const Box& r = menu.entries()[static_cast<size_t>(index)].rect;
        return QRect(r.right, r.top, 6, r.height());
    };
    EXPECT_GT(pixelsOf(shot, arrowArea(1), text), 5);
    EXPECT_EQ(pixelsOf(shot, arrowArea(3), text), 0);
    const auto textArea = [&](int index) {
        const Box& r = menu.entries()[static_cast<size_t>(index)].rect;
        return QRect(r.left + 10, r.top, r.width() - 10, r.height());
    };
    EXPECT_GT(pixelsOf(shot, textArea(0), mint), 0);
    EXPECT_EQ(pixelsOf(shot, textArea(1), mint), 0);
    // The one-pixel frame.
    EXPECT_EQ(shot.pixelColor(0, 0), mint);
    EXPECT_EQ(shot.pixelColor(menu.width() - 1, menu.height() - 1), mint);
}

TEST_F(MenuTest, CommandsReachingTheMenuGoToTheOwnerAndClose) {
    fill();
    menu.TrackPopup(PopupMode::TopLeft, 100, 100);
    menu.onCommand(31, 7);
    EXPECT_EQ(owner.commands, (std::vector<Command>{{31, 7}, kClosing, kClosed}));
}

} // namespace
} // namespace talwyn::controls
