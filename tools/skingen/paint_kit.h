#pragma once
// Drawing primitives every picture of the skin set is built from.

#include "ui_layout/geometry.h"
#include "ui_layout/skin_files.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace skingen {

using talwyn::ui_layout::SkinState;

QRectF toQt(const talwyn::ui_layout::Rect& r);

// The colours of a raised control in one state.
struct StateStyle {
    QColor top;
    QColor bottom;
    QColor border;
    QColor text;
};
StateStyle raisedStyle(SkinState state);

void fillBackdrop(QPainter& p, const QRectF& area);
void drawCard(QPainter& p, const QRectF& r);
void drawCardTitle(QPainter& p, const QPointF& at, const QString& title);
void drawRaised(QPainter& p, const QRectF& r, const StateStyle& style, qreal radius);
void drawInset(QPainter& p, const QRectF& r, bool disabled, qreal radius = 3);
void drawText(QPainter& p, const QRectF& r, const QString& text, const QFont& font, const QColor& colour,
              int flags = Qt::AlignLeft | Qt::AlignVCenter);
void drawWrapped(QPainter& p, const QRectF& r, const QString& text, const QFont& font, const QColor& colour);
void drawChevron(QPainter& p, const QPointF& centre, qreal halfWidth, const QColor& colour, bool down = true);
void drawCross(QPainter& p, const QRectF& r, const QColor& colour, qreal width);
void drawCheckMark(QPainter& p, const QRectF& r, const QColor& colour);
// A soft radial glow, used behind highlighted things.
void drawGlow(QPainter& p, const QPointF& centre, qreal radius, const QColor& colour, int alpha);

} // namespace skingen
