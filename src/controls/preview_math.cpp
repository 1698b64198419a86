#include "controls/preview_math.h"

#include <algorithm>
#include <array>

namespace talwyn::controls {

int clampLevel(int level) {
    return std::clamp(level, 1, 5);
}

int levelAlpha(int level) {
    static constexpr std::array<int, 5> kAlpha = {0, 60, 130, 190, 255};
    return kAlpha[static_cast<size_t>(clampLevel(level) - 1)];
}

std::optional<std::chrono::milliseconds> effectInterval(int effect) {
    switch (static_cast<LightEffect>(effect)) {
    case LightEffect::Blinking:
        return std::chrono::milliseconds(1000);
    case LightEffect::Pulsating:
    case LightEffect::Breathing:
        return std::chrono::milliseconds(100);
    case LightEffect::Solid:
        break;
    }
    return std::nullopt;
}

EffectTick effectTick(PreviewCounters& c, int effect, int alpha) {
    if (!c.started) {
        c.started = true;
        c.counter = alpha;
    }
    switch (static_cast<LightEffect>(effect)) {
    case LightEffect::Solid:
        return {alpha, true};
    case LightEffect::Blinking: {
        const int shown = c.counter % 2 != 0 ? alpha : 0;
        ++c.counter;
        return {shown, false};
    }
    case LightEffect::Pulsating: {
        ++c.counter;
        const int k = c.counter % 15;
        return {k == 0 || k == 3 ? 0 : alpha, false};
    }
    case LightEffect::Breathing:
        c.counter += c.breathingUp ? 5 : -5;
        if (c.counter >= alpha) {
            c.counter = alpha;
            c.breathingUp = false;
            return {alpha, false};
        }
        if (c.counter <= 0) {
            c.counter = 0;
            c.breathingUp = true;
            return {0, false};
        }
        return {c.counter, false};
    }
    return {};
}

namespace {
void stepChannel(int& value, bool& up, int step) {
    if (value >= 255) {
        up = false;
    } else if (value <= 0) {
        up = true;
    }
    value = std::clamp(value + (up ? step : -step), 0, 255);
}
} // namespace

Rgb colorCycleTick(PreviewCounters& c) {
    stepChannel(c.red, c.redUp, 15);
    stepChannel(c.green, c.greenUp, 10);
    stepChannel(c.blue, c.blueUp, 5);
    return {c.red, c.green, c.blue};
}

uint32_t snapFieldColor(int r, int g, int b) {
    if (r >= 251 && g >= 253 && b >= 253) {
        return 0xFFFFFF;
    }
    if (r >= 252 && g <= 8 && b <= 40) {
        return 0x0000FF;
    }
    if (r <= 5 && g <= 5 && b <= 5) {
        return 0;
    }
    if (r <= 38 && g <= 6 && b > 252) {
        return 0xFF0000;
    }
    if (r <= 27 && g > 252 && b <= 35) {
        return 0x00FF00;
    }
    return static_cast<uint32_t>(r) | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b) << 16;
}

Point markerOrigin(Point point, const Box& client) {
    const auto place = [](int v, int low, int high) {
        if (v - 4 < low) {
            return low;
        }
        if (v + 5 > high) {
            return high - 9;
        }
        return v - 4;
    };
    return {place(point.x, client.left, client.right), place(point.y, client.top, client.bottom)};
}

Rgb colorFieldPixel(int x, int y, int width, int height, uint32_t base) {
    if (width <= 0 || height <= 0) {
        return {};
    }
    const double u = static_cast<double>(x) / width;
    const double v = static_cast<double>(y) / height;
    const int br = static_cast<int>(base & 0xFF);
    const int bg = static_cast<int>((base >> 8) & 0xFF);
    const int bb = static_cast<int>((base >> 16) & 0xFF);
    // Two shaded triangles split along the top-right to bottom-left diagonal.
    double white = 0;
    double baseWeight = 0;
    if (u + v <= 1.0) {
        white = 1.0 - u - v;
        baseWeight = u;
    } else {
        baseWeight = 1.0 - v;
    }
    const auto mix = [&](int channel) { return static_cast<int>(255.0 * white + channel * baseWeight); };
    return {std::clamp(mix(br), 0, 255), std::clamp(mix(bg), 0, 255), std::clamp(mix(bb), 0, 255)};
}

} // namespace talwyn::controls
