#pragma once
// The 3-D frames and the triangular arrow marks of the colour picker windows.

#include "controls/value_math.h"

#include <QColor>
#include <QPainter>
#include <QPoint>

namespace talwyn::controls {

class HxDrawHelper {
public:
    static constexpr int kSunken = 0x2;     // shadow on top and left, highlight on bottom and right
    static constexpr int kInnerBlack = 0x4; // a black rectangle just inside the frame

    enum class ArrowDirection : int {
        Left = 1,
        Up = 2,
        Right = 3,
        Down = 4,
        // Right-angled, legs running from the tip toward the named sides.
        PlusXPlusY = 5,
        PlusXMinusY = 6,
        MinusXPlusY = 7,
        MinusXMinusY = 8,
    };

    // `box` has exclusive right and bottom edges, as every rectangle here.
    void DrawFrame(QPainter& painter, const Box& box, int flags) const;
    void DrawFrame(QPainter& painter, int left, int top, int right, int bottom, int flags) const;
    // A filled triangle of legs size - 1 with one corner at `tip`, outlined in `pen`.
    void DrawArrow(QPainter& painter, QPoint tip, ArrowDirection direction, int size, QColor pen,
                   QColor fill) const;
};

} // namespace talwyn::controls
