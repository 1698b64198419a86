#pragma once
// Plain rectangles shared by the windows that place controls and by the
// generator that draws them, so neither needs a GUI library to agree.

namespace talwyn::ui_layout {

struct Size {
    int width = 0;
    int height = 0;

    constexpr bool operator==(const Size&) const = default;
};

// x, y, width, height as the window tables give them; right() and bottom()
// are exclusive, matching the (left, top, right, bottom) of a cut request.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    constexpr int left() const { return x; }
    constexpr int top() const { return y; }
    constexpr int right() const { return x + width; }
    constexpr int bottom() const { return y + height; }
    constexpr Size size() const { return {width, height}; }
    constexpr bool isEmpty() const { return width <= 0 || height <= 0; }
    constexpr bool liesInside(Size area) const {
        return !isEmpty() && x >= 0 && y >= 0 && right() <= area.width && bottom() <= area.height;
    }
    constexpr bool operator==(const Rect&) const = default;
};

} // namespace talwyn::ui_layout
