#include "controls/combo_button.h"
#include "controls/open_menu_click_watch.h"
#include "widget_support.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace talwyn::controls {
namespace {

using testing::Command;
using testing::RecordingParent;

TEST(ComboCaption, ShortensByAtMostTenCharacters) {
    const auto tenPixelsEach = [](const QString& s) { return static_cast<int>(s.size()) * 10; };
    struct Case {
        QString caption;
        int width;
        QString expected;
    };
    const Case cases[] = {
        {QStringLiteral("abcdefgh"), 100, QStringLiteral("abcdef")},                 // 60 fits width - 40
        {QStringLiteral("abcdef"), 100, QStringLiteral("abcdef")},                   // already fits
        {QStringLiteral("abcdefghijklmnopqrst"), 100, QStringLiteral("abcdefghij")}, // stops after ten
        {QStringLiteral("abc"), 20, QString()},                                      // may end empty
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shortenCaption(c.caption, c.width, tenPixelsEach), c.expected) << c.caption.toStdString();
    }
}

TEST(ComboCaption, ReopenBlockSpansTwoHundredMilliseconds) {
    EXPECT_TRUE(reopenBlocked(1199, 1000));
    EXPECT_FALSE(reopenBlocked(1200, 1000));
    EXPECT_TRUE(reopenBlocked(50, 0xFFFFFFF0u)); // across the wrap of the tick count
}

class ComboTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent.move(400, 300);
        combo.setControlId(1700);
        combo.setGeometry(20, 20, 150, 30);
        combo.AddItem(1, QStringLiteral("One"));
        combo.AddItem(2, QStringLiteral("Two"));
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    }
    void TearDown() override {
        if (combo.menu() != nullptr) {
            combo.menu()->CloseMenu();
        }
    }
    void clickThroughWindow() {
        const QPoint at = combo.geometry().center();
        QTest::mouseMove(parent.windowHandle(), at);
        QTest::mousePress(parent.windowHandle(), Qt::LeftButton, {}, at);
        QApplication::processEvents();
        QTest::mouseRelease(parent.windowHandle(), Qt::LeftButton, {}, at);
        QApplication::processEvents();
    }

    testing::FakeClock clock;
    RecordingParent parent;
    CVexComboButton combo{&parent, clock};
};

TEST_F(ComboTest, MenuOpensBelowTheButton) {
    ASSERT_NE(combo.menu(), nullptr);
    EXPECT_EQ(combo.menu()->width(), 148);
    clickThroughWindow();
    ASSERT_TRUE(combo.menu()->isVisible());
    const QPoint buttonTopLeft = combo.mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(combo.menu()->geometry().topLeft(), buttonTopLeft + QPoint(0, 30 - 2));
}

TEST_F(ComboTest, ClickThatClosesTheMenuDoesNotReopenIt) {
    clickThroughWindow();
    ASSERT_TRUE(combo.menu()->isVisible());
    clock.ticks += 50;
    clickThroughWindow();
    EXPECT_FALSE(combo.menu()->isVisible());
    clock.ticks += 250;
    clickThroughWindow();
    EXPECT_TRUE(combo.menu()->isVisible());
    EXPECT_EQ(OpenMenuClickWatch::liveWatchCount(), 1);
}

TEST_F(ComboTest, OpensUpward) {
    combo.setOpenUpward(true);
    clickThroughWindow();
    ASSERT_TRUE(combo.menu()->isVisible());
    const QRect menu = combo.menu()->geometry();
    EXPECT_EQ(QPoint(menu.left(), menu.top() + menu.height()), combo.mapToGlobal(QPoint(0, 0)));
}

// A window manager may reparent and move the program's window without telling
// it, so the window's recorded place goes stale; the pointer event still
// carries the true screen position, and the menu follows that.
TEST_F(ComboTest, MenuFollowsTheButtonWhereThePointerEventPutsIt) {
    const QPoint local(10, 10);
    const QPoint shift(100, 50);
    const QPoint trueOrigin = combo.mapToGlobal(QPoint(0, 0)) + shift;
    const auto clickWithStalePlace = [&] {
        const QPointF global(combo.mapToGlobal(local) + shift);
        QMouseEvent press(QEvent::MouseButtonPress, local, local, global, Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(&combo, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, local, local, global, Qt::LeftButton, Qt::NoButton,
                            {});
        QApplication::sendEvent(&combo, &release);
    };
    struct Case {
        bool upward;
        const char* name;
    };
    for (const Case c : {Case{false, "below"}, Case{true, "upward"}}) {
        combo.setOpenUpward(c.upward);
        clock.ticks += 250;
        clickWithStalePlace();
        ASSERT_TRUE(combo.menu()->isVisible()) << c.name;
        const QRect menu = combo.menu()->geometry();
        const QPoint anchor = c.upward ? QPoint(menu.left(), menu.top() + menu.height()) : menu.topLeft();
        EXPECT_EQ(anchor, c.upward ? trueOrigin : trueOrigin + QPoint(0, 30 - 2)) << c.name;
        combo.menu()->CloseMenu();
    }
}

TEST_F(ComboTest, ClearedUpdateCaptionSkipsExactlyOnePick) {
    combo.SetCaption(QStringLiteral("Start"), -1, -1);
    const ControlId menuId = combo.menu()->controlId();
    combo.setUpdateCaption(false);
    combo.onCommand(menuId, 2);
    EXPECT_EQ(combo.caption(), QStringLiteral("Start"));
    EXPECT_EQ(parent.commands, (std::vector<Command>{{1700, 2}}));
    EXPECT_TRUE(combo.updateCaption());
    combo.onCommand(menuId, 2);
    EXPECT_EQ(combo.caption(), QStringLiteral("Two"));
    EXPECT_EQ(combo.selectedCode(), 2);
    // Codes no item carries are not reported.
    combo.onCommand(menuId, 99);
    EXPECT_EQ(parent.commands.size(), 2u);
}

TEST_F(ComboTest, MenuPickAndClosingNoticesReachTheParent) {
    clickThroughWindow();
    CVexMenu& menu = *combo.menu();
    const Box& r = menu.entries()[0].rect;
    testing::click(menu, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    EXPECT_EQ(parent.commands,
              (std::vector<Command>{{command::kMenuClosing, 1}, {command::kMenuClosing, 0}, {1700, 1}}));
    EXPECT_EQ(combo.caption(), QStringLiteral("One"));
}

TEST_F(ComboTest, ItemTextsAndStoredShortCaption) {
    EXPECT_EQ(combo.GetItemText(2), QStringLiteral("Two"));
    EXPECT_EQ(combo.GetItemText(3), QString());
    CVexComboButton bare;
    EXPECT_EQ(bare.GetItemText(1), QString());

    const QString longCaption(40, QLatin1Char('W'));
    combo.SetCaption(longCaption, 1, 0);
    QImage shot(combo.size(), QImage::Format_ARGB32);
    combo.render(&shot);
    EXPECT_EQ(combo.caption(), longCaption.left(30));
    combo.render(&shot);
    EXPECT_EQ(combo.caption(), longCaption.left(20));
}

} // namespace
} // namespace talwyn::controls
