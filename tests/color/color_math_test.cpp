#include "color/color_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace talwyn::color {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kUntouched = -7.0;

struct Unit3 {
    double a = kUntouched;
    double b = kUntouched;
    double c = kUntouched;
};

Pixel pixel(int red, int green, int blue) {
    return static_cast<Pixel>(red << 16 | green << 8 | blue);
}

TEST(HsvToRgb, SectorTablePicksVPQTPerChannel) {
    // Fraction 0.25 in each sector makes v, p, q and t four different values.
    struct Case {
        double hue;
        double red, green, blue;
    };
    const Case cases[] = {
        {15, 1, .25, 0},  {75, .75, 1, 0},  {135, 0, 1, .25},
        {195, 0, .75, 1}, {255, .25, 0, 1}, {315, 1, 0, .75},
    };
    for (const Case& c : cases) {
        Unit3 out;
        ASSERT_EQ(HsvToRgb(c.hue, 1.0, 1.0, out.a, out.b, out.c), kStatusOk) << c.hue;
        EXPECT_DOUBLE_EQ(out.a, c.red) << c.hue;
        EXPECT_DOUBLE_EQ(out.b, c.green) << c.hue;
        EXPECT_DOUBLE_EQ(out.c, c.blue) << c.hue;
    }
}

TEST(HsvToRgb, Hue360IsHue0AndZeroSaturationIsGrey) {
    Unit3 at0, at360;
    ASSERT_EQ(HsvToRgb(0, 0.6, 0.9, at0.a, at0.b, at0.c), kStatusOk);
    ASSERT_EQ(HsvToRgb(360, 0.6, 0.9, at360.a, at360.b, at360.c), kStatusOk);
    EXPECT_EQ(at0.a, at360.a);
    EXPECT_EQ(at0.b, at360.b);
    EXPECT_EQ(at0.c, at360.c);

    for (double hue : {0.0, 123.4, 359.9, 360.0}) {
        Unit3 grey;
        ASSERT_EQ(HsvToRgb(hue, 0.0, 0.3, grey.a, grey.b, grey.c), kStatusOk);
        EXPECT_EQ(grey.a, 0.3);
        EXPECT_EQ(grey.b, 0.3);
        EXPECT_EQ(grey.c, 0.3);
    }
}

TEST(HsvToRgb, RejectsOutOfRangeAndWritesNothing) {
    struct Case {
        double h, s, v;
    };
    const Case cases[] = {{360.0001, 1, 1}, {-0.0001, 1, 1}, {0, 1, 1.0001}, {0, 1, -0.1},
                          {0, 1.0001, 1},   {kNaN, 1, 1},    {0, kNaN, 1},   {0, 1, kNaN}};
    for (const Case& c : cases) {
        Unit3 out;
        EXPECT_EQ(HsvToRgb(c.h, c.s, c.v, out.a, out.b, out.c), kStatusRejected)
            << c.h << ' ' << c.s << ' ' << c.v;
        EXPECT_EQ(out.a, kUntouched);
        EXPECT_EQ(out.b, kUntouched);
        EXPECT_EQ(out.c, kUntouched);
    }
}

TEST(HsvToRgb, NegativeSaturationIsAcceptedUnchecked) {
    Unit3 out;
    ASSERT_EQ(HsvToRgb(0, -0.5, 0.5, out.a, out.b, out.c), kStatusOk);
    EXPECT_DOUBLE_EQ(out.a, 0.5);
    EXPECT_DOUBLE_EQ(out.c, 0.75) << "p = v * (1 - s)";
}

TEST(RgbToHsv, KnownColours) {
    struct Case {
        double r, g, b;
        double hue, sat, value;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0, 0},     {1, 1, 0, 60, 1, 1},   {0, 0, 1, 240, 1, 1},
        {1, 0, 1, 300, 1, 1},   {1, 0, 0, 0, 1, 1},    {0, 1, 0, 120, 1, 1},
        {.5, .5, .5, 0, 0, .5}, {0, .5, 1, 210, 1, 1}, {1, .5, .5, 0, .5, 1},
    };
    for (const Case& c : cases) {
        Unit3 out;
        ASSERT_EQ(RgbToHsv(c.r, c.g, c.b, out.a, out.b, out.c), kStatusOk);
        EXPECT_DOUBLE_EQ(out.a, c.hue) << c.r << ' ' << c.g << ' ' << c.b;
        EXPECT_DOUBLE_EQ(out.b, c.sat) << c.r << ' ' << c.g << ' ' << c.b;
        EXPECT_DOUBLE_EQ(out.c, c.value) << c.r << ' ' << c.g << ' ' << c.b;
    }
}

TEST(RgbToHsv, RejectsOutOfRangeAndWritesNothing) {
    struct Case {
        double r, g, b;
    };
    for (const Case& c : {Case{-0.1, 0, 0}, Case{0, 1.1, 0}, Case{0, 0, kNaN}, Case{kNaN, 0.5, 0.5}}) {
        Unit3 out;
        EXPECT_EQ(RgbToHsv(c.r, c.g, c.b, out.a, out.b, out.c), kStatusRejected);
        EXPECT_EQ(out.a, kUntouched);
        EXPECT_EQ(out.b, kUntouched);
        EXPECT_EQ(out.c, kUntouched);
    }
}

TEST(UnitRgbToColor, RoundsHalvesDownAndPacksRedLow) {
    EXPECT_EQ(UnitRgbToColor(1, 0.5, 0), 0x00007FFFu);
    EXPECT_EQ(UnitRgbToColor(0, 0, 1), 0x00FF0000u);
    EXPECT_EQ(UnitRgbToColor(0, 0, 0), 0u);
    EXPECT_EQ(UnitRgbToColor(0.502, 0.2, 1.0), 0x00FF3380u) << "128.01 -> 128, 51 -> 51";
    EXPECT_EQ(UnitRgbToColor(1e300, kNaN, 0), 0u) << "out-of-range conversions yield 0, never undefined";
}

TEST(ColorToHexText, RedFirstUpperCase) {
    EXPECT_EQ(ColorToHexText(0x000000FF), u"FF0000");
    EXPECT_EQ(ColorToHexText(0), u"000000");
    EXPECT_EQ(ColorToHexText(0x000080FF), u"FF8000");
    EXPECT_EQ(ColorToHexText(0xAB0C0D0E), u"0E0D0C") << "bits 24-31 are not part of the colour";
}

TEST(HexTextToRgb, ScansTwoDigitsPerComponentFromFirstSix) {
    struct Case {
        std::u16string text;
        Rgb8 expected;
    };
    const Case cases[] = {
        {u"FF8000", {255, 128, 0}}, {u"ff8000", {255, 128, 0}},         {u"1234567", {0x12, 0x34, 0x56}},
        {u"FF", {255, 0, 0}},       {u"ABC", {0xAB, 0x0C, 0}},          {u"", {0, 0, 0}},
        {u"zz", {0, 0, 0}},         {u"12zz56", {0x12, 0, 0}},          {u" F F", {0x0F, 0x0F, 0}},
        {u"\u00e9FF", {0, 0, 0}},   {u"FFFFF\u0663", {255, 255, 0x0F}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HexTextToRgb(c.text), c.expected) << std::string(c.text.begin(), c.text.end());
}

TEST(FillLinearGradient, BlackToWhiteSteps) {
    std::vector<Pixel> run(256);
    FillLinearGradient(0x000000, 0xFFFFFF, run);
    for (int k = 0; k < 256; ++k)
        ASSERT_EQ(run[k], pixel(k, k, k)) << k;

    std::vector<Pixel> three(3);
    FillLinearGradient(0x000000, 0xFFFFFF, three);
    EXPECT_EQ(three, (std::vector<Pixel>{pixel(0, 0, 0), pixel(127, 127, 127), pixel(255, 255, 255)}));
}

TEST(FillLinearGradient, SwapsRedAndBlueAndFallsShortByTruncation) {
    std::vector<Pixel> run(4);
    // Red 255 -> blue 200: blue steps (200 << 20) / 3, red steps -(255 << 20) / 3.
    FillLinearGradient(0x0000FF, 0xC80000, run);
    EXPECT_EQ(run,
              (std::vector<Pixel>{pixel(255, 0, 0), pixel(170, 0, 66), pixel(85, 0, 133), pixel(0, 0, 199)}));
}

TEST(FillLinearGradient, ShortRunsDoNotDivideByZero) {
    std::vector<Pixel> one(1, 0xDEAD);
    FillLinearGradient(0x123456, 0xFFFFFF, one);
    EXPECT_EQ(one[0], pixel(0x56, 0x34, 0x12));
    FillLinearGradient(0x123456, 0xFFFFFF, std::span<Pixel>{});
}

TEST(FillHueStrip, SegmentsOf143PixelsAndPureRedEnd) {
    std::vector<Pixel> run(143);
    FillHueStrip(1.0, 1.0, run);
    // The first, second and last pixel of each segment pin the lengths 23, 24,
    // 24, 24, 24, 24: a 23-pixel ramp steps trunc((255 << 20) / 22), a
    // 24-pixel one trunc((255 << 20) / 23), so the second pixel shows 11 or
    // 243 and the last one stops at 254 or 0.
    struct Sample {
        size_t index;
        Pixel colour;
    };
    const Sample samples[] = {
        {0, pixel(255, 0, 0)},     {1, pixel(255, 11, 0)},    {22, pixel(255, 254, 0)},
        {23, pixel(255, 255, 0)},  {24, pixel(243, 255, 0)},  {46, pixel(0, 255, 0)},
        {47, pixel(0, 255, 0)},    {48, pixel(0, 255, 11)},   {70, pixel(0, 255, 254)},
        {71, pixel(0, 255, 255)},  {72, pixel(0, 243, 255)},  {94, pixel(0, 0, 255)},
        {95, pixel(0, 0, 255)},    {96, pixel(11, 0, 255)},   {118, pixel(254, 0, 255)},
        {119, pixel(255, 0, 255)}, {120, pixel(255, 0, 243)}, {142, pixel(255, 0, 0)},
    };
    for (const Sample& s : samples)
        EXPECT_EQ(run[s.index], s.colour) << s.index;
}

TEST(FillHueStrip, SaturationAndValueSetLowAndHigh) {
    std::vector<Pixel> run(300);
    FillHueStrip(0.5, 0.5, run);
    // hi = 127 << 20, lo = trunc(hi * 0.5) = 63.5 << 20.
    EXPECT_EQ(run[0], pixel(127, 63, 63));
    EXPECT_EQ(run[100], pixel(63, 127, 63));
    EXPECT_EQ(run[200], pixel(63, 63, 127));
}

TEST(FillHueStrip, ShortRunsFillEveryPixelWithoutDividingByZero) {
    std::vector<Pixel> six(6);
    FillHueStrip(1.0, 1.0, six);
    EXPECT_EQ(six, (std::vector<Pixel>{pixel(255, 0, 0), pixel(255, 255, 0), pixel(0, 255, 0),
                                       pixel(0, 255, 255), pixel(0, 0, 255), pixel(255, 0, 255)}));
    for (size_t n : {0u, 1u, 5u, 11u}) {
        std::vector<Pixel> run(n, 0xDEADBEEF);
        FillHueStrip(1.0, 1.0, run);
        for (Pixel p : run)
            EXPECT_NE(p, 0xDEADBEEFu) << n;
    }
}

TEST(FillSaturationRamp, StepsFromGreyTowardFullSaturation) {
    std::vector<Pixel> run(4);
    // Hue 150: sector 2 (p, v, t), fraction 0.5.
    FillSaturationRamp(150, 1.0, run);
    EXPECT_EQ(run, (std::vector<Pixel>{pixel(255, 255, 255), pixel(191, 255, 223), pixel(127, 255, 191),
                                       pixel(63, 255, 159)}));

    std::vector<Pixel> at0(4), at360(4);
    FillSaturationRamp(0, 0.7, at0);
    FillSaturationRamp(360, 0.7, at360);
    EXPECT_EQ(at0, at360);
}

TEST(FillValueRamp, StepsFromBlackAndStaysBelowFull) {
    std::vector<Pixel> red(4);
    FillValueRamp(0, 1.0, red);
    EXPECT_EQ(red, (std::vector<Pixel>{pixel(0, 0, 0), pixel(63, 0, 0), pixel(127, 0, 0), pixel(191, 0, 0)}));

    std::vector<Pixel> two(2);
    // Hue 90: sector 1 (q, v, p), fraction 0.5, saturation 0.5.
    FillValueRamp(90, 0.5, two);
    EXPECT_EQ(two[1], pixel(95, 127, 63));
}

TEST(GradientRamps, HueOutsideRangeOrEmptyRunFillsNothing) {
    for (double hue : {-1.0, 360.5, kNaN}) {
        std::vector<Pixel> run(8, 0xDEADBEEF);
        FillSaturationRamp(hue, 1.0, run);
        FillValueRamp(hue, 1.0, run);
        EXPECT_EQ(run, std::vector<Pixel>(8, 0xDEADBEEF)) << hue;
    }
    FillSaturationRamp(10, 1.0, std::span<Pixel>{});
    FillValueRamp(10, 1.0, std::span<Pixel>{});
}

} // namespace
} // namespace talwyn::color
