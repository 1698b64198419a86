#include "controls/color_selector_wnd.h"
#include "controls/color_slider_wnd.h"
#include "controls/color_well_wnd.h"
#include "widget_support.h"

#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace talwyn::controls {
namespace {

using color::ColorValue;
using testing::Command;
using testing::RecordingParent;

constexpr ColorValue rgb(int red, int green, int blue) {
    return static_cast<ColorValue>(red) | static_cast<ColorValue>(green) << 8 |
           static_cast<ColorValue>(blue) << 16;
}

class CountingPage : public RecordingParent, public PickedColorOwner {
public:
    void colorPicked() override { ++picked; }
    int picked = 0;
};

// The three windows at the lighting page's sizes, coupled the way the page
// couples them: hue on the reversed strip, saturation across, value up.
class ColorPickersTest : public ::testing::Test {
protected:
    void SetUp() override {
        page.resize(700, 600); // room around the windows for drags past their edges
        selector.setSlider(&slider);
        selector.setWell(&well);
        slider.setBuddy(&selector);
        well.setSource(&selector);
        selector.SetMode(picker::kModeHue);
        slider.SetMode(picker::kModeHue | picker::kReversed);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    }

    // Pointer input through the page's window, so grabs route it as they would on screen.
    void press(QWidget& widget, QPoint at) {
        QTest::mouseMove(page.windowHandle(), widget.mapTo(&page, at));
        QTest::mousePress(page.windowHandle(), Qt::LeftButton, {}, widget.mapTo(&page, at));
    }
    void dragTo(QWidget& widget, QPoint at) {
        QTest::mouseMove(page.windowHandle(), widget.mapTo(&page, at));
    }
    void release(QWidget& widget, QPoint at) {
        QTest::mouseRelease(page.windowHandle(), Qt::LeftButton, {}, widget.mapTo(&page, at));
    }
    void forget() {
        page.commands.clear();
        page.picked = 0;
    }

    CountingPage page;
    HxColorSelectorWnd selector{&page, {250, 250, 143, 140}};
    HxColorSliderWnd slider{&page, {398, 246, 40, 149}};
    HxColorWellWnd well{&page, {250, 395, 20, 20}, &page};
};

TEST_F(ColorPickersTest, ANewColourReachesSliderWellAndPageInThatOrder) {
    std::vector<int> seen;
    page.onReceive = [&](ControlId, CommandValue) {
        // By the time the page hears of it, the strip and the swatch have followed.
        seen = {slider.pos(), static_cast<int>(well.color()), page.picked};
    };
    selector.SetColor(rgb(0, 255, 255)); // hue 180 degrees

    EXPECT_EQ(selector.z(), 1800);
    EXPECT_EQ(selector.lastColor(), rgb(0, 255, 255));
    EXPECT_EQ(page.commands, (std::vector<Command>{{picker::kSelectorId, rgb(0, 255, 255)}}));
    EXPECT_EQ(seen, (std::vector<int>{3599 - 1800, static_cast<int>(rgb(0, 255, 255)), 1}));
    EXPECT_EQ(slider.otherA(), 1000); // saturation
    EXPECT_EQ(slider.otherB(), 1000); // value
}

TEST_F(ColorPickersTest, SettingTheShownColourAgainTellsNobody) {
    selector.SetColor(rgb(200, 100, 50));
    forget();
    selector.SetColor(rgb(200, 100, 50));
    EXPECT_TRUE(page.commands.empty());
    EXPECT_EQ(page.picked, 0);

    selector.SetColor(rgb(200, 100, 51));
    EXPECT_EQ(page.commands.size(), 1u);
}

// In the field's left column the saturation is 0: grey, white at the top,
// black at the bottom, whatever hue the strip gives.
TEST_F(ColorPickersTest, LeftEdgeOfTheHueFieldIsGreyByValue) {
    const Box field = selector.fieldRect();
    struct Case {
        ColorValue hueFrom;
        int py; // where the drag ends, in the left column
        ColorValue expected;
    };
    const Case cases[] = {
        {rgb(255, 0, 0), field.top - 20, rgb(255, 255, 255)},
        {rgb(0, 0, 255), field.top, rgb(255, 255, 255)},
        {rgb(0, 255, 0), field.bottom, rgb(0, 0, 0)},
        {rgb(255, 0, 255), field.bottom + 20, rgb(0, 0, 0)},
        // Value 0.5 gives 127.5, and exact halves go down.
        {rgb(0, 255, 0), field.top + field.height() / 2, rgb(127, 127, 127)},
        {rgb(255, 255, 0), field.top + field.height() / 2, rgb(127, 127, 127)},
    };
    for (const Case& c : cases) {
        selector.SetColor(c.hueFrom);
        const int z = selector.z();
        press(selector, {field.left + 10, field.top + 10});
        dragTo(selector, {field.left, c.py});
        release(selector, {field.left, c.py});
        EXPECT_EQ(selector.x(), 0);
        EXPECT_EQ(selector.z(), z);
        EXPECT_EQ(selector.GetColor(), c.expected) << "hue " << z << " row " << c.py;
        EXPECT_EQ(page.commands.back(), (Command{picker::kSelectorId, c.expected}));

        const QImage shown = selector.render();
        for (int py = field.top; py < field.bottom; py += 19) {
            const QRgb pixel = shown.pixel(field.left, py);
            EXPECT_EQ(qRed(pixel), qGreen(pixel)) << "row " << py;
            EXPECT_EQ(qGreen(pixel), qBlue(pixel)) << "row " << py;
        }
    }
    selector.setFocus();
    QTest::keyClick(&selector, Qt::Key_Home);
    EXPECT_EQ(selector.GetColor(), rgb(255, 255, 255));
    QTest::keyClick(&selector, Qt::Key_End);
    EXPECT_EQ(selector.GetColor(), rgb(0, 0, 0));
}

TEST_F(ColorPickersTest, DraggingPastTheEdgesHoldsTheLimits) {
    const Box field = selector.fieldRect();
    press(selector, {field.left + 20, field.top + 20});
    EXPECT_TRUE(selector.dragging());
    EXPECT_EQ(QWidget::mouseGrabber(), &selector);

    struct Case {
        QPoint at;
        int x;
        int y;
    };
    const Case cases[] = {
        {{field.right + 250, field.top - 200}, 1000, 1000},
        {{field.left - 200, field.bottom + 200}, 0, 0},
        {{field.left - 5, field.top - 5}, 0, 1000},
        {{field.right + 1, field.bottom + 1}, 1000, 0},
    };
    for (const Case& c : cases) {
        dragTo(selector, c.at);
        EXPECT_EQ(selector.x(), c.x) << c.at.x() << "," << c.at.y();
        EXPECT_EQ(selector.y(), c.y) << c.at.x() << "," << c.at.y();
    }
    const size_t beforeRelease = page.commands.size();
    release(selector, {field.right + 1, field.bottom + 1});
    EXPECT_FALSE(selector.dragging());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    // The release reports once more, even though nothing moved.
    EXPECT_EQ(page.commands.size(), beforeRelease + 1);

    // The strip: above its top is position 0, hue 359.9 degrees; below its bottom hue 0.
    const Box inner = slider.innerRect();
    press(slider, {20, 60});
    dragTo(slider, {20, inner.top - 100});
    EXPECT_EQ(slider.pos(), 0);
    EXPECT_EQ(selector.z(), 3599);
    dragTo(slider, {-50, inner.bottom + 100});
    EXPECT_EQ(slider.pos(), 3599);
    EXPECT_EQ(selector.z(), 0);
    release(slider, {-50, inner.bottom + 100});
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

// A drag begun with the middle button picks like the left one and ends with
// its own release, so the pointer is never left grabbed with no button held.
TEST_F(ColorPickersTest, AMiddleButtonDragEndsWithItsRelease) {
    const Box field = selector.fieldRect();
    const QPoint start = selector.mapTo(&page, QPoint(field.left + 10, field.top + 10));
    const QPoint end = selector.mapTo(&page, QPoint(field.right + 50, field.top + 10));
    QTest::mouseMove(page.windowHandle(), start);
    QTest::mousePress(page.windowHandle(), Qt::MiddleButton, {}, start);
    EXPECT_TRUE(selector.dragging());
    QTest::mouseMove(page.windowHandle(), end);
    EXPECT_EQ(selector.x(), 1000);
    QTest::mouseRelease(page.windowHandle(), Qt::MiddleButton, {}, end);
    EXPECT_FALSE(selector.dragging());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_TRUE(selector.hasFocus());
}

TEST_F(ColorPickersTest, KeysOnTheReversedStripStepTheHue) {
    struct Case {
        Qt::Key key;
        int pos;
        int hue;
    };
    // From hue 180 degrees (position 1799).
    const Case cases[] = {
        {Qt::Key_Up, 1789, 1810},       {Qt::Key_PageUp, 1699, 1900}, {Qt::Key_Down, 1809, 1790},
        {Qt::Key_PageDown, 1899, 1700}, {Qt::Key_Left, 1789, 1810},   {Qt::Key_Right, 1809, 1790},
        {Qt::Key_Home, 0, 3599},        {Qt::Key_End, 3599, 0},
    };
    slider.setFocus();
    for (const Case& c : cases) {
        selector.SetColor(rgb(0, 255, 255));
        ASSERT_EQ(slider.pos(), 1799);
        forget();
        QTest::keyClick(&slider, c.key);
        EXPECT_EQ(slider.pos(), c.pos) << QTest::toString(c.key);
        EXPECT_EQ(selector.z(), c.hue) << QTest::toString(c.key);
        ASSERT_EQ(page.commands.size(), 1u);
        EXPECT_EQ(page.commands[0], (Command{picker::kSelectorId, selector.GetColor()}));
        EXPECT_EQ(well.color(), selector.GetColor());
    }

    // At the end of the range a further step changes nothing and tells nobody.
    QTest::keyClick(&slider, Qt::Key_Home);
    forget();
    QTest::keyClick(&slider, Qt::Key_PageUp);
    EXPECT_EQ(slider.pos(), 0);
    EXPECT_TRUE(page.commands.empty());
}

TEST_F(ColorPickersTest, KeysMoveTheFieldMarkWithinItsRange) {
    selector.setFocus();
    struct Case {
        Qt::Key key;
        int x;
        int y;
    };
    const Case cases[] = {
        {Qt::Key_PageUp, 1000, 1000}, {Qt::Key_Right, 1000, 1000}, {Qt::Key_Up, 1000, 1000},
        {Qt::Key_Left, 999, 1000},    {Qt::Key_Down, 999, 999},    {Qt::Key_PageDown, 1000, 0},
        {Qt::Key_Down, 1000, 0},      {Qt::Key_End, 0, 0},         {Qt::Key_Left, 0, 0},
        {Qt::Key_Home, 0, 1000},
    };
    for (const Case& c : cases) {
        QTest::keyClick(&selector, c.key);
        EXPECT_EQ(selector.x(), c.x) << QTest::toString(c.key);
        EXPECT_EQ(selector.y(), c.y) << QTest::toString(c.key);
    }
}

TEST_F(ColorPickersTest, WindowsWithoutAControlIdNeverNotify) {
    selector.setControlId(0);
    slider.setControlId(0);
    selector.SetColor(rgb(0, 255, 255));
    const Box field = selector.fieldRect();
    press(selector, {field.left + 30, field.top + 30});
    dragTo(selector, {field.left + 60, field.top + 40});
    release(selector, {field.left + 60, field.top + 40});
    selector.setFocus();
    QTest::keyClick(&selector, Qt::Key_PageUp);
    EXPECT_EQ(selector.NotifyChange(selector.GetColor()), -1);

    const int z = selector.z();
    slider.setFocus();
    QTest::keyClick(&slider, Qt::Key_PageDown);
    EXPECT_NE(slider.pos(), 3599 - z); // the strip moved ...
    EXPECT_EQ(selector.z(), z);        // ... but told nobody
    EXPECT_EQ(slider.NotifyChange(slider.pos()), -1);

    EXPECT_TRUE(page.commands.empty());
    EXPECT_EQ(page.picked, 0);
    EXPECT_EQ(well.color(), 0u);
}

TEST_F(ColorPickersTest, AStripWithoutBuddyTellsItsParent) {
    slider.setBuddy(nullptr);
    slider.setFocus();
    QTest::keyClick(&slider, Qt::Key_Up);
    EXPECT_EQ(page.commands, (std::vector<Command>{{picker::kSliderId, 3589}}));
}

TEST_F(ColorPickersTest, StripPositionsBeyondTheFieldsRangeAreIgnored) {
    selector.SetMode(picker::kModeSaturation); // z is a saturation, 0..1000
    selector.SetColor(rgb(255, 191, 128));
    const int z = selector.z();
    slider.setFocus();
    forget();
    QTest::keyClick(&slider, Qt::Key_Home); // position 0 of the reversed hue strip: z 3599
    EXPECT_EQ(slider.pos(), 0);
    EXPECT_EQ(selector.z(), z);
    EXPECT_TRUE(page.commands.empty());

    QTest::keyClick(&slider, Qt::Key_End); // position 3599: z 0, within range
    EXPECT_EQ(selector.z(), 0);
    EXPECT_EQ(page.commands.size(), 1u);
}

// Each pixel of the field shows the colour that a click on it picks, in every mode.
TEST_F(ColorPickersTest, TheFieldShowsTheColourOfEachPosition) {
    const Box field = selector.fieldRect();
    // Away from where SetColor leaves the mark, which is drawn over the field.
    const QPoint samples[] = {{field.left + 50, field.top + 3},
                              {field.left + field.width() / 2, field.top + field.height() / 3},
                              {field.right - 1, field.top + 100},
                              {field.left + 100, field.bottom - 20}};
    struct Case {
        int mode;
        ColorValue zFrom; // a colour that sets the third component
    };
    const Case cases[] = {{picker::kModeRed, rgb(150, 0, 0)},
                          {picker::kModeGreen, rgb(0, 90, 0)},
                          {picker::kModeBlue, rgb(0, 0, 210)},
                          {picker::kModeHue, rgb(0, 128, 255)},
                          {picker::kModeSaturation, rgb(255, 191, 128)},
                          {picker::kModeValue, rgb(100, 100, 100)}};
    for (const Case& c : cases) {
        selector.SetMode(c.mode);
        selector.SetColor(c.zFrom);
        const int z = selector.z();
        ASSERT_GT(z, 0) << "mode " << c.mode;
        for (const QPoint& at : samples) {
            const QRgb shown = selector.render().pixel(at);
            press(selector, at);
            release(selector, at);
            ASSERT_EQ(selector.z(), z);
            const ColorValue picked = selector.GetColor();
            const int tolerance = 3; // fixed-point steps across the row
            EXPECT_NEAR(qRed(shown), static_cast<int>(picked & 0xFF), tolerance) << "mode " << c.mode;
            EXPECT_NEAR(qGreen(shown), static_cast<int>((picked >> 8) & 0xFF), tolerance)
                << "mode " << c.mode;
            EXPECT_NEAR(qBlue(shown), static_cast<int>((picked >> 16) & 0xFF), tolerance)
                << "mode " << c.mode;
        }
    }
}

// The hue strip of the page: hue 0 (red) at the bottom, rising to the top,
// its marks pointing at the row of the position.
TEST_F(ColorPickersTest, TheReversedHueStripRisesTowardTheTop) {
    const Box inner = slider.innerRect();
    const QImage strip = slider.render();
    const QRgb bottom = strip.pixel(20, inner.bottom);
    EXPECT_EQ(bottom & 0xFFFFFF, 0xFF0000u); // red
    const QRgb third = strip.pixel(20, inner.bottom - (inner.height() + 1) / 3);
    EXPECT_GT(qGreen(third), 200); // the green third of the strip
    EXPECT_LT(qRed(third), 60);

    // Position 3599 (hue 0): the marks point at the bottom row.
    const Box frame = slider.stripRect();
    EXPECT_EQ(slider.pos(), 3599);
    EXPECT_NE(strip.pixel(frame.left - 3, inner.bottom), strip.pixel(frame.left - 3, inner.top));
}

// Typed colours travel through the field and come back from the well, held
// to tenths of a degree and thousandths: most come back unchanged.
TEST_F(ColorPickersTest, TypedColoursComeBackAtTheFieldsResolution) {
    struct Case {
        ColorValue typed;
        ColorValue back;
    };
    const Case cases[] = {
        {rgb(255, 0, 0), rgb(255, 0, 0)},         {rgb(0, 255, 0), rgb(0, 255, 0)},
        {rgb(0, 0, 255), rgb(0, 0, 255)},         {rgb(255, 255, 255), rgb(255, 255, 255)},
        {rgb(128, 128, 128), rgb(128, 128, 128)}, {rgb(255, 128, 0), rgb(255, 128, 0)},
        {rgb(18, 52, 86), rgb(18, 52, 86)},       {rgb(200, 100, 50), rgb(200, 100, 50)},
        {rgb(100, 149, 237), rgb(100, 149, 237)}, {rgb(1, 2, 3), rgb(1, 2, 3)},
        {rgb(0, 215, 210), rgb(0, 215, 211)},     {rgb(3, 5, 252), rgb(3, 4, 252)},
        {rgb(6, 240, 203), rgb(6, 240, 204)},     {rgb(0, 0, 0), rgb(0, 0, 0)},
    };
    for (const Case& c : cases) {
        selector.SetColor(rgb(12, 34, 56)); // somewhere else first, so every case notifies
        selector.SetColor(c.typed);
        EXPECT_EQ(well.color(), c.back) << std::hex << c.typed;
        EXPECT_EQ(page.commands.back(), (Command{picker::kSelectorId, c.back})) << std::hex << c.typed;
    }
}

} // namespace
} // namespace talwyn::controls
