#pragma once
// The lighting preview's effect ticks and colour cycle, and the colour field's
// picking rules, free of any window.

#include "controls/value_math.h"

#include <chrono>
#include <cstdint>
#include <optional>

namespace talwyn::controls {

// Counters every preview shares for the whole run of the program: the effect
// counter, the breathing direction and the colour-cycle channels.
struct PreviewCounters {
    bool started = false;
    int32_t counter = 0;
    bool breathingUp = true;
    int red = 255;
    int green = 125;
    int blue = 0;
    bool redUp = false;
    bool greenUp = true;
    bool blueUp = true;
};

enum class LightEffect : int { Solid = 0, Blinking = 1, Pulsating = 2, Breathing = 3 };

// 1 -> 0, 2 -> 60, 3 -> 130, 4 -> 190, 5 -> 255 (levels are first clamped).
int levelAlpha(int level);
// Above 5 becomes 5, 0 becomes 1.
int clampLevel(int level);
// Blinking ticks every second, pulsating and breathing every 100 ms, solid never.
std::optional<std::chrono::milliseconds> effectInterval(int effect);

struct EffectTick {
    std::optional<int> alpha; // the zones' new alpha, if it changes
    bool stopTimer = false;
};

// One tick of the effect timer with `alpha` the alpha of the current level.
EffectTick effectTick(PreviewCounters& counters, int effect, int alpha);

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};

// One step of the colour cycle: each channel turns at 0 and 255, red moves by
// 15, green by 10, blue by 5, clamped to 0..255.
Rgb colorCycleTick(PreviewCounters& counters);

// The colour field's snapping of a picked pixel to pure white, red, black,
// blue or green near those corners; the result has red in bits 0-7.
uint32_t snapFieldColor(int red, int green, int blue);

// Where the 8 x 8 marker outline for the point goes: 4 pixels up-left of it,
// kept inside the client.
struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};
Point markerOrigin(Point point, const Box& client);

// The field's colour at pixel (x, y) of a w x h field: white at the top-left,
// `base` (red in bits 0-7) at the top-right, black along the bottom.
Rgb colorFieldPixel(int x, int y, int width, int height, uint32_t base);

} // namespace talwyn::controls
