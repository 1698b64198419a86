#include "pages/sensor_dlg.h"

#include "pages/mouse_settings_support.h"

#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <functional>

namespace talwyn::pages {
namespace {

using controls::ModalResult;

TEST(RoundResolution, RoundsToTheNearestStepWithinRange) {
    const std::pair<int32_t, int32_t> cases[] = {{812, 800},     {837, 850},     {1224, 1200},  {1225, 1250},
                                                 {10, 50},       {0, 50},        {-30, 50},     {400, 400},
                                                 {18990, 19000}, {19020, 19000}, {25000, 19000}};
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(roundResolution(value), expected) << value;
    }
}

TEST(SurfaceQualityIndex, FollowsTheAnalysisTable) {
    const std::pair<int, int> cases[] = {{0, 0},   {1, 0},    {2, 1},   {10, 1},  {11, 2}, {50, 5},
                                         {51, 6},  {70, 7},   {71, 8},  {90, 8},  {91, 9}, {95, 9},
                                         {96, 10}, {100, 10}, {101, 0}, {255, 0}, {-1, 0}};
    for (const auto& [value, index] : cases) {
        EXPECT_EQ(surfaceQualityIndex(value), index) << value;
    }
}

struct ScriptedAnalysis : SurfaceAnalysis {
    ModalResult verdict = ModalResult::Ok;
    int value = 0;
    int runs = 0;
    int barDuringSteps = -1;
    std::function<int()> barProbe;

    ModalResult runSteps(QWidget*) override {
        ++runs;
        if (barProbe) {
            barDuringSteps = barProbe();
        }
        return verdict;
    }
    void readValue(QObject*, std::function<void(int)> show) override { show(value); }
};

struct SensorPage : ::testing::Test {
    ScriptedAnalysis analysis;
    CSensorDlg page{nullptr, testing::testSkins(), analysis};

    QString editText(int level) { return page.levelEdit(level - 1).text(); }
    int thumb(int level) { return page.levelSlider().value(level); }
    std::vector<int> selectedIndicators() {
        std::vector<int> levels;
        for (int i = 0; i < 5; ++i) {
            if (page.levelIndicatorSet(i)) {
                levels.push_back(i + 1);
            }
        }
        return levels;
    }
    ProfileData saved() {
        ProfileData profile;
        page.saveToProfile(profile);
        return profile;
    }
    void focusEdit(int level) {
        page.show();
        page.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
        page.levelEdit(level - 1).setFocus();
        ASSERT_TRUE(page.levelEdit(level - 1).hasFocus());
    }
};

TEST_F(SensorPage, StartsWithFiveLevelsAndTracksEdits) {
    const QString expected[] = {"400", "800", "1600", "3200", "19000"};
    for (int level = 1; level <= 5; ++level) {
        EXPECT_EQ(editText(level), expected[level - 1]);
    }
    EXPECT_EQ(page.levelSlider().thumbCount(), 5);
    EXPECT_EQ(page.stepsButton().selectedCode(), 5);
    EXPECT_EQ(page.pointSpeedSlider().value(1), 6);
    EXPECT_FALSE(page.editTrackingActive()); // nothing typed, nothing to track
    EXPECT_TRUE(selectedIndicators().empty());
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(page.indicator(i).isEnabled()) << i;
    }
}

TEST_F(SensorPage, TypingAboveTheMaximumIsCutAndCarriedToTheThumb) {
    focusEdit(2);
    QTest::keyClick(&page.levelEdit(1), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&page.levelEdit(1), "25000");
    QTest::qWait(3 * CSensorDlg::kEditTrackingInterval.count());
    EXPECT_EQ(editText(2), "19000");
    EXPECT_EQ(page.levelEdit(1).cursorPosition(), 5);
    EXPECT_EQ(thumb(2), 19000);
}

TEST_F(SensorPage, EditTrackingTicksOnlyWhileAFocusedLevelEditHasSomethingToCarry) {
    const auto trackingEnds = [this] {
        return QTest::qWaitFor([this] { return !page.editTrackingActive(); }, 5000);
    };
    page.levelEdit(2).setText("900"); // an edit without the focus is not tracked
    EXPECT_FALSE(page.editTrackingActive());
    focusEdit(2);
    EXPECT_TRUE(page.editTrackingActive()); // what the edit holds is carried once
    ASSERT_TRUE(trackingEnds());
    EXPECT_EQ(thumb(2), 800);

    QTest::keyClick(&page.levelEdit(1), Qt::Key_End);
    QTest::keyClicks(&page.levelEdit(1), "5");
    EXPECT_TRUE(page.editTrackingActive());
    ASSERT_TRUE(trackingEnds());
    EXPECT_EQ(thumb(2), 8005);
    EXPECT_EQ(editText(2), "8005");
}

TEST_F(SensorPage, TypedDigitsStayWhileTheThumbFollowsClamped) {
    focusEdit(1);
    QTest::keyClick(&page.levelEdit(0), Qt::Key_A, Qt::ControlModifier);
    const std::pair<const char*, int> steps[] = {{"1", 50}, {"2", 50}, {"3", 123}, {"4", 1234}};
    QString typed;
    for (const auto& [digit, thumbValue] : steps) {
        QTest::keyClicks(&page.levelEdit(0), digit);
        typed += digit;
        page.trackFocusedEdit();
        EXPECT_EQ(thumb(1), thumbValue) << typed.toStdString();
        EXPECT_EQ(editText(1), typed);
    }
    EXPECT_EQ(saved().dpi[0].x, 1250);
}

TEST_F(SensorPage, FinishedEntryTakesTheThumbsValue) {
    struct Case {
        const char* digits;
        bool enter; // else the focus moves to the next level
        int thumb;
        const char* text;
    };
    const Case cases[] = {{"20", true, 50, "50"},
                          {"7", false, 50, "50"},
                          {"1234", false, 1234, "1234"},
                          {"837", true, 837, "837"}};
    for (const Case& c : cases) {
        focusEdit(1);
        QTest::keyClick(&page.levelEdit(0), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(&page.levelEdit(0), c.digits); // no tracking tick in between
        if (c.enter) {
            QTest::keyClick(&page.levelEdit(0), Qt::Key_Return);
        } else {
            page.levelEdit(1).setFocus();
        }
        EXPECT_EQ(thumb(1), c.thumb) << c.digits;
        EXPECT_EQ(editText(1), c.text) << c.digits;
    }
}

TEST_F(SensorPage, WheelStepsTheFocusedLevel) {
    focusEdit(3);
    QWheelEvent up(QPointF(5, 5), QPointF(5, 5), {}, QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(&page.levelEdit(2), &up);
    EXPECT_EQ(editText(3), "1650");
    page.trackFocusedEdit();
    EXPECT_EQ(thumb(3), 1650);
}

TEST_F(SensorPage, MenuNoticesGoUpAndOtherNoticesAreIgnored) {
    struct Host : QWidget, controls::CommandReceiver {
        std::vector<std::pair<controls::ControlId, controls::CommandValue>> seen;
        void onCommand(controls::ControlId first, controls::CommandValue second) override {
            seen.emplace_back(first, second);
        }
    } host;
    CSensorDlg hosted(&host, testing::testSkins(), analysis);
    hosted.onCommand(2234, 0);
    hosted.onCommand(CSensorDlg::kPointSpeedId, controls::sliderCommandValue(3, 1));
    hosted.onCommand(CSensorDlg::kEditIds[0], controls::command::kEditChanged);
    ASSERT_EQ(host.seen.size(), 1u);
    EXPECT_EQ(host.seen[0], std::make_pair(controls::ControlId{2234}, controls::CommandValue{0}));
    EXPECT_EQ(hosted.pointSpeedSlider().value(1), 6);
    EXPECT_FALSE(hosted.isWindow());
}

TEST_F(SensorPage, SliderNoticeRewritesTheLevelEdit) {
    page.onCommand(CSensorDlg::kLevelSliderId, controls::sliderCommandValue(1234, 4));
    EXPECT_EQ(editText(4), "1234");
    page.onCommand(CSensorDlg::kLevelSliderId, controls::sliderCommandValue(999, 7)); // no such thumb
    EXPECT_EQ(editText(5), "19000");
}

TEST_F(SensorPage, SavingRoundsLevelsAndWritesThemBack) {
    ProfileData profile;
    profile.dpiLevelCount = 3;
    profile.dpi[0] = {400, 11};
    profile.dpi[1] = {812, 22};
    profile.dpi[2] = {1600, 33};
    page.loadFromProfile(profile);
    page.saveToProfile(profile);
    EXPECT_EQ(profile.dpi[0], (DpiLevel{400, 11}));
    EXPECT_EQ(profile.dpi[1], (DpiLevel{800, 22}));
    EXPECT_EQ(profile.dpi[2], (DpiLevel{1600, 33}));
    EXPECT_EQ(profile.dpi[3].x, 0);
    EXPECT_EQ(profile.dpi[4].x, 0);
    EXPECT_EQ(profile.dpi[4].y, 19000);
    EXPECT_EQ(editText(2), "800");

    profile.dpi[1].x = 837;
    page.loadFromProfile(profile);
    EXPECT_EQ(saved().dpi[1].x, 850);
}

TEST_F(SensorPage, LevelBelowTheMinimumShowsAsTypedAndSavesClamped) {
    ProfileData profile;
    profile.dpi[0].x = 20;
    page.loadFromProfile(profile);
    EXPECT_EQ(editText(1), "20");
    EXPECT_EQ(thumb(1), 50);
    EXPECT_EQ(saved().dpi[0].x, 50);
}

TEST_F(SensorPage, FewerStepsThanTheSelectedLevel) {
    ProfileData profile;
    profile.activeDpiLevel = 4;
    page.loadFromProfile(profile);
    EXPECT_EQ(selectedIndicators(), std::vector<int>{4});

    testing::pick(page.stepsButton(), 2);
    EXPECT_EQ(page.stepsButton().caption(), "2");
    EXPECT_EQ(page.levelSlider().thumbCount(), 2);
    const controls::ButtonImages& looks = page.indicator(3).images();
    EXPECT_TRUE(looks.normal.isNull());
    EXPECT_FALSE(looks.disable.isNull());
    EXPECT_TRUE(page.indicator(3).selected());
    EXPECT_FALSE(page.levelEdit(2).isEnabled());
    EXPECT_TRUE(page.levelEdit(1).isEnabled());

    const ProfileData stored = saved();
    EXPECT_EQ(stored.dpiLevelCount, 2);
    EXPECT_EQ(stored.activeDpiLevel, 2);
}

TEST_F(SensorPage, ActiveLevelOnLoadAndSave) {
    struct Case {
        uint8_t count;
        uint8_t active;
        std::vector<int> shown;
        uint8_t corrected; // in the profile shown
        uint8_t stored;
    };
    const Case cases[] = {
        {3, 3, {3}, 3, 3}, {3, 5, {3}, 3, 3}, {5, 1, {1}, 1, 1}, {1, 4, {1}, 1, 1}, {5, 0, {1}, 0, 1}};
    for (const Case& c : cases) {
        ProfileData profile;
        profile.dpiLevelCount = c.count;
        profile.activeDpiLevel = c.active;
        page.loadFromProfile(profile);
        EXPECT_EQ(selectedIndicators(), c.shown) << int(c.count) << "/" << int(c.active);
        EXPECT_EQ(profile.activeDpiLevel, c.corrected) << int(c.count) << "/" << int(c.active);
        EXPECT_EQ(saved().activeDpiLevel, c.stored) << int(c.count) << "/" << int(c.active);
    }
}

TEST_F(SensorPage, NoSelectedIndicatorStoresLevelTwoOrOne) {
    EXPECT_EQ(saved().activeDpiLevel, 2);
    testing::pick(page.stepsButton(), 1); // one level in use marks indicator 1
    EXPECT_EQ(selectedIndicators(), std::vector<int>{1});
    EXPECT_EQ(saved().activeDpiLevel, 1);
}

TEST_F(SensorPage, CountOutsideTheMenuLeavesTheLevelsAlone) {
    ProfileData profile;
    profile.dpiLevelCount = 3;
    profile.activeDpiLevel = 2;
    page.loadFromProfile(profile);
    ProfileData odd;
    odd.dpiLevelCount = 9;
    odd.activeDpiLevel = 0;
    odd.dpi[0].x = 5000;
    page.loadFromProfile(odd);
    EXPECT_EQ(page.levelSlider().thumbCount(), 3);
    EXPECT_EQ(editText(1), "400");
    EXPECT_EQ(selectedIndicators(), std::vector<int>{2});
    EXPECT_EQ(saved().dpiLevelCount, 3);
}

TEST_F(SensorPage, SwitchesAndPointSpeedRoundTrip) {
    struct Case {
        int32_t liftOff;
        uint8_t angleSnapOff;
        uint8_t rippleOff;
        bool lod, angle, ripple;
    };
    for (const Case c : {Case{2, 0, 0, true, true, true}, Case{1, 1, 1, false, false, false},
                         Case{2, 1, 0, true, false, true}}) {
        ProfileData profile;
        profile.liftOff = c.liftOff;
        profile.angleSnapOff = c.angleSnapOff;
        profile.rippleOff = c.rippleOff;
        profile.pointerSpeed = 40;
        page.loadFromProfile(profile);
        EXPECT_EQ(page.liftOffSwitch().checkedFlag(), c.lod);
        EXPECT_EQ(page.angleSnapSwitch().checkedFlag(), c.angle);
        EXPECT_EQ(page.rippleSwitch().checkedFlag(), c.ripple);
        const ProfileData stored = saved();
        EXPECT_EQ(stored.liftOff, c.liftOff);
        EXPECT_EQ(stored.angleSnapOff, c.angleSnapOff);
        EXPECT_EQ(stored.rippleOff, c.rippleOff);
        EXPECT_EQ(stored.pointerSpeed, 11);
    }
}

TEST_F(SensorPage, SurfaceAnalysisEndsInTheBarAndPicture) {
    analysis.barProbe = [this] { return page.qualityBarValue(); };
    ProfileData profile;
    profile.surfaceQuality = 4;
    page.loadFromProfile(profile);
    EXPECT_EQ(page.surfacePicture().currentImage(), 4);

    analysis.value = 71;
    QTest::mouseClick(&page.analyzeButton(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(analysis.barDuringSteps, 0);
    EXPECT_EQ(page.qualityBarValue(), 8);
    EXPECT_EQ(page.surfacePicture().currentImage(), 8);
    EXPECT_EQ(saved().surfaceQuality, 8);

    analysis.verdict = ModalResult::Cancel;
    page.analyzeSurface();
    EXPECT_EQ(page.qualityBarValue(), 0);
    EXPECT_EQ(page.surfacePicture().currentImage(), 8);
    EXPECT_EQ(analysis.runs, 2);
}

TEST_F(SensorPage, OutOfRangeQualityFromAFileShowsTheIdlePictureAndIsKept) {
    struct Case {
        int16_t quality;
        int bar;
    };
    // The surface pictures are read when the page first shows.
    EXPECT_EQ(page.surfacePicture().imageCount(), 0);
    page.show();
    for (const Case c : {Case{40, 10}, Case{15, 10}, Case{-3, 0}, Case{7, 7}}) {
        ProfileData profile;
        profile.surfaceQuality = c.quality;
        page.loadFromProfile(profile);
        EXPECT_EQ(page.qualityBarValue(), c.bar) << c.quality;
        EXPECT_EQ(page.surfacePicture().imageCount(), 11);
        // Outside the list only the idle picture shows.
        EXPECT_EQ(page.surfacePicture().currentImage(), c.quality);
        EXPECT_EQ(saved().surfaceQuality, c.quality);
    }
}

TEST_F(SensorPage, MouseDrivenIndicatorSetsExactlyOneLevel) {
    page.setActiveLevelIndicator(3);
    EXPECT_EQ(selectedIndicators(), std::vector<int>{4});
    page.setActiveLevelIndicator(0);
    EXPECT_EQ(selectedIndicators(), std::vector<int>{1});
    page.setActiveLevelIndicator(5);
    page.setActiveLevelIndicator(-1);
    EXPECT_EQ(selectedIndicators(), std::vector<int>{1});
}

} // namespace
} // namespace talwyn::pages

namespace talwyn::pages {
namespace {

TEST(SensorLayout, EveryControlSitsAtItsTableRectangle) {
    ScriptedAnalysis analysis;
    CSensorDlg page(nullptr, testing::testSkins(), analysis);
    ProfileData profile;
    profile.dpiLevelCount = 4;
    profile.activeDpiLevel = 2;
    profile.dpi[1].x = 1200;
    profile.surfaceQuality = 7;
    profile.liftOff = 2;
    profile.rippleOff = 1;
    page.loadFromProfile(profile);
    page.show();
    EXPECT_EQ(page.size(), QSize(ui_layout::kPageSize.width, ui_layout::kPageSize.height));
    EXPECT_EQ(testing::misplacedControls(page, ui_layout::WindowId::SensorPerformance), std::vector<int>{});
    EXPECT_TRUE(testing::savePagePicture(page, "sensor_page.png"));
}

} // namespace
} // namespace talwyn::pages
