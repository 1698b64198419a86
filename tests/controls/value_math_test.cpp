#include "controls/menu_math.h"
#include "controls/value_math.h"

#include <gtest/gtest.h>

namespace talwyn::controls {
namespace {

TEST(ValueMath, SnapsToStepRoundingOnlyAboveHalf) {
    const ValueRange dpi{50, 19000};
    struct Case {
        int32_t raw;
        int32_t snapped;
    };
    for (const Case& c : {Case{1025, 1000}, Case{1026, 1050}, Case{18990, 19000}, Case{50, 50}, Case{74, 50},
                          Case{76, 100}}) {
        EXPECT_EQ(snapToStep(c.raw, 50, dpi), c.snapped) << c.raw;
    }
    // A snap past the top of the range stays inside it; a step of 0 does not divide.
    EXPECT_EQ(snapToStep(99, 10, {0, 99}), 90);
    EXPECT_EQ(snapToStep(37, 0, {0, 99}), 37);
}

TEST(ValueMath, PointerToValueRoundsHalfUpAndClamps) {
    // Track 0..110 with a 10-pixel thumb: 100 pixels of travel over 0..100.
    const ValueRange range{0, 100};
    EXPECT_EQ(valueFromPointer(5, 0, 110, 10, range), 0);
    EXPECT_EQ(valueFromPointer(55, 0, 110, 10, range), 50);
    EXPECT_EQ(valueFromPointer(-40, 0, 110, 10, range), 0);
    EXPECT_EQ(valueFromPointer(400, 0, 110, 10, range), 100);
    // 0.5 goes up: 3 pixels over a 6-pixel travel of 0..1.
    EXPECT_EQ(valueFromPointer(3, 0, 6, 0, {0, 1}), 1);
    EXPECT_EQ(valueFromPointer(2, 0, 6, 0, {0, 1}), 0);
    // A track no longer than its thumb cannot divide by zero.
    EXPECT_EQ(valueFromPointer(3, 0, 10, 10, {7, 9}), 7);
}

TEST(ValueMath, ThumbRectCentresOnTravelOfFirstThumbAndStaysInside) {
    const Box client{0, 0, 214, 30};
    const Extent thumb{14, 21};
    EXPECT_EQ(sliderThumbRect(client, 0, {0, 100}, thumb, thumb, thumb), (Box{0, 0, 14, 21}));
    EXPECT_EQ(sliderThumbRect(client, 50, {0, 100}, thumb, thumb, thumb), (Box{100, 0, 114, 21}));
    EXPECT_EQ(sliderThumbRect(client, 100, {0, 100}, thumb, thumb, thumb), (Box{200, 0, 214, 21}));
    // A larger thumb at the ends is pushed back inside and centred on thumb 3's height.
    const Extent big{20, 25};
    EXPECT_EQ(sliderThumbRect(client, 0, {0, 100}, thumb, big, {14, 31}), (Box{0, 3, 20, 28}));
    EXPECT_EQ(sliderThumbRect(client, 100, {0, 100}, thumb, big, {14, 31}), (Box{194, 3, 214, 28}));
}

TEST(ValueMath, VerticalThumbSitsOnLeftEdge) {
    EXPECT_EQ(verticalThumbRect({0, 0, 40, 149}, 0, {0, 100}, {20, 9}), (Box{0, 0, 20, 9}));
    EXPECT_EQ(verticalThumbRect({0, 0, 40, 149}, 100, {0, 100}, {20, 9}), (Box{0, 140, 20, 149}));
}

TEST(ValueMath, NearWhitePixelsAreNotPicked) {
    EXPECT_FALSE(isPickableColor(202, 202, 202));
    EXPECT_FALSE(isPickableColor(255, 255, 255));
    EXPECT_TRUE(isPickableColor(201, 255, 255));
    EXPECT_TRUE(isPickableColor(255, 255, 201));
}

TEST(ValueMath, ScrollLayoutFollowsTheLongerSide) {
    const ScrollLayout vertical = layoutScroll({18, 198}, {18, 18}, {18, 18}, {18, 16});
    EXPECT_FALSE(vertical.horizontal);
    EXPECT_EQ(vertical.first, (Box{0, 0, 18, 18}));
    EXPECT_EQ(vertical.second, (Box{0, 180, 18, 198}));
    EXPECT_EQ(vertical.track, (Box{0, 18, 18, 180}));
    EXPECT_EQ(vertical.thumb, (Box{0, 18, 18, 34}));

    const ScrollLayout horizontal = layoutScroll({200, 20}, {15, 20}, {25, 20}, {30, 20});
    EXPECT_TRUE(horizontal.horizontal);
    EXPECT_EQ(horizontal.track, (Box{15, 0, 175, 20}));
    EXPECT_EQ(horizontal.thumb, (Box{15, 0, 45, 20}));
}

TEST(ValueMath, ScrollThumbPositions) {
    ScrollLayout layout = layoutScroll({18, 198}, {18, 18}, {18, 18}, {18, 16});
    placeScrollThumb(layout, 12, {0, 12});
    EXPECT_EQ(layout.thumb, (Box{0, 164, 18, 180}));
    // 146 * 4 / 12 = 48.7 moves the thumb by whole pixels only.
    placeScrollThumb(layout, 4, {0, 12});
    EXPECT_EQ(layout.thumb.top, 18 + 48);
    // 90 * 7 / 10 = 63 exactly; dividing first gives 62.99... and loses a pixel.
    ScrollLayout exact = layoutScroll({18, 142}, {18, 18}, {18, 18}, {18, 16});
    placeScrollThumb(exact, 7, {0, 10});
    EXPECT_EQ(exact.thumb.top, 18 + 63);
    // An empty range parks the thumb at the start instead of dividing by zero.
    placeScrollThumb(layout, 5, {5, 5});
    EXPECT_EQ(layout.thumb, (Box{0, 18, 18, 34}));
}

TEST(ValueMath, ProgressFill) {
    const BarFill vertical = progressFill({20, 100}, 50, {0, 100}, true);
    EXPECT_EQ(vertical.source, (Box{0, 0, 20, 50}));
    EXPECT_EQ(vertical.target, (Box{0, 50, 20, 100}));
    const BarFill horizontal = progressFill({200, 10}, 25, {0, 100}, false);
    EXPECT_EQ(horizontal.source, (Box{0, 0, 50, 10}));
    EXPECT_EQ(horizontal.target, (Box{0, 0, 50, 10}));
    // Out of range never fills beyond the control.
    EXPECT_EQ(progressFill({200, 10}, 250, {0, 100}, false).target, (Box{0, 0, 200, 10}));
    EXPECT_EQ(progressFill({200, 10}, -5, {0, 100}, false).target.width(), 0);
}

TEST(MenuMath, ThreeEntriesOfFifteenPixels) {
    const auto boxes = layoutMenuEntries(3, 15, 120);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0], (Box{1, 4, 105, 19}));
    EXPECT_EQ(boxes[1], (Box{1, 19, 105, 34}));
    EXPECT_EQ(boxes[2], (Box{1, 34, 105, 49}));
    EXPECT_EQ(menuHeight(3, 15), 53);
}

TEST(MenuMath, WidenedHitTestCoversTheStripRightOfEntries) {
    const auto boxes = layoutMenuEntries(2, 15, 120);
    EXPECT_EQ(entryAt(boxes, 110, 10), -1);
    EXPECT_EQ(entryAt(boxes, 110, 10, 120), 0);
    EXPECT_EQ(entryAt(boxes, 50, 25, 120), 1);
    EXPECT_EQ(entryAt(boxes, 50, 3, 120), -1);
    EXPECT_EQ(entryAt(boxes, 50, 34, 120), -1);
}

} // namespace
} // namespace talwyn::controls
