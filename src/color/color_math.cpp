#include "color/color_math.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <optional>

namespace talwyn::color {
namespace {

// Channels of the gradients are carried as channel * 2^20 (12.20 fixed point).
constexpr int kFractionBits = 20;
constexpr int32_t kFullChannel = 255 << kFractionBits;

// Which of the HSV intermediates v, p, q, t feeds red, green and blue in each
// 60-degree hue sector.
enum class Role { V, P, Q, T };
constexpr std::array<std::array<Role, 3>, 6> kSectorRoles{{
    {Role::V, Role::T, Role::P},
    {Role::Q, Role::V, Role::P},
    {Role::P, Role::V, Role::T},
    {Role::P, Role::Q, Role::V},
    {Role::T, Role::P, Role::V},
    {Role::V, Role::P, Role::Q},
}};

struct HueSector {
    int index = 0;
    double fraction = 0.0;
};

// Hue in degrees to sector and fraction; 360 is hue 0. Anything outside
// 0..360 (NaN included) has no sector.
std::optional<HueSector> splitHue(double h) {
    if (!(h >= 0.0 && h <= 360.0))
        return std::nullopt;
    const double sixths = (h == 360.0 ? 0.0 : h) / 60.0;
    const int index = static_cast<int>(sixths);
    // A hue a hair below 360 can round up to the seventh sector: it is red.
    if (index > 5)
        return HueSector{};
    return HueSector{index, sixths - index};
}

template <typename T> T pick(Role role, T v, T p, T q, T t) {
    switch (role) {
    case Role::V:
        return v;
    case Role::P:
        return p;
    case Role::Q:
        return q;
    case Role::T:
        return t;
    }
    return v;
}

// Fill arguments outside 0..1 would overflow the fixed-point channels.
double clampUnit(double x) {
    return x >= 0.0 ? std::min(x, 1.0) : 0.0;
}

int32_t runLength(std::span<Pixel> out) {
    return static_cast<int32_t>(std::min<size_t>(out.size(), INT32_MAX));
}

using Channels = std::array<int32_t, 3>; // red, green, blue

// The per-pixel loop of every fill: integer adds and shifts only.
void fillRamp(Channels acc, const Channels& step, std::span<Pixel> out) {
    for (Pixel& pixel : out) {
        pixel =
            static_cast<Pixel>(((acc[0] >> kFractionBits) & 0xFF) << 16 |
                               ((acc[1] >> kFractionBits) & 0xFF) << 8 | ((acc[2] >> kFractionBits) & 0xFF));
        acc[0] += step[0];
        acc[1] += step[1];
        acc[2] += step[2];
    }
}

int32_t perPixel(int32_t total, int32_t steps) {
    return steps > 0 ? total / steps : 0;
}

int unitToByte(double x) {
    const double rounded = std::ceil(x * 255.0 - 0.5);
    // Out of the int range the conversion yields INT_MIN, whose low byte is 0.
    if (!(rounded >= INT32_MIN && rounded <= INT32_MAX))
        return 0;
    return static_cast<int32_t>(rounded) & 0xFF;
}

bool isScanSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

} // namespace

int HsvToRgb(double h, double s, double v, double& red, double& green, double& blue) {
    const std::optional<HueSector> sector = splitHue(h);
    if (!(s <= 1.0) || !(v >= 0.0 && v <= 1.0) || !sector)
        return kStatusRejected;
    if (s == 0.0) {
        red = green = blue = v;
        return kStatusOk;
    }
    const double f = sector->fraction;
    const double p = v * (1.0 - s);
    const double q = v * (1.0 - s * f);
    const double t = v * (1.0 - s * (1.0 - f));
    const auto& roles = kSectorRoles[sector->index];
    red = pick(roles[0], v, p, q, t);
    green = pick(roles[1], v, p, q, t);
    blue = pick(roles[2], v, p, q, t);
    return kStatusOk;
}

int RgbToHsv(double red, double green, double blue, double& hue, double& saturation, double& value) {
    const auto inRange = [](double x) { return x >= 0.0 && x <= 1.0; };
    if (!inRange(red) || !inRange(green) || !inRange(blue))
        return kStatusRejected;
    const double max = std::max({red, green, blue});
    const double min = std::min({red, green, blue});
    value = max;
    if (!(max > 0.0)) {
        saturation = 0.0;
        hue = 0.0;
        return kStatusOk;
    }
    const double delta = max - min;
    saturation = delta / max;
    if (saturation == 0.0) {
        hue = 0.0;
        return kStatusOk;
    }
    if (red == max)
        hue = (green - blue) / delta;
    else if (green == max)
        hue = 2.0 + (blue - red) / delta;
    else
        hue = 4.0 + (red - green) / delta;
    hue *= 60.0;
    if (hue < 0.0)
        hue += 360.0;
    return kStatusOk;
}

ColorValue UnitRgbToColor(double red, double green, double blue) {
    return static_cast<ColorValue>(unitToByte(red) | unitToByte(green) << 8 | unitToByte(blue) << 16);
}

std::u16string ColorToHexText(ColorValue color) {
    constexpr std::u16string_view kDigits = u"0123456789ABCDEF";
    std::u16string text;
    for (int shift : {0, 8, 16}) {
        const unsigned byte = (color >> shift) & 0xFF;
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0xF];
    }
    return text;
}

Rgb8 HexTextToRgb(std::u16string_view text) {
    text = text.substr(0, 6);
    std::array<int, 3> components{};
    size_t pos = 0;
    for (int& component : components) {
        // Like a "%02X" scan: white space is skipped, then up to two digits;
        // the first component without a digit ends the scan.
        while (pos < text.size() && isScanSpace(text[pos]))
            ++pos;
        int digits = 0;
        for (; digits < 2 && pos < text.size() && hexDigit(text[pos]) >= 0; ++digits, ++pos)
            component = component * 16 + hexDigit(text[pos]);
        if (digits == 0)
            break;
    }
    return {components[0], components[1], components[2]};
}

void FillLinearGradient(ColorValue from, ColorValue to, std::span<Pixel> out) {
    const int32_t n = runLength(out);
    Channels start{};
    Channels step{};
    for (int c = 0; c < 3; ++c) {
        const int shift = 8 * c;
        start[c] = static_cast<int32_t>((from >> shift) & 0xFF) << kFractionBits;
        const int32_t end = static_cast<int32_t>((to >> shift) & 0xFF) << kFractionBits;
        step[c] = perPixel(end - start[c], n - 1);
    }
    fillRamp(start, step, out.first(n));
}

void FillHueStrip(double s, double v, std::span<Pixel> out) {
    const int32_t n = runLength(out);
    const int32_t hi = static_cast<int32_t>(255.0 * clampUnit(v)) << kFractionBits;
    const int32_t lo = static_cast<int32_t>(hi * (1.0 - clampUnit(s)));

    // Per segment and channel: constant high, constant low, rising or falling.
    enum class Ramp { Hi, Lo, Up, Down };
    constexpr std::array<std::array<Ramp, 3>, 6> kSegments{{
        {Ramp::Hi, Ramp::Up, Ramp::Lo},
        {Ramp::Down, Ramp::Hi, Ramp::Lo},
        {Ramp::Lo, Ramp::Hi, Ramp::Up},
        {Ramp::Lo, Ramp::Down, Ramp::Hi},
        {Ramp::Up, Ramp::Lo, Ramp::Hi},
        {Ramp::Hi, Ramp::Lo, Ramp::Down},
    }};

    const double d = n / 6.0;
    int32_t begin = 0;
    for (int k = 1; k <= 6; ++k) {
        // The last boundary is nudged so floating-point error cannot leave the
        // final pixel unfilled.
        const int32_t end = static_cast<int32_t>(k == 6 ? 6 * d + 0.1 : k * d);
        const int32_t m = end - begin;
        Channels start{};
        Channels step{};
        for (int c = 0; c < 3; ++c) {
            switch (kSegments[k - 1][c]) {
            case Ramp::Hi:
                start[c] = hi;
                break;
            case Ramp::Lo:
                start[c] = lo;
                break;
            case Ramp::Up:
                start[c] = lo;
                step[c] = perPixel(hi - lo, m - 1);
                break;
            case Ramp::Down:
                start[c] = hi;
                step[c] = perPixel(lo - hi, m - 1);
                break;
            }
        }
        fillRamp(start, step, out.subspan(begin, m));
        begin = end;
    }
}

void FillSaturationRamp(double h, double v, std::span<Pixel> out) {
    const std::optional<HueSector> sector = splitHue(h);
    const int32_t n = runLength(out);
    if (!sector || n == 0)
        return;
    const int32_t hi = static_cast<int32_t>(255.0 * clampUnit(v)) << kFractionBits;
    const double f = sector->fraction;
    const int32_t pStep = -(hi / n);
    const int32_t qStep = static_cast<int32_t>((1.0 - f) * hi - hi) / n;
    const int32_t tStep = static_cast<int32_t>(f * hi - hi) / n;
    const auto& roles = kSectorRoles[sector->index];
    Channels step{};
    for (int c = 0; c < 3; ++c)
        step[c] = pick<int32_t>(roles[c], 0, pStep, qStep, tStep);
    fillRamp({hi, hi, hi}, step, out.first(n));
}

void FillValueRamp(double h, double s, std::span<Pixel> out) {
    const std::optional<HueSector> sector = splitHue(h);
    const int32_t n = runLength(out);
    if (!sector || n == 0)
        return;
    const double sat = clampUnit(s);
    const double f = sector->fraction;
    const double full = kFullChannel;
    const int32_t vStep = kFullChannel / n;
    const int32_t qStep = static_cast<int32_t>((1.0 - sat * f) * full) / n;
    const int32_t tStep = static_cast<int32_t>((1.0 - sat * (1.0 - f)) * full) / n;
    const int32_t pStep = static_cast<int32_t>((1.0 - sat) * full) / n;
    const auto& roles = kSectorRoles[sector->index];
    Channels step{};
    for (int c = 0; c < 3; ++c)
        step[c] = pick(roles[c], vStep, pStep, qStep, tStep);
    fillRamp({0, 0, 0}, step, out.first(n));
}

} // namespace talwyn::color
