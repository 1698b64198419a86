#pragma once
// Arithmetic of the value controls, free of any window: thumb placement,
// pointer-to-value conversion with step snapping, scroll-bar layout and
// positions, and the piece of a bar that is filled. Rectangles are
// (left, top, right, bottom) with exclusive right and bottom edges.

#include <cstdint>
#include <optional>

namespace talwyn::controls {

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    constexpr bool operator==(const Box&) const = default;
};

struct Extent {
    int width = 0;
    int height = 0;
};

struct ValueRange {
    int32_t minimum = 0;
    int32_t maximum = 100;
};

// (value - minimum) / (maximum - minimum); 0 for an empty range instead of a
// division by zero.
double rangeFraction(int32_t value, ValueRange range);

// Rounds half up: a fractional part of 0.5 or more goes up.
int32_t roundHalfUp(double value);

// Snaps to a multiple of `step`: up when the remainder is above step / 2
// (integer division), else down. A snap past the maximum falls back one step;
// steps below 1 leave the value as it is.
int32_t snapToStep(int32_t value, int32_t step, ValueRange range);

// Where the pointer puts the value of a control whose thumb is `thumbLength`
// long: (pointer - thumbLength / 2 - start) * span / (length - thumbLength)
// + minimum, rounded half up and clamped. A track no longer than the thumb
// gives the minimum.
int32_t valueFromPointer(int pointer, int start, int length, int thumbLength, ValueRange range);

// The rectangle of thumb k of the horizontal multi-thumb slider: centred on the
// travel of thumb 1, vertically centred on thumb 3, then kept inside the client.
Box sliderThumbRect(const Box& client, int32_t value, ValueRange range, Extent thumb1, Extent thumbK,
                    Extent thumb3);

// The thumb of the vertical slider: drawn at its own size on the client's left edge.
Box verticalThumbRect(const Box& client, int32_t value, ValueRange range, Extent thumb);

// Keeps a picked colour unless the pixel is near-white: a pixel replaces it
// when any of red, green, blue is below 202.
bool isPickableColor(int red, int green, int blue);

// The scroll bar's parts.
struct ScrollLayout {
    bool horizontal = false;
    Box first;
    Box second;
    Box track;
    Box thumb;

    int trackStart() const { return horizontal ? track.left : track.top; }
    int trackLength() const { return horizontal ? track.width() : track.height(); }
    int thumbLength() const { return horizontal ? thumb.width() : thumb.height(); }
};

// Horizontal when the client is wider than high. The end buttons take the
// length of their images along the bar and the full breadth; the thumb starts
// at the track's start.
ScrollLayout layoutScroll(Extent client, Extent firstButton, Extent secondButton, Extent thumb);

// Moves the thumb along the track for `position` (already clamped).
void placeScrollThumb(ScrollLayout& layout, int32_t position, ValueRange range);

enum class ScrollPart : int { None = 0, FirstButton = 1, Thumb = 2, SecondButton = 3 };
ScrollPart scrollPartAt(const ScrollLayout& layout, int x, int y);

// The piece of the fill image a bar shows, and where it goes.
struct BarFill {
    Box source; // in the fill image
    Box target; // in the client
};

// Horizontal bars fill from the left; vertical bars take the top rows of the
// fill image and grow upward from the bottom.
BarFill progressFill(Extent client, int32_t position, ValueRange range, bool vertical);

} // namespace talwyn::controls
