#pragma once
// Drawing helpers shared by every skinned control: colours given as ARGB
// numbers, the Arial fonts at cell heights, smooth image stretching and the
// text placement rule of the labels.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include "controls/value_math.h"

#include <cstdint>

namespace talwyn::controls {

using Argb = uint32_t;

// An ARGB number (0xAARRGGBB) as a drawing colour.
inline QColor argbColor(Argb argb) {
    return QColor::fromRgba(argb);
}

inline QRect toQRect(const Box& box) {
    return {box.left, box.top, box.width(), box.height()};
}

// Arial (Liberation Sans answers for it) whose cell height, ascent plus
// descent, is `height` pixels, the way window fonts are sized by height.
QFont arialFont(int height, int weight = 400);

// Stretches `image` over `target` with smooth transformation; a null image
// draws nothing.
void drawStretched(QPainter& painter, const QRect& target, const QImage& image);

// Where a label of `textSize` lands in `rect`: the rectangle's top-left corner,
// moved by half the free extent along each centred axis (integer halves, so a
// text wider than the rectangle moves left of it).
QPoint labelOrigin(const QRect& rect, QSize textSize, bool centreX, bool centreY);

// Draws `text` with a transparent background in `colour` and `font` at the
// label origin, without clipping to the rectangle.
void DrawLabel(const QString& text, QColor colour, bool centreX, bool centreY, const QRect& rect,
               const QFont& font, QPainter& painter);

} // namespace talwyn::controls
