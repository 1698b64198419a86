#include "controls/draw_helper.h"

#include <QGuiApplication>
#include <QPalette>
#include <QPolygon>

#include <array>

namespace talwyn::controls {

void HxDrawHelper::DrawFrame(QPainter& painter, const Box& box, int flags) const {
    DrawFrame(painter, box.left, box.top, box.right, box.bottom, flags);
}

void HxDrawHelper::DrawFrame(QPainter& painter, int left, int top, int right, int bottom, int flags) const {
    const QPalette palette = QGuiApplication::palette();
    const QColor shadow = palette.color(QPalette::Dark);
    const QColor highlight = palette.color(QPalette::Light);
    const bool sunken = (flags & kSunken) != 0;
    const int lastX = right - 1;
    const int lastY = bottom - 1;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(sunken ? shadow : highlight);
    painter.drawLine(left, top, lastX, top);
    painter.drawLine(left, top, left, lastY);
    painter.setPen(sunken ? highlight : shadow);
    painter.drawLine(left, lastY, lastX, lastY);
    painter.drawLine(lastX, top, lastX, lastY);
    if ((flags & kInnerBlack) != 0) {
        painter.setPen(Qt::black);
        painter.drawRect(left + 1, top + 1, right - left - 3, bottom - top - 3);
    }
    painter.restore();
}

void HxDrawHelper::DrawArrow(QPainter& painter, QPoint tip, ArrowDirection direction, int size, QColor pen,
                             QColor fill) const {
    const int c = size - 1;
    const int x = tip.x();
    const int y = tip.y();
    std::array<QPoint, 2> corners;
    switch (direction) {
    case ArrowDirection::Left:
        corners = {QPoint(x + c, y - c), QPoint(x + c, y + c)};
        break;
    case ArrowDirection::Up:
        corners = {QPoint(x - c, y + c), QPoint(x + c, y + c)};
        break;
    case ArrowDirection::Right:
        corners = {QPoint(x - c, y - c), QPoint(x - c, y + c)};
        break;
    case ArrowDirection::Down:
        corners = {QPoint(x - c, y - c), QPoint(x + c, y - c)};
        break;
    case ArrowDirection::PlusXPlusY:
        corners = {QPoint(x + c, y), QPoint(x, y + c)};
        break;
    case ArrowDirection::PlusXMinusY:
        corners = {QPoint(x + c, y), QPoint(x, y - c)};
        break;
    case ArrowDirection::MinusXPlusY:
        corners = {QPoint(x - c, y), QPoint(x, y + c)};
        break;
    case ArrowDirection::MinusXMinusY:
        corners = {QPoint(x - c, y), QPoint(x, y - c)};
        break;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(pen);
    painter.setBrush(fill);
    painter.drawPolygon(QPolygon({tip, corners[0], corners[1]}));
    painter.restore();
}

} // namespace talwyn::controls
