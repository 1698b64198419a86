#pragma once
// Colour arithmetic of the colour pickers and the lighting page: HSV <-> RGB,
// the stored 32-bit colour value, its hexadecimal text, and gradient fills of
// bitmap pixel runs. Pure functions, no platform.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace talwyn::color {

// Colour value: red in bits 0-7, green 8-15, blue 16-23.
using ColorValue = uint32_t;
// Pixel of a 32-bit bitmap: blue in bits 0-7, green 8-15, red 16-23.
using Pixel = uint32_t;

inline constexpr int kStatusOk = 0;
inline constexpr int kStatusRejected = -1;

struct Rgb8 {
    int red = 0;
    int green = 0;
    int blue = 0;

    bool operator==(const Rgb8&) const = default;
};

// Hue in degrees 0..360 (360 is hue 0), saturation and value 0..1; unit
// red/green/blue out. Returns kStatusRejected and writes nothing when
// s > 1, v outside 0..1 or h outside 0..360. A negative saturation is
// accepted: callers turn it into black before asking.
int HsvToRgb(double h, double s, double v, double& red, double& green, double& blue);

// Unit red/green/blue in; hue in degrees, saturation and value out. Returns
// kStatusRejected and writes nothing when a component lies outside 0..1.
int RgbToHsv(double red, double green, double blue, double& hue, double& saturation, double& value);

// Each unit component becomes the byte ceil(x * 255 - 0.5), low 8 bits kept.
ColorValue UnitRgbToColor(double red, double green, double blue);

// Six upper-case hexadecimal digits, red first.
std::u16string ColorToHexText(ColorValue color);

// Up to two hexadecimal digits per component from the first six characters;
// components the scan does not reach are 0.
Rgb8 HexTextToRgb(std::u16string_view text);

// Linear gradient from colour value `from` to `to` over the whole run, in
// 12.20 fixed point; the last pixel may fall short of `to` by the truncated
// step. A one-pixel run holds `from`.
void FillLinearGradient(ColorValue from, ColorValue to, std::span<Pixel> out);

// Hue strip red, yellow, green, cyan, blue, magenta, red at saturation s and
// value v across the run.
void FillHueStrip(double s, double v, std::span<Pixel> out);

// Saturation 0 to (almost) 1 across the run at hue h and value v. A hue
// outside 0..360 fills nothing.
void FillSaturationRamp(double h, double v, std::span<Pixel> out);

// Value 0 to (almost) 1 across the run at hue h and saturation s. A hue
// outside 0..360 fills nothing.
void FillValueRamp(double h, double s, std::span<Pixel> out);

} // namespace talwyn::color
