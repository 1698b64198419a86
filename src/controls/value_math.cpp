#include "controls/value_math.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace talwyn::controls {

double rangeFraction(int32_t value, ValueRange range) {
    const double span = static_cast<double>(range.maximum) - range.minimum;
    if (span == 0) {
        return 0;
    }
    return (static_cast<double>(value) - range.minimum) / span;
}

int32_t roundHalfUp(double value) {
    const double rounded = std::floor(value + 0.5);
    constexpr double lo = std::numeric_limits<int32_t>::min();
    constexpr double hi = std::numeric_limits<int32_t>::max();
    if (!(rounded >= lo)) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(std::min(rounded, hi));
}

int32_t snapToStep(int32_t value, int32_t step, ValueRange range) {
    if (step < 1) {
        return value;
    }
    const int64_t remainder = value % step;
    int64_t snapped = remainder > step / 2 ? int64_t{value} - remainder + step : int64_t{value} - remainder;
    if (snapped > range.maximum) {
        snapped -= step;
    }
    return static_cast<int32_t>(snapped);
}

int32_t valueFromPointer(int pointer, int start, int length, int thumbLength, ValueRange range) {
    const int travel = length - thumbLength;
    if (travel <= 0) {
        return range.minimum;
    }
    const double span = static_cast<double>(range.maximum) - range.minimum;
    const double raw = static_cast<double>(pointer - thumbLength / 2 - start) * span / travel + range.minimum;
    return std::clamp(roundHalfUp(raw), range.minimum, std::max(range.minimum, range.maximum));
}

Box sliderThumbRect(const Box& client, int32_t value, ValueRange range, Extent thumb1, Extent thumbK,
                    Extent thumb3) {
    const int travel = client.width() - thumb1.width;
    const int centreX =
        client.left + static_cast<int>(rangeFraction(value, range) * travel) + thumb1.width / 2;
    Box box{centreX - thumbK.width / 2, 0, centreX + thumbK.width / 2, 0};
    box.top = client.top + (thumb3.height - thumbK.height) / 2;
    box.bottom = box.top + thumbK.height;
    if (box.left < 0) {
        box.right -= box.left;
        box.left = 0;
    }
    if (box.right > client.right) {
        box.left -= box.right - client.right;
        box.right = client.right;
    }
    return box;
}

Box verticalThumbRect(const Box& client, int32_t value, ValueRange range, Extent thumb) {
    const int travel = client.height() - thumb.height;
    const int centreY =
        client.top + static_cast<int>(travel * rangeFraction(value, range)) + thumb.height / 2;
    const int top = centreY - thumb.height / 2;
    return {client.left, top, client.left + thumb.width, top + thumb.height};
}

bool isPickableColor(int red, int green, int blue) {
    return red < 202 || green < 202 || blue < 202;
}

ScrollLayout layoutScroll(Extent client, Extent firstButton, Extent secondButton, Extent thumb) {
    ScrollLayout layout;
    layout.horizontal = client.height < client.width;
    if (layout.horizontal) {
        layout.first = {0, 0, firstButton.width, client.height};
        layout.second = {client.width - secondButton.width, 0, client.width, client.height};
        layout.track = {layout.first.right, 0, layout.second.left, client.height};
        layout.thumb = {layout.track.left, 0, layout.track.left + thumb.width, client.height};
    } else {
        layout.first = {0, 0, client.width, firstButton.height};
        layout.second = {0, client.height - secondButton.height, client.width, client.height};
        layout.track = {0, layout.first.bottom, client.width, layout.second.top};
        layout.thumb = {0, layout.track.top, client.width, layout.track.top + thumb.height};
    }
    return layout;
}

void placeScrollThumb(ScrollLayout& layout, int32_t position, ValueRange range) {
    int start = layout.trackStart();
    if (range.maximum != range.minimum) {
        const int free = layout.trackLength() - layout.thumbLength();
        // Multiplied before dividing, so exact quotients stay exact.
        start +=
            static_cast<int>(static_cast<double>(free) * (static_cast<double>(position) - range.minimum) /
                             (static_cast<double>(range.maximum) - range.minimum));
    }
    const int length = layout.thumbLength();
    if (layout.horizontal) {
        layout.thumb.left = start;
        layout.thumb.right = start + length;
    } else {
        layout.thumb.top = start;
        layout.thumb.bottom = start + length;
    }
}

ScrollPart scrollPartAt(const ScrollLayout& layout, int x, int y) {
    if (layout.first.contains(x, y)) {
        return ScrollPart::FirstButton;
    }
    if (layout.second.contains(x, y)) {
        return ScrollPart::SecondButton;
    }
    if (layout.thumb.contains(x, y)) {
        return ScrollPart::Thumb;
    }
    return ScrollPart::None;
}

BarFill progressFill(Extent client, int32_t position, ValueRange range, bool vertical) {
    // A position outside the range fills nothing or everything, never more.
    const double fraction = std::clamp(rangeFraction(position, range), 0.0, 1.0);
    if (vertical) {
        const int fill = static_cast<int>(client.height * fraction);
        return {{0, 0, client.width, fill}, {0, client.height - fill, client.width, client.height}};
    }
    const int fill = static_cast<int>(client.width * fraction);
    return {{0, 0, fill, client.height}, {0, 0, fill, client.height}};
}

} // namespace talwyn::controls
