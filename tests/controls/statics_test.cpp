#include "controls/edits.h"
#include "controls/statics.h"
#include "widget_support.h"

#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace talwyn::controls {
namespace {

using testing::Command;
using testing::RecordingParent;

TEST(PreviewEffects, LevelsAndIntervals) {
    EXPECT_EQ(clampLevel(0), 1);
    EXPECT_EQ(clampLevel(9), 5);
    EXPECT_EQ(levelAlpha(1), 0);
    EXPECT_EQ(levelAlpha(3), 130);
    EXPECT_EQ(levelAlpha(5), 255);
    EXPECT_EQ(effectInterval(1), std::chrono::milliseconds(1000));
    EXPECT_EQ(effectInterval(2), std::chrono::milliseconds(100));
    EXPECT_EQ(effectInterval(3), std::chrono::milliseconds(100));
    EXPECT_EQ(effectInterval(0), std::nullopt);
}

std::vector<int> runTicks(PreviewCounters& counters, int effect, int alpha, int ticks) {
    std::vector<int> alphas;
    for (int i = 0; i < ticks; ++i) {
        alphas.push_back(effectTick(counters, effect, alpha).alpha.value_or(-1));
    }
    return alphas;
}

TEST(PreviewEffects, PulsatingGoesDarkTwiceInFifteenTicksThreeApart) {
    PreviewCounters counters;
    const auto alphas = runTicks(counters, 2, 255, 45);
    std::vector<int> dark;
    for (int i = 0; i < static_cast<int>(alphas.size()); ++i) {
        if (alphas[static_cast<size_t>(i)] == 0) {
            dark.push_back(i);
        } else {
            EXPECT_EQ(alphas[static_cast<size_t>(i)], 255);
        }
    }
    // Counter values 255 + 1.. hit 0 and 3 modulo 15: gaps alternate 12 and 3.
    EXPECT_EQ(dark, (std::vector<int>{2, 14, 17, 29, 32, 44}));
}

TEST(PreviewEffects, BreathingTurnsAtTheLevelAndAtZero) {
    PreviewCounters counters;
    // The first tick of the run starts the counter at the level's alpha (130) and turns down.
    const auto alphas = runTicks(counters, 3, 130, 60);
    EXPECT_EQ(alphas[0], 130);
    EXPECT_EQ(alphas[1], 125);
    EXPECT_EQ(alphas[26], 0); // 130 / 5 steps down
    EXPECT_EQ(alphas[27], 5);
    EXPECT_EQ(alphas[52], 130);
    EXPECT_EQ(alphas[53], 125);
}

TEST(PreviewEffects, BlinkingAlternatesAndSolidStops) {
    PreviewCounters counters;
    const auto alphas = runTicks(counters, 1, 255, 4); // counter starts odd at 255
    EXPECT_EQ(alphas, (std::vector<int>{255, 0, 255, 0}));
    const EffectTick solid = effectTick(counters, 0, 60);
    EXPECT_EQ(solid.alpha, 60);
    EXPECT_TRUE(solid.stopTimer);
    EXPECT_EQ(effectTick(counters, 7, 60).alpha, std::nullopt);
}

TEST(PreviewEffects, ColourCycleChannelsTurnAtTheEnds) {
    PreviewCounters counters;
    EXPECT_EQ(colorCycleTick(counters), (Rgb{240, 135, 5}));
    for (int i = 2; i <= 13; ++i) {
        colorCycleTick(counters);
    }
    EXPECT_EQ(counters.green, 255);
    EXPECT_EQ(colorCycleTick(counters).green, 245); // tick 14 turns green down
    for (int i = 15; i <= 17; ++i) {
        colorCycleTick(counters);
    }
    EXPECT_EQ(counters.red, 0);
    EXPECT_EQ(colorCycleTick(counters).red, 15);
    EXPECT_EQ(counters.blue, 90);
}

TEST(ColorField, SnappingRules) {
    struct Case {
        int r, g, b;
        uint32_t expected;
    };
    const Case cases[] = {
        {251, 253, 253, 0xFFFFFF},
        {250, 253, 253, 0xFDFDFA},
        {252, 8, 40, 0x0000FF},
        {252, 9, 40, 0x2809FC},
        {5, 5, 5, 0},
        {38, 6, 253, 0xFF0000},
        {27, 253, 35, 0x00FF00},
        {27, 252, 35, 0x23FC1B},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(snapFieldColor(c.r, c.g, c.b), c.expected) << c.r << "," << c.g << "," << c.b;
    }
}

TEST(ColorField, MarkerStaysInsideTheField) {
    const Box field{0, 0, 143, 140};
    EXPECT_EQ(markerOrigin({2, 2}, field), (Point{0, 0}));
    EXPECT_EQ(markerOrigin({100, 50}, field), (Point{96, 46}));
    EXPECT_EQ(markerOrigin({140, 138}, field), (Point{134, 131}));
}

TEST(ColorField, ShadingCorners) {
    const uint32_t cyan = 0xFFFF00;
    EXPECT_EQ(colorFieldPixel(0, 0, 100, 100, cyan), (Rgb{255, 255, 255}));
    EXPECT_EQ(colorFieldPixel(50, 0, 100, 100, cyan), (Rgb{127, 255, 255}));
    EXPECT_EQ(colorFieldPixel(0, 50, 100, 100, cyan), (Rgb{127, 127, 127}));
    EXPECT_EQ(colorFieldPixel(50, 50, 100, 100, cyan), (Rgb{0, 127, 127}));
    EXPECT_EQ(colorFieldPixel(75, 50, 100, 100, cyan), (Rgb{0, 127, 127}));
    EXPECT_EQ(colorFieldPixel(75, 75, 100, 100, cyan), (Rgb{0, 63, 63}));
}

TEST(ColorStatic, PressMovesTheMarkerAndNotifies) {
    RecordingParent parent;
    CKytColorStatic field(&parent);
    field.setControlId(1900);
    field.setGeometry(0, 0, 143, 140);
    testing::moveTo(field, {2, 2});
    testing::press(field, {2, 2});
    EXPECT_EQ(parent.commands, (std::vector<Command>{{1900, 0}}));
    QImage shot(field.size(), QImage::Format_RGB32);
    field.render(&shot);
    EXPECT_EQ(field.markerOutline(), (Point{0, 0}));
    EXPECT_EQ(shot.pixelColor(7, 0), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(1, 1), QColor(0x25, 0x25, 0x25));

    testing::moveTo(field, {0, 0}, Qt::LeftButton);
    testing::release(field, {0, 0});
    EXPECT_EQ(parent.commands.size(), 3u);
    field.render(&shot);
    EXPECT_EQ(field.pickedColor(), 0xFFFFFFu);
    // After the repaint that follows the release, a plain repaint draws no marker.
    field.setBaseColor(0x0000FF);
    field.render(&shot);
    EXPECT_NE(shot.pixelColor(1, 1), QColor(0x25, 0x25, 0x25));
    EXPECT_EQ(field.pickedColor(), 0xFFFFFFu);
}

TEST(ImageStatic, ImageOutsideTheListShowsTheBackgroundOnly) {
    RecordingParent parent;
    CVexStatic label(&parent);
    label.setControlId(1800);
    label.resize(40, 20);
    label.SetBackground(testing::solidImage({4, 4}, Qt::blue));
    label.AddImage(testing::solidImage({4, 4}, Qt::red));
    label.setShowText(false);
    QImage shot(label.size(), QImage::Format_RGB32);
    label.render(&shot);
    EXPECT_EQ(shot.pixelColor(20, 10), QColor(Qt::red));
    label.setCurrentImage(5);
    label.render(&shot);
    EXPECT_EQ(shot.pixelColor(20, 10), QColor(Qt::blue));

    EXPECT_EQ(label.GetCurrentText(), QString());
    label.SetText(QStringLiteral("v1.02"));
    label.SetText(QStringLiteral("v1.03"));
    EXPECT_EQ(label.GetCurrentText(), QStringLiteral("v1.03"));
    label.setCurrentText(1);
    EXPECT_EQ(label.GetCurrentText(), QString());

    testing::mouse(label, QEvent::MouseButtonDblClick, {5, 5});
    EXPECT_EQ(parent.commands, (std::vector<Command>{{1800, 1}}));
}

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        previewCounters() = {};
        preview.resize(270, 369);
    }
    CVexMouseStatic preview;
};

TEST_F(PreviewTest, LevelsClampAndSetTheAlphaOfSolidLight) {
    preview.SetZone1Color(0xFF102030);
    preview.SetLevel(0);
    EXPECT_EQ(preview.level(), 1);
    EXPECT_EQ(preview.zone1Color(), 0x00102030u);
    preview.SetLevel(9);
    EXPECT_EQ(preview.level(), 5);
    EXPECT_EQ(preview.zone1Color(), 0xFF102030u);
    EXPECT_FALSE(preview.effectTimerActive());
    preview.SetEffect(2);
    EXPECT_TRUE(preview.effectTimerActive());
    preview.SetEffect(0);
    EXPECT_FALSE(preview.effectTimerActive());
}

TEST_F(PreviewTest, HiddenPreviewIgnoresEffectTicks) {
    preview.SetEffect(1);
    preview.SetZoneColors(0xFF112233);
    preview.effectTick();
    EXPECT_EQ(preview.zone1Color(), 0xFF112233u);
    EXPECT_FALSE(previewCounters().started);
    preview.show();
    preview.effectTick();
    preview.effectTick();
    EXPECT_EQ(preview.zone1Color(), 0x00112233u); // 255 ticks lit, then 256 dark
    EXPECT_EQ(preview.zone2Color(), 0x00112233u);
}

TEST_F(PreviewTest, ColourCycleKeepsAlphaAndSavedColours) {
    preview.SetZone1Color(0x80000000);
    preview.colorCycleTick();
    EXPECT_EQ(preview.zone1Color(), 0x80F08705u);
    EXPECT_EQ(preview.zone2Color(), 0x80F08705u);
    EXPECT_EQ(preview.zone1Saved(), 0x80000000u);
}

TEST(Edits, LeadingIntegerAndWheelSteps) {
    EXPECT_EQ(leadingInteger(QStringLiteral("  -42x")), -42);
    EXPECT_EQ(leadingInteger(QStringLiteral("dpi")), 0);
    EXPECT_EQ(leadingInteger(QStringLiteral("99999999999")), 2147483647);
    struct Case {
        const char* text;
        int delta;
        int32_t expected;
    };
    for (const Case& c : {Case{"18990", 120, 19000}, Case{"60", -120, 50}, Case{"", 120, 50},
                          Case{"800", 15, 850}, Case{"800", -480, 750}}) {
        EXPECT_EQ(wheelStepValue(QString::fromLatin1(c.text), c.delta, 50, 50, 19000), c.expected) << c.text;
    }
    EXPECT_EQ(wheelStepValue(QStringLiteral("800"), 0, 50, 50, 19000), std::nullopt);
}

TEST(Edits, HexOnlyDropsLettersBeyondF) {
    RecordingParent parent;
    CVexEdit edit(&parent);
    edit.setControlId(2100);
    edit.setHexOnly(true);
    for (char key : {'g', 'Z', 'F', '9', '-', 'a'}) {
        QTest::keyClick(&edit, key);
    }
    EXPECT_EQ(edit.text(), QStringLiteral("F9-a"));
    EXPECT_EQ(parent.commands, (std::vector<Command>(4, Command{2100, command::kEditChanged})));
    edit.setHexOnly(false);
    QTest::keyClick(&edit, 'z');
    EXPECT_EQ(edit.text(), QStringLiteral("F9-az"));
}

TEST(Edits, WheelStepsTheNumberAndNotifies) {
    RecordingParent parent;
    CKYTEdit edit(&parent);
    edit.setControlId(2200);
    edit.setText(QStringLiteral("18990"));
    parent.commands.clear();
    const auto wheel = [&edit](int delta) {
        QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&edit, &event);
    };
    wheel(120);
    EXPECT_EQ(edit.text(), QStringLiteral("18990")); // stepping is off until the owner enables it
    edit.setWheelStepping(50, 50, 19000, true);
    wheel(120);
    EXPECT_EQ(edit.text(), QStringLiteral("19000"));
    wheel(360);
    EXPECT_EQ(edit.text(), QStringLiteral("19000"));
    wheel(-120);
    EXPECT_EQ(edit.text(), QStringLiteral("18950"));
    EXPECT_EQ(parent.commands, (std::vector<Command>(2, Command{2200, command::kEditChanged})));
}

} // namespace
} // namespace talwyn::controls
