#include "pages/color_settings_dlg.h"

#include "controls/color_selector_wnd.h"
#include "pages/mouse_settings_support.h"

#include <QTest>

#include <gtest/gtest.h>

namespace talwyn::pages {
namespace {

using controls::LightEffect;

TEST(LightingCodes, EncodeModesZonesAndEffects) {
    struct Case {
        LightingMode mode;
        bool wheel;
        bool logo;
        std::optional<LightEffect> effect;
        LightingCodes codes;
    };
    const Case cases[] = {
        {LightingMode::PerZone, false, false, LightEffect::Solid, {0x20, 0x01}},
        {LightingMode::PerZone, true, false, LightEffect::Blinking, {0x21, 0x02}},
        {LightingMode::PerZone, true, true, LightEffect::Pulsating, {0x29, 0x03}},
        {LightingMode::SolidColor, true, true, LightEffect::Breathing, {0x0F, 0x04}},
        {LightingMode::ColorShift, false, false, LightEffect::Pulsating, {0x19, 0x13}},
        {LightingMode::ColorShift, false, false, std::nullopt, {0x19, 0x10}},
        {LightingMode::None, true, true, std::nullopt, {0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(encodeLighting(c.mode, c.wheel, c.logo, c.effect), c.codes)
            << static_cast<int>(c.mode) << " " << c.wheel << c.logo;
    }
}

TEST(LightingCodes, DecodeModesAndEffects) {
    const std::pair<int32_t, LightingMode> modes[] = {
        {0x0F, LightingMode::SolidColor}, {0x1F, LightingMode::SolidColor}, {0x10, LightingMode::ColorShift},
        {0x19, LightingMode::ColorShift}, {0x21, LightingMode::PerZone},    {0x28, LightingMode::PerZone},
        {0x20, LightingMode::None},       {0x00, LightingMode::None},       {0x07, LightingMode::None}};
    for (const auto& [zones, mode] : modes) {
        EXPECT_EQ(decodeLightingMode(zones), mode) << zones;
    }
    const std::pair<int32_t, std::optional<LightEffect>> effects[] = {
        {7, LightEffect::Pulsating}, {3, LightEffect::Pulsating}, {0x13, LightEffect::Pulsating},
        {5, LightEffect::Solid},     {1, LightEffect::Solid},     {2, LightEffect::Blinking},
        {6, LightEffect::Blinking},  {4, LightEffect::Breathing}, {0x14, LightEffect::Breathing},
        {0, std::nullopt},           {0x10, std::nullopt},        {8, std::nullopt}};
    for (const auto& [code, effect] : effects) {
        EXPECT_EQ(decodeLightEffect(code), effect) << code;
    }
}

TEST(DecimalEntry, KeepsTheLastThreeDigitsAndCapsAt255) {
    struct Case {
        const char* typed;
        const char* shown;
        int value;
        bool corrected;
    };
    const Case cases[] = {{"300", "255", 255, true}, {"1234", "234", 234, true}, {"0999", "255", 255, true},
                          {"2000", "000", 0, true},  {"", "", 0, false},         {"42", "42", 42, false},
                          {"255", "255", 255, false}};
    for (const Case& c : cases) {
        const DecimalEntry entry = correctDecimalEntry(QString::fromLatin1(c.typed));
        EXPECT_EQ(entry.text, QString::fromLatin1(c.shown)) << c.typed;
        EXPECT_EQ(entry.value, c.value) << c.typed;
        EXPECT_EQ(entry.corrected, c.corrected) << c.typed;
    }
}

constexpr uint32_t kColorA = 0x00336699; // colour values: red in bits 0-7
constexpr uint32_t kColorB = 0x00C08040;

controls::Argb fullArgb(uint32_t value) {
    return 0xFF000000u | (value & 0xFF) << 16 | (value & 0xFF00) | (value >> 16 & 0xFF);
}

ProfileData lightingProfile(int32_t zones, int32_t effect, int32_t brightness = 5) {
    ProfileData profile;
    profile.lightZones = zones;
    profile.lightEffect = effect;
    profile.lightBrightness = brightness;
    profile.lightColors = {kColorA, 0, 0, kColorB};
    profile.pickerColor = 0x0000FF;
    return profile;
}

struct LightingPageTest : ::testing::Test {
    CColorSettingsDlg page{nullptr, testing::testSkins()};

    void SetUp() override {
        page.show();
        page.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
        settle();
    }
    // Lets the page's one-shot timers run out.
    void settle() {
        for (int i = 0; i < 200 && (page.editSyncPending() || page.pickPending()); ++i) {
            QTest::qWait(2);
        }
        ASSERT_FALSE(page.editSyncPending() || page.pickPending());
    }
    void type(controls::CVexEdit& edit, const char* text) {
        edit.setFocus();
        ASSERT_TRUE(edit.hasFocus());
        edit.selectAll();
        QTest::keyClicks(&edit, text);
        settle();
    }
    void click(QAbstractButton& button) {
        QTest::mouseClick(&button, Qt::LeftButton);
        settle();
    }
    QString decimals() {
        return page.decimalEdit(0).text() + "," + page.decimalEdit(1).text() + "," +
               page.decimalEdit(2).text();
    }
    void load(ProfileData profile) {
        page.loadFromProfile(profile);
        settle();
    }
    ProfileData saved() {
        ProfileData profile = lightingProfile(0, 0);
        page.saveToProfile(profile);
        return profile;
    }
};

TEST_F(LightingPageTest, StartsRedWithNoModeAndTheZoneControlsHidden) {
    EXPECT_EQ(page.mode(), LightingMode::None);
    EXPECT_FALSE(page.zoneControlsShown());
    EXPECT_EQ(page.brightnessSlider().value(1), 5);
    EXPECT_EQ(page.well().color(), 0x0000FFu);
    EXPECT_EQ(decimals(), "255,0,0");
    EXPECT_EQ(page.hexEdit().text(), "FF0000");
}

TEST_F(LightingPageTest, DecimalEditsAreCorrectedAndDriveTheHexEdit) {
    type(page.decimalEdit(1), "18");
    type(page.decimalEdit(2), "52");
    struct Case {
        const char* typed;
        const char* red;
        const char* hex;
    };
    const Case cases[] = {{"300", "255", "FF1234"}, {"1234", "234", "EA1234"}, {"7", "7", "071234"}};
    for (const Case& c : cases) {
        type(page.decimalEdit(0), c.typed);
        EXPECT_EQ(page.decimalEdit(0).text(), c.red) << c.typed;
        EXPECT_EQ(page.hexEdit().text(), c.hex) << c.typed;
    }
    // The typed colour reached the selector, and from it the well.
    EXPECT_EQ(page.well().color(), 0x341207u);
}

TEST_F(LightingPageTest, HexTextDrivesTheDecimalEdits) {
    const std::pair<const char*, const char*> cases[] = {
        {"ff8", "255,8,0"}, {"00FF00", "0,255,0"}, {"123456789", "18,52,86"}, {"\b", "0,0,0"}};
    for (const auto& [typed, shown] : cases) {
        type(page.hexEdit(), typed);
        EXPECT_EQ(decimals().toStdString(), shown) << typed;
        EXPECT_LE(page.hexEdit().text().size(), 6) << typed;
    }
}

// A typed colour goes through the selector and comes back from the well at
// the selector's resolution.
TEST_F(LightingPageTest, TypedColoursComeBackThroughTheSelector) {
    const std::pair<const char*, const char*> cases[] = {
        {"FF0000", "FF0000"},
        {"FFFFFF", "FFFFFF"},
        {"000000", "000000"},
        {"123456", "123456"},
        {"32EBA5", "32EBA5"},
        {"808080", "808080"},
        {"FF8081", "FF8081"},
        {"010203", "010203"},
        // Hue, saturation and value rounded up to the field's steps move one component by one.
        {"E5BE14", "E5BF14"},
        {"FF0232", "FF0231"},
        {"142AE9", "1429E9"}};
    for (const auto& [typed, back] : cases) {
        type(page.hexEdit(), typed);
        EXPECT_EQ(page.hexEdit().text().toStdString(), back) << typed;
        EXPECT_EQ(page.hexEdit().text(),
                  QString::fromStdU16String(color::ColorToHexText(page.well().color())));
    }
}

TEST_F(LightingPageTest, PerZoneColoursChangeOnlyTheZoneBeingEdited) {
    load(lightingProfile(0x0F, 1));
    click(page.modeButton(LightingMode::PerZone));
    ASSERT_TRUE(page.zoneControlsShown());
    click(page.wheelBox());
    click(page.logoBox());
    // Neither "1" nor "4" pressed yet: no zone takes the colour.
    type(page.hexEdit(), "102030");
    EXPECT_EQ(page.preview().zone1Color(), fullArgb(kColorA));
    EXPECT_EQ(page.preview().zone2Color(), fullArgb(kColorB));

    click(page.zone1EditButton());
    type(page.hexEdit(), "405060");
    EXPECT_EQ(page.preview().zone1Color(), 0xFF405060u);
    EXPECT_EQ(page.preview().zone1Saved(), 0xFF405060u);
    EXPECT_EQ(page.preview().zone2Color(), fullArgb(kColorB));

    click(page.zone2EditButton());
    type(page.hexEdit(), "708090");
    EXPECT_EQ(page.preview().zone1Color(), 0xFF405060u);
    EXPECT_EQ(page.preview().zone2Color(), 0xFF708090u);

    const ProfileData profile = saved();
    EXPECT_EQ(profile.lightZones, 0x29);
    EXPECT_EQ(profile.lightColors[0], 0x605040u);
    EXPECT_EQ(profile.lightColors[3], 0x908070u);
}

TEST_F(LightingPageTest, SolidColourTakesTypedColoursAtTheLevelsAlpha) {
    load(lightingProfile(0x0F, 1, 3));
    type(page.hexEdit(), "ABCDEF");
    EXPECT_EQ(page.preview().zone1Color(), 0x82ABCDEFu);
    EXPECT_EQ(page.preview().zone2Color(), 0x82ABCDEFu);
    // The live colours changed; the saved copies did not.
    EXPECT_EQ(page.preview().zone1Saved(), fullArgb(kColorA));
}

TEST_F(LightingPageTest, ColourShiftThenSolidColourRestoresTheColoursFromBeforeTheCycle) {
    load(lightingProfile(0x0F, 1));
    click(page.modeButton(LightingMode::ColorShift));
    ASSERT_TRUE(page.preview().colorCycleActive());
    for (int i = 0; i < 3; ++i) {
        page.preview().colorCycleTick();
    }
    ASSERT_NE(page.preview().zone1Color(), fullArgb(kColorA));

    // Saving while the cycle runs keeps the colours from before it.
    const ProfileData during = saved();
    EXPECT_EQ(during.lightZones, 0x19);
    EXPECT_EQ(during.lightEffect, 0x11);
    EXPECT_EQ(during.lightColors[0], kColorA);
    EXPECT_EQ(during.lightColors[3], kColorB);

    // Pressing "Color Shift" again while it cycles keeps those colours too.
    click(page.modeButton(LightingMode::ColorShift));
    page.preview().colorCycleTick();
    EXPECT_EQ(saved().lightColors[0], kColorA);

    click(page.modeButton(LightingMode::SolidColor));
    EXPECT_FALSE(page.preview().colorCycleActive());
    EXPECT_FALSE(page.preview().shiftActive());
    EXPECT_EQ(page.preview().zone1Color(), fullArgb(kColorA));
    EXPECT_EQ(page.preview().zone2Color(), fullArgb(kColorB));
}

TEST_F(LightingPageTest, LoadingShowsTheProfileAndSavingWritesItBack) {
    struct Case {
        int32_t zones;
        int32_t effect;
        int32_t brightness;
        LightingMode mode;
        std::optional<LightEffect> shownEffect;
        bool zoneControls;
        int32_t clampedBrightness;
        int32_t savedZones;
        int32_t savedEffect;
    };
    const Case cases[] = {
        {0x20, 1, 0, LightingMode::None, LightEffect::Solid, false, 1, 0x00, 0x01},
        {0x21, 7, 9, LightingMode::PerZone, LightEffect::Pulsating, true, 5, 0x21, 0x03},
        {0x28, 2, 3, LightingMode::PerZone, LightEffect::Blinking, true, 3, 0x28, 0x02},
        {0x0F, 5, 2, LightingMode::SolidColor, LightEffect::Solid, false, 2, 0x0F, 0x01},
        {0x19, 0x14, 4, LightingMode::ColorShift, LightEffect::Breathing, false, 4, 0x19, 0x14},
        {0x10, 0x13, -3, LightingMode::ColorShift, LightEffect::Pulsating, false, 1, 0x19, 0x13},
        {0x00, 0x00, 5, LightingMode::None, std::nullopt, false, 5, 0x00, 0x00},
    };
    for (const Case& c : cases) {
        ProfileData profile = lightingProfile(c.zones, c.effect, c.brightness);
        page.loadFromProfile(profile);
        settle();
        EXPECT_EQ(profile.lightBrightness, c.clampedBrightness) << c.zones;
        EXPECT_EQ(page.brightnessSlider().value(1), c.clampedBrightness) << c.zones;
        EXPECT_EQ(page.preview().level(), c.clampedBrightness) << c.zones;
        EXPECT_EQ(page.mode(), c.mode) << c.zones;
        EXPECT_EQ(page.effect(), c.shownEffect) << c.zones;
        EXPECT_EQ(page.zoneControlsShown(), c.zoneControls) << c.zones;
        EXPECT_EQ(page.preview().colorCycleActive(), c.mode == LightingMode::ColorShift) << c.zones;
        for (LightingMode mode :
             {LightingMode::PerZone, LightingMode::ColorShift, LightingMode::SolidColor}) {
            EXPECT_EQ(page.modeButton(mode).selected(), mode == c.mode) << c.zones;
        }

        const ProfileData back = saved();
        EXPECT_EQ(back.lightZones, c.savedZones) << c.zones;
        EXPECT_EQ(back.lightEffect, c.savedEffect) << c.zones;
        EXPECT_EQ(back.lightBrightness, c.clampedBrightness) << c.zones;
        EXPECT_EQ(back.lightColors[0], kColorA) << c.zones;
        EXPECT_EQ(back.lightColors[3], kColorB) << c.zones;
        EXPECT_EQ(back.pickerColor, 0x0000FF) << c.zones;
    }
}

TEST_F(LightingPageTest, LoadingSolidColourStopsARunningCycle) {
    load(lightingProfile(0x19, 0x11));
    page.preview().colorCycleTick();
    ASSERT_TRUE(page.preview().shiftActive());

    ProfileData solid = lightingProfile(0x0F, 1, 4);
    solid.lightColors = {0x00010203, 0, 0, 0x00040506};
    load(solid);
    EXPECT_FALSE(page.preview().shiftActive());
    EXPECT_FALSE(page.preview().colorCycleActive());
    EXPECT_EQ(page.preview().zone1Color(), 0xBE030201u); // level 4 lights at alpha 190
    EXPECT_EQ(page.preview().zone2Color(), 0xBE060504u);
}

TEST_F(LightingPageTest, PickedColourReachesTheEditsAndZones) {
    load(lightingProfile(0x0F, 1));
    page.setFocus();
    page.selector().SetColor(0x00FF00);
    EXPECT_TRUE(page.pickPending());
    settle();
    EXPECT_EQ(decimals(), "0,255,0");
    EXPECT_EQ(page.hexEdit().text(), "00FF00");
    EXPECT_EQ(page.currentColor(), 0x00FF00u);
    EXPECT_EQ(page.preview().zone1Color(), 0xFF00FF00u);
    EXPECT_EQ(saved().pickerColor, 0x00FF00);
}

TEST_F(LightingPageTest, EffectButtonsAndBrightnessDriveThePreview) {
    const std::pair<LightEffect, bool> effects[] = {{LightEffect::Blinking, true},
                                                    {LightEffect::Pulsating, true},
                                                    {LightEffect::Breathing, true},
                                                    {LightEffect::Solid, false}};
    for (const auto& [effect, animated] : effects) {
        click(page.effectButton(effect));
        EXPECT_EQ(page.effect(), effect);
        EXPECT_EQ(page.preview().effect(), static_cast<int>(effect));
        EXPECT_EQ(page.preview().effectTimerActive(), animated);
        EXPECT_EQ(saved().lightEffect, static_cast<int>(effect) + 1);
        for (LightEffect other :
             {LightEffect::Solid, LightEffect::Blinking, LightEffect::Pulsating, LightEffect::Breathing}) {
            EXPECT_EQ(page.effectButton(other).selected(), other == effect);
        }
    }
    page.brightnessSlider().SetValue(1, 2);
    EXPECT_EQ(page.preview().level(), 2);
    EXPECT_EQ(page.preview().zone1Color() >> 24, 60u);
    EXPECT_EQ(saved().lightBrightness, 2);
}

// Nothing ticks while nobody can see it: a hidden page, or a page idle after typing.
TEST_F(LightingPageTest, TimersRunOnlyWhileTheyChangeWhatIsSeen) {
    load(lightingProfile(0x19, 0x13));
    EXPECT_TRUE(page.preview().timersTicking());
    type(page.hexEdit(), "123456");
    EXPECT_FALSE(page.editSyncPending());
    EXPECT_FALSE(page.pickPending());

    page.hide();
    EXPECT_FALSE(page.preview().timersTicking());
    EXPECT_TRUE(page.preview().colorCycleActive()); // still runs once shown again
    load(lightingProfile(0x0F, 2));
    EXPECT_FALSE(page.preview().timersTicking());

    page.show();
    EXPECT_TRUE(page.preview().timersTicking());
    EXPECT_TRUE(page.preview().effectTimerActive());
    EXPECT_FALSE(page.preview().colorCycleActive());
}

} // namespace
} // namespace talwyn::pages
