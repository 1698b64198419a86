#include "paint_kit.h"

#include "theme.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace skingen {

QRectF toQt(const talwyn::ui_layout::Rect& r) {
    return QRectF(r.x, r.y, r.width, r.height);
}

StateStyle raisedStyle(SkinState state) {
    using namespace theme;
    switch (state) {
    case SkinState::Over:
        return {rgb(0x3A4046), rgb(0x2D3237), kAccent, kTextBright};
    case SkinState::Down:
        return {rgb(0x1A4A37), rgb(0x16382B), kAccent, kAccent};
    case SkinState::Disable:
        return {kDisabledBody, kDisabledBody, kDisabledBorder, kTextDisabled};
    case SkinState::Normal:
        break;
    }
    return {kControlHigh, kControl, kControlBorder, kText};
}

void fillBackdrop(QPainter& p, const QRectF& area) {
    QLinearGradient g(area.topLeft(), area.bottomLeft());
    g.setColorAt(0, theme::kBackdropTop);
    g.setColorAt(1, theme::kBackdropBottom);
    p.fillRect(area, g);
}

void drawCard(QPainter& p, const QRectF& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, theme::kCard.lighter(106));
    g.setColorAt(1, theme::kCard);
    p.setPen(QPen(theme::kCardBorder, 1));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    p.restore();
}

void drawCardTitle(QPainter& p, const QPointF& at, const QString& title) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(theme::kAccent);
    p.drawRoundedRect(QRectF(at.x(), at.y() + 2, 3, 13), 1.5, 1.5);
    p.restore();
    drawText(p, QRectF(at.x() + 9, at.y(), 400, 17), title, theme::font(14, QFont::Bold), theme::kText);
}

void drawRaised(QPainter& p, const QRectF& r, const StateStyle& style, qreal radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, style.top);
    g.setColorAt(1, style.bottom);
    p.setPen(QPen(style.border, 1));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.restore();
}

void drawInset(QPainter& p, const QRectF& r, bool disabled, qreal radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(disabled ? theme::kDisabledBorder : theme::kInsetBorder, 1));
    p.setBrush(disabled ? theme::kDisabledBody : theme::kInset);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.restore();
}

void drawText(QPainter& p, const QRectF& r, const QString& text, const QFont& font, const QColor& colour,
              int flags) {
    p.save();
    p.setFont(font);
    p.setPen(colour);
    p.drawText(r, flags, text);
    p.restore();
}

void drawWrapped(QPainter& p, const QRectF& r, const QString& text, const QFont& font, const QColor& colour) {
    drawText(p, r, text, font, colour, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
}

void drawChevron(QPainter& p, const QPointF& c, qreal hw, const QColor& colour, bool down) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal dy = (down ? 1 : -1) * hw / 2;
    const QPointF pts[] = {{c.x() - hw, c.y() - dy}, {c.x(), c.y() + dy}, {c.x() + hw, c.y() - dy}};
    p.drawPolyline(pts, 3);
    p.restore();
}

void drawCross(QPainter& p, const QRectF& r, const QColor& colour, qreal width) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
    p.restore();
}

void drawCheckMark(QPainter& p, const QRectF& r, const QColor& colour) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF pts[] = {{r.left() + r.width() * 0.22, r.top() + r.height() * 0.52},
                           {r.left() + r.width() * 0.42, r.top() + r.height() * 0.72},
                           {r.left() + r.width() * 0.78, r.top() + r.height() * 0.30}};
    p.drawPolyline(pts, 3);
    p.restore();
}

void drawGlow(QPainter& p, const QPointF& centre, qreal radius, const QColor& colour, int alpha) {
    QRadialGradient g(centre, radius);
    QColor inner = colour;
    inner.setAlpha(alpha);
    QColor outer = colour;
    outer.setAlpha(0);
    g.setColorAt(0, inner);
    g.setColorAt(1, outer);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

} // namespace skingen
