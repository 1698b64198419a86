#include "controls/scroll_progress.h"
#include "controls/sliders.h"
#include "widget_support.h"

#include <gtest/gtest.h>

namespace talwyn::controls {
namespace {

using testing::Command;
using testing::RecordingParent;

// A slider 1014 pixels wide with 14-pixel thumbs over 0..100: the thumb centre
// sits at x = 7 + 10 * value, so pointer positions map to tenths of a value.
class SliderTest : public ::testing::Test {
protected:
    void SetUp() override {
        slider.setControlId(1100);
        slider.setGeometry(0, 0, 1014, 30);
        std::array<QImage, 5> thumbs;
        for (QImage& t : thumbs) {
            t = testing::solidImage({14, 21}, Qt::white);
        }
        slider.SetImages(testing::solidImage({10, 10}, Qt::black), thumbs);
        slider.setRange(0, 100);
        slider.setThumbCount(1);
    }
    static int xFor(double value) { return static_cast<int>(7 + 10 * value); }

    RecordingParent parent;
    CVexSliderCtrl3D slider{&parent};
};

TEST_F(SliderTest, DragReportsOnlyValuesThatChange) {
    testing::moveTo(slider, {xFor(0), 5});
    testing::press(slider, {xFor(0), 5});
    EXPECT_EQ(slider.activeThumb(), 1);
    EXPECT_TRUE(parent.commands.empty()); // 0 was already the reported value
    for (int x : {xFor(5), xFor(5.1), xFor(5.2), xFor(5.4)}) {
        testing::moveTo(slider, {x, 5}, Qt::LeftButton);
    }
    EXPECT_EQ(parent.commands, (std::vector<Command>{{1100, sliderCommandValue(5, 1)}}));
    testing::moveTo(slider, {xFor(5.5), 5}, Qt::LeftButton);
    testing::release(slider, {xFor(5.5), 5});
    EXPECT_EQ(parent.commands.back(), (Command{1100, sliderCommandValue(6, 1)}));
    EXPECT_EQ(parent.commands.size(), 2u);
    EXPECT_EQ(slider.value(1), 6);
    EXPECT_EQ(slider.activeThumb(), 0);
    EXPECT_EQ(slider.visualState(), VisualState::Normal);
}

TEST_F(SliderTest, DragSnapsToTheStep) {
    slider.setRange(50, 19000);
    slider.setStep(50);
    testing::moveTo(slider, {7, 5});
    testing::press(slider, {7, 5});
    testing::moveTo(slider, {507, 5}, Qt::LeftButton); // 9525 snaps to 9500
    EXPECT_EQ(parent.commands.back(), (Command{1100, sliderCommandValue(9500, 1)}));
    testing::moveTo(slider, {1013, 5}, Qt::LeftButton);
    EXPECT_EQ(parent.commands.back(), (Command{1100, sliderCommandValue(19000, 1)}));
}

TEST_F(SliderTest, SetValueClampsWithoutSnappingAndSkipsTheReportedValue) {
    slider.setThumbCount(2);
    slider.setStep(50);
    slider.setRange(50, 19000);
    slider.SetValue(2, 800);
    slider.SetValue(2, 800);
    slider.SetValue(2, 812);
    slider.SetValue(2, 30000);
    EXPECT_EQ(
        parent.commands,
        (std::vector<Command>{{1100, 800 + 2 * 65536}, {1100, 812 + 2 * 65536}, {1100, 19000 + 2 * 65536}}));
    EXPECT_EQ(slider.value(2), 19000);
}

TEST_F(SliderTest, HiddenThumbsTakeNoClicks) {
    slider.SetValue(1, 10);
    slider.SetValue(2, 80);
    parent.commands.clear();
    testing::moveTo(slider, {xFor(80), 5});
    testing::press(slider, {xFor(80), 5});
    EXPECT_EQ(slider.activeThumb(), 0);
    testing::moveTo(slider, {xFor(60), 5}, Qt::LeftButton);
    testing::release(slider, {xFor(60), 5});
    EXPECT_TRUE(parent.commands.empty());
    EXPECT_EQ(slider.value(1), 10);

    slider.setThumbCount(2);
    testing::press(slider, {xFor(80), 5});
    EXPECT_EQ(slider.activeThumb(), 2);
}

TEST_F(SliderTest, DragThatLeavesPausesAndResumesOnReturn) {
    testing::moveTo(slider, {xFor(0), 5});
    testing::press(slider, {xFor(0), 5});
    testing::moveTo(slider, {xFor(20), 5}, Qt::LeftButton);
    ASSERT_EQ(parent.commands.size(), 1u);

    // The move that finds the pointer below the control still drags, then lets go.
    testing::moveTo(slider, {xFor(30), 60}, Qt::LeftButton);
    EXPECT_EQ(slider.visualState(), VisualState::Normal);
    testing::moveTo(slider, {xFor(40), 60}, Qt::LeftButton);
    EXPECT_EQ(parent.commands.size(), 2u);
    EXPECT_EQ(slider.value(1), 30);

    testing::moveTo(slider, {xFor(50), 5}, Qt::LeftButton); // back, button still held
    EXPECT_EQ(slider.visualState(), VisualState::Down);
    testing::moveTo(slider, {xFor(55), 5}, Qt::LeftButton);
    EXPECT_EQ(parent.commands.back(), (Command{1100, sliderCommandValue(55, 1)}));

    // Coming back without the button is plain hovering.
    testing::moveTo(slider, {xFor(55), 60});
    testing::moveTo(slider, {xFor(56), 5});
    EXPECT_EQ(slider.visualState(), VisualState::Over);
}

TEST_F(SliderTest, DisabledLookIgnoresTheMouse) {
    slider.setDisabledLook(true);
    testing::moveTo(slider, {xFor(0), 5});
    testing::press(slider, {xFor(0), 5});
    testing::moveTo(slider, {xFor(40), 5}, Qt::LeftButton);
    testing::release(slider, {xFor(40), 5});
    EXPECT_TRUE(parent.commands.empty());
    EXPECT_EQ(slider.visualState(), VisualState::Disabled);
}

TEST(VerticalSlider, PicksTheColourUnderThePointerButNotNearWhite) {
    RecordingParent parent;
    CVexSliderCtrlVer slider(&parent);
    slider.setControlId(1200);
    slider.setGeometry(0, 0, 40, 110);
    // Rows 0-39 red, 40-69 a pale grey that is not picked, 70-109 a pale cyan that is.
    QImage background(40, 110, QImage::Format_RGB32);
    background.fill(QColor(255, 0, 0));
    for (int y = 40; y < 110; ++y) {
        for (int x = 0; x < 40; ++x) {
            background.setPixelColor(x, y, y < 70 ? QColor(230, 202, 240) : QColor(201, 255, 255));
        }
    }
    slider.SetImages(background, testing::solidImage({4, 10}, Qt::black),
                     testing::solidImage({4, 10}, Qt::black), {});
    slider.setRange(0, 100);

    testing::moveTo(slider, {20, 25});
    testing::press(slider, {20, 25});
    EXPECT_EQ(slider.pickedColor(), 0x0000FFu);
    testing::moveTo(slider, {20, 55}, Qt::LeftButton);
    EXPECT_EQ(slider.pickedColor(), 0x0000FFu);
    testing::moveTo(slider, {20, 90}, Qt::LeftButton);
    EXPECT_EQ(slider.pickedColor(), 0xFFFFC9u);
    testing::release(slider, {20, 90});
    EXPECT_EQ(parent.commands, (std::vector<Command>{{1200, 20}, {1200, 50}, {1200, 85}}));
}

class ScrollTest : public ::testing::Test {
protected:
    void SetUp() override {
        scroll.setControlId(1300);
        scroll.setGeometry(0, 0, 18, 198);
        ScrollImages images;
        images.background = testing::solidImage({18, 198}, Qt::darkGray);
        images.thumb = testing::solidImage({18, 16}, Qt::gray);
        images.first = images.second = testing::solidImage({18, 18}, Qt::lightGray);
        scroll.SetImages(images);
        scroll.setRange(0, 12);
    }
    RecordingParent parent;
    CVexScrollCtrl scroll{&parent};
};

TEST_F(ScrollTest, EndButtonsJumpToTheEndsAndReportTwice) {
    testing::click(scroll, {9, 190});
    EXPECT_EQ(parent.commands, (std::vector<Command>{{1300, 12}, {1300, 12}}));
    EXPECT_EQ(scroll.layout().thumb.bottom, scroll.layout().track.bottom);
    parent.commands.clear();
    testing::click(scroll, {9, 5});
    EXPECT_EQ(parent.commands, (std::vector<Command>{{1300, 0}, {1300, 0}}));
    EXPECT_EQ(scroll.layout().thumb.top, 18);
    EXPECT_EQ(scroll.pressedPart(), ScrollPart::None);
}

TEST_F(ScrollTest, TrackClicksAndDragsSetThePosition) {
    // Track 18..180, thumb 16: the centre of position p sits at 26 + 146 * p / 12.
    testing::moveTo(scroll, {9, 99});
    testing::press(scroll, {9, 99});
    EXPECT_EQ(scroll.position(), 6);
    testing::moveTo(scroll, {9, 172}, Qt::LeftButton);
    EXPECT_EQ(scroll.position(), 12);
    testing::release(scroll, {9, 172});
    EXPECT_EQ(parent.commands.back(), (Command{1300, 12}));
    scroll.setRange(3, 3);
    scroll.SetPos(9);
    EXPECT_EQ(scroll.position(), 3);
    EXPECT_EQ(scroll.layout().thumb.top, 18);
}

TEST(ProgressBar, VerticalBarGrowsUpFromTheBottom) {
    CVexProgressCtrl bar;
    bar.resize(20, 100);
    QImage fill(20, 100, QImage::Format_RGB32);
    fill.fill(Qt::blue);
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 20; ++x) {
            fill.setPixelColor(x, y, Qt::green);
        }
    }
    bar.setImages(testing::solidImage({20, 100}, Qt::red), fill);
    bar.setRange(0, 100);
    bar.setPosition(50);
    bar.setVertical(true);
    QImage shot(bar.size(), QImage::Format_RGB32);
    bar.render(&shot);
    for (int y : {0, 49}) {
        EXPECT_EQ(shot.pixelColor(10, y), QColor(Qt::red)) << y;
    }
    for (int y : {50, 99}) {
        EXPECT_EQ(shot.pixelColor(10, y), QColor(Qt::green)) << y;
    }
}

} // namespace
} // namespace talwyn::controls
