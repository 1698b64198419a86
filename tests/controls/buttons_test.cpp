#include "controls/buttons.h"
#include "controls/first_show.h"
#include "controls/image_dialog.h"
#include "controls/statics.h"
#include "widget_support.h"

#include <QPainter>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace talwyn::controls {
namespace {

using testing::Command;
using testing::RecordingParent;

TEST(ImageChoice, FirstApplicableRuleWins) {
    using S = VisualState;
    struct Case {
        const char* name;
        ImageChoice choice;
        ImageSlot expected;
    };
    const ImageChoice all{false, false, S::Normal, true, true, true, true};
    auto with = [](ImageChoice c, auto change) {
        change(c);
        return c;
    };
    const Case cases[] = {
        {"normal", all, ImageSlot::Normal},
        {"over", with(all, [](auto& c) { c.state = S::Over; }), ImageSlot::Over},
        {"pressed", with(all, [](auto& c) { c.state = S::Down; }), ImageSlot::Down},
        {"disabled",
         with(all,
              [](auto& c) {
                  c.disabled = true;
                  c.state = S::Down;
              }),
         ImageSlot::Disable},
        {"disabled without its image falls through",
         with(all,
              [](auto& c) {
                  c.disabled = true;
                  c.hasDisable = false;
              }),
         ImageSlot::Normal},
        {"selected beats over",
         with(all,
              [](auto& c) {
                  c.selected = true;
                  c.state = S::Over;
              }),
         ImageSlot::Down},
        {"selected without down image",
         with(all,
              [](auto& c) {
                  c.selected = true;
                  c.hasDown = false;
              }),
         ImageSlot::Normal},
        {"pressed without down image draws nothing",
         with(all,
              [](auto& c) {
                  c.state = S::Down;
                  c.hasDown = false;
              }),
         ImageSlot::None},
        {"over without over image draws nothing",
         with(all,
              [](auto& c) {
                  c.state = S::Over;
                  c.hasOver = false;
              }),
         ImageSlot::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chooseButtonImage(c.choice), c.expected) << c.name;
    }
}

TEST(ImageChoice, CaptionColours) {
    constexpr Argb text = 0xFF112233;
    constexpr Argb selected = 0xFF445566;
    EXPECT_EQ(buttonCaptionColor(true, true, VisualState::Over, text, selected), 0xFF787878u);
    EXPECT_EQ(buttonCaptionColor(false, true, VisualState::Over, text, selected), selected);
    EXPECT_EQ(buttonCaptionColor(false, false, VisualState::Over, text, selected), 0xFFFFFFFFu);
    EXPECT_EQ(buttonCaptionColor(false, false, VisualState::Down, text, selected), text);
}

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        button.setControlId(1001);
        button.setGeometry(10, 10, 120, 30);
    }
    RecordingParent parent;
    CVexButton button{&parent};
};

TEST_F(ButtonTest, OneNotificationPerEntry) {
    testing::moveTo(button, {5, 5});
    EXPECT_EQ(parent.commands, (std::vector<Command>{{1001, 0}}));
    EXPECT_EQ(button.visualState(), VisualState::Over);
    testing::moveTo(button, {50, 10});
    testing::moveTo(button, {60, 12});
    EXPECT_EQ(parent.commands.size(), 1u);

    // Leaving (a move outside while tracking) restores the normal look; re-entering notifies again.
    testing::moveTo(button, {200, 12});
    EXPECT_EQ(button.visualState(), VisualState::Normal);
    EXPECT_FALSE(button.hoverTracking());
    testing::moveTo(button, {60, 12});
    EXPECT_EQ(parent.commands, (std::vector<Command>{{1001, 0}, {1001, 0}}));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    testing::moveTo(button, {61, 12});
    EXPECT_EQ(parent.commands.size(), 3u);
}

TEST_F(ButtonTest, PressAndReleaseLooksAndClick) {
    int clicks = 0;
    QObject::connect(&button, &QAbstractButton::clicked, [&clicks] { ++clicks; });
    testing::moveTo(button, {5, 5});
    testing::press(button, {5, 5});
    EXPECT_EQ(button.visualState(), VisualState::Down);
    EXPECT_TRUE(button.isPressedFlag());
    testing::release(button, {5, 5});
    EXPECT_EQ(button.visualState(), VisualState::Normal);
    EXPECT_FALSE(button.isPressedFlag());
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonTest, DisabledWithoutDisableImageDrawsNormalImageAndGreyCaption) {
    button.SetImages(testing::solidImage({120, 30}, Qt::black), testing::solidImage({120, 30}, Qt::red),
                     testing::solidImage({120, 30}, Qt::blue));
    button.SetCaption(QStringLiteral("MMMMMM"));
    button.setEnabled(false);
    QImage shot(button.size(), QImage::Format_ARGB32);
    shot.fill(Qt::green);
    button.render(&shot);
    EXPECT_EQ(shot.pixelColor(110, 2), QColor(Qt::black));
    int captionPixels = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            if (c != QColor(Qt::black)) {
                ++captionPixels;
                // Anti-aliased grey over black: equal channels, never brighter than 0x78.
                EXPECT_EQ(c.red(), c.green());
                EXPECT_EQ(c.green(), c.blue());
                EXPECT_LE(c.red(), 0x78);
            }
        }
    }
    EXPECT_GT(captionPixels, 20);
}

TEST_F(ButtonTest, SetSelectedRepaintsOnlyOnChange) {
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    QApplication::processEvents();
    testing::PaintCounter paints(button);
    button.SetSelected(true);
    QApplication::processEvents();
    EXPECT_EQ(paints.count, 1);
    button.SetSelected(true);
    QApplication::processEvents();
    EXPECT_EQ(paints.count, 1);
    button.SetSelected(false);
    QApplication::processEvents();
    EXPECT_EQ(paints.count, 2);
}

TEST(CheckBox, ReleaseAfterPressFlipsBeforeTheClickHandlerRuns) {
    CVexCheckBox box;
    box.resize(20, 20);
    bool seenInClick = false;
    QObject::connect(&box, &QAbstractButton::clicked, [&] { seenInClick = box.checkedFlag(); });
    testing::click(box, {5, 5});
    EXPECT_TRUE(box.checkedFlag());
    EXPECT_TRUE(seenInClick);
    testing::click(box, {5, 5});
    EXPECT_FALSE(box.checkedFlag());
    // A release without a press on the box changes nothing.
    testing::release(box, {5, 5});
    EXPECT_FALSE(box.checkedFlag());
}

class FakePopup : public QWidget, public ColorPopup {
public:
    QWidget& window() override { return *this; }
    ControlId popupId() const override { return 77; }
    QSize imageSize() const override { return {90, 60}; }
    void startHideTimer(std::chrono::milliseconds delay) override { hideDelays.push_back(delay); }
    std::vector<std::chrono::milliseconds> hideDelays;
};

TEST(ColorButton, TogglesItsPopupBelowItself) {
    RecordingParent parent;
    CVexCbnColorButton button(&parent);
    button.setGeometry(30, 40, 50, 20);
    FakePopup popup;
    button.setPopup(&popup);

    testing::click(button, {5, 5});
    ASSERT_TRUE(popup.isVisible());
    EXPECT_EQ(popup.geometry(), QRect(button.mapToGlobal(QPoint(0, 20)), QSize(90, 60)));
    EXPECT_EQ(popup.hideDelays, (std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(2000)}));
    testing::click(button, {5, 5});
    EXPECT_FALSE(popup.isVisible());
}

TEST(ColorButton, PassesThePopupValueToItsParent) {
    RecordingParent parent;
    CVexCbnColorButton button(&parent);
    button.setControlId(1500);
    FakePopup popup;
    button.setPopup(&popup);
    button.onCommand(12, 0x111111);
    EXPECT_TRUE(parent.commands.empty());
    button.onCommand(77, 0x3456AB);
    EXPECT_EQ(button.value(), 0x3456ABu);
    EXPECT_EQ(parent.commands, (std::vector<Command>{{1500, 0x3456AB}}));
}

TEST(ImageDialog, BackgroundSizesTheWindowAndModalRunsEndWithOneOrTwo) {
    CVexImageDialog dialog;
    dialog.move(40, 50);
    dialog.SetBackground(testing::solidImage({400, 300}, Qt::darkGray));
    EXPECT_EQ(dialog.size(), QSize(400, 300));
    EXPECT_EQ(dialog.pos(), QPoint(40, 50));

    QTimer::singleShot(0, &dialog, [&dialog] { dialog.endModal(ModalResult::Ok); });
    EXPECT_EQ(dialog.runModal(), ModalResult::Ok);
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.close(); });
    EXPECT_EQ(dialog.runModal(), ModalResult::Cancel);
    EXPECT_EQ(dialog.result(), 2);
}

TEST(FirstShow, PreparesOnceBeforeTheWidgetIsFirstSeen) {
    struct Case {
        const char* how;
        // Brings the child out and gives its first picture, or a null image.
        std::function<QImage(QWidget& window, QWidget& child)> bringOut;
    };
    const Case cases[] = {
        {"window shown",
         [](QWidget& window, QWidget& child) {
             window.show();
             return child.grab().toImage();
         }},
        {"rendered without being shown", [](QWidget&, QWidget& child) { return child.grab().toImage(); }},
        {"shown inside a hidden window",
         [](QWidget&, QWidget& child) {
             child.show();
             return child.grab().toImage();
         }},
        {"left hidden", [](QWidget&, QWidget&) { return QImage(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        QWidget window;
        auto* child = new CVexStatic(&window);
        child->resize(20, 10);
        int prepared = 0;
        whenFirstShown(*child, [&] {
            ++prepared;
            child->SetBackground(testing::solidImage({20, 10}, Qt::darkCyan, QImage::Format_RGB32));
        });
        const QImage first = c.bringOut(window, *child);
        EXPECT_EQ(prepared, first.isNull() ? 0 : 1);
        if (!first.isNull()) {
            EXPECT_EQ(first.pixelColor(5, 5), QColor(Qt::darkCyan));
        }
        child->hide();
        child->show();
        (void)child->grab();
        EXPECT_EQ(prepared, 1);
    }

    QWidget shown;
    shown.show();
    int prepared = 0;
    whenFirstShown(shown, [&] { ++prepared; });
    EXPECT_EQ(prepared, 1); // at once for a widget on screen already
}

TEST(ImageDialog, BackgroundCoversTheWindowOverBlack) {
    struct Case {
        const char* name;
        QImage background;
        QSize window;
        QColor shown;
    };
    const Case cases[] = {
        {"opaque, the window's size",
         testing::solidImage({40, 30}, Qt::darkCyan, QImage::Format_RGB32),
         {40, 30},
         Qt::darkCyan},
        {"opaque, stretched",
         testing::solidImage({10, 10}, Qt::darkCyan, QImage::Format_RGB32),
         {40, 30},
         Qt::darkCyan},
        {"translucent", testing::solidImage({40, 30}, QColor(255, 255, 255, 0)), {40, 30}, Qt::black},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CVexImageDialog dialog;
        dialog.SetBackground(c.background);
        dialog.setFixedSize(c.window);
        const QImage shown = dialog.grab().toImage();
        for (const QPoint at : {QPoint(0, 0), QPoint(20, 15), QPoint(39, 29)}) {
            EXPECT_EQ(shown.pixelColor(at), c.shown) << at.x() << ',' << at.y();
        }
    }
}

TEST(ImageDialog, BackgroundMadeOnShowIsMadeOnceWhenShownOrRendered) {
    const QImage picture = testing::solidImage({60, 40}, Qt::darkCyan);
    struct Case {
        const char* how;
        std::function<void(CVexImageDialog&)> bringOut;
    };
    const Case cases[] = {
        {"shown inside a hidden window", [](CVexImageDialog& page) { page.show(); }},
        {"rendered without being shown", [](CVexImageDialog& page) { (void)page.grab(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        QWidget window;
        CVexImageDialog page(&window);
        page.setWindowFlags(Qt::Widget);
        page.hide();
        int made = 0;
        page.SetBackgroundOnShow({60, 40}, [&] {
            ++made;
            return picture;
        });
        EXPECT_EQ(page.size(), QSize(60, 40));
        EXPECT_EQ(made, 0);
        c.bringOut(page);
        EXPECT_EQ(made, 1);
        EXPECT_EQ(page.background(), picture);
        page.hide();
        page.show();
        EXPECT_EQ(page.grab().toImage().pixelColor(30, 20), QColor(Qt::darkCyan));
        EXPECT_EQ(made, 1);
    }
}

} // namespace
} // namespace talwyn::controls

namespace talwyn::controls {
namespace {

TEST(ButtonLifetime, ClickHandlerMayDeleteTheButton) {
    RecordingParent parent;
    auto* button = new CVexButton(&parent);
    button->resize(40, 20);
    QObject::connect(button, &QAbstractButton::clicked, [button] { delete button; });
    QPointer<CVexButton> watch(button);
    testing::click(*button, {5, 5});
    EXPECT_TRUE(watch.isNull());
}

} // namespace
} // namespace talwyn::controls
