#pragma once
// The stylised top view of the mouse, drawn in the 270 x 369 space of the
// lighting preview picture; callers scale the painter for other sizes.

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <optional>

namespace skingen {

enum class ZoneFill {
    Transparent, // the lighting preview fills the zones itself
    Lit,         // zones glow in the given colour
};

struct MouseArtOptions {
    ZoneFill zones = ZoneFill::Transparent;
    QColor zoneColour;
    bool shadow = true;
};

void paintMouse(QPainter& p, const MouseArtOptions& options);

// Where the six programmable buttons sit on the drawing (mouse page callouts).
QPointF mouseButtonAnchor(int button);

} // namespace skingen
