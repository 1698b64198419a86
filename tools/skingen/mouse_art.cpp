#include "mouse_art.h"

#include "paint_kit.h"
#include "theme.h"
#include "ui_layout/skin_files.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <array>

namespace skingen {

namespace {

constexpr qreal kMidX = 132;

QPainterPath bodyPath() {
    QPainterPath b;
    b.moveTo(kMidX, 14);
    b.cubicTo(82, 14, 56, 50, 52, 110);
    b.cubicTo(48, 170, 40, 230, 44, 280);
    b.cubicTo(48, 330, 86, 356, kMidX, 356);
    b.cubicTo(178, 356, 216, 330, 220, 280);
    b.cubicTo(224, 230, 216, 170, 212, 110);
    b.cubicTo(208, 50, 182, 14, kMidX, 14);
    b.closeSubpath();
    return b;
}

QPainterPath wheelPath() {
    QPainterPath w;
    w.addRoundedRect(toQt(talwyn::ui_layout::kMouseZone1).adjusted(4, 2, -4, -2), 12, 12);
    return w;
}

// A "T" with swept wings, inside the logo zone.
QPainterPath logoPath() {
    const QRectF z = toQt(talwyn::ui_layout::kMouseZone2);
    QPainterPath t;
    t.moveTo(z.left() + 3, z.top() + 4);
    t.lineTo(z.right() - 3, z.top() + 4);
    t.lineTo(z.right() - 8, z.top() + 12);
    t.lineTo(kMidX + 5, z.top() + 12);
    t.lineTo(kMidX + 2, z.bottom() - 3);
    t.lineTo(kMidX - 2, z.bottom() - 3);
    t.lineTo(kMidX - 5, z.top() + 12);
    t.lineTo(z.left() + 8, z.top() + 12);
    t.closeSubpath();
    return t;
}

void drawSeams(QPainter& p) {
    p.setPen(QPen(QColor(0x0C, 0x0D, 0x0E), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(kMidX, 16), QPointF(kMidX, 94));
    p.drawLine(QPointF(kMidX, 161), QPointF(kMidX, 168));
    QPainterPath seam;
    seam.moveTo(50, 186);
    seam.quadTo(kMidX, 206, 214, 186);
    p.drawPath(seam);
    // DPI button behind the wheel, and the two thumb buttons on the left flank.
    p.drawRoundedRect(QRectF(kMidX - 9, 170, 18, 12), 4, 4);
    p.drawRoundedRect(QRectF(45, 150, 10, 26), 4, 4);
    p.drawRoundedRect(QRectF(44, 181, 10, 26), 4, 4);
    // Thin highlight next to each seam gives them depth.
    p.setPen(QPen(QColor(255, 255, 255, 22), 1));
    p.drawLine(QPointF(kMidX + 1.5, 18), QPointF(kMidX + 1.5, 94));
}

} // namespace

QPointF mouseButtonAnchor(int button) {
    static constexpr std::array<QPointF, 6> anchors = {QPointF(92, 100),    QPointF(172, 100),
                                                       QPointF(kMidX, 128), QPointF(50, 163),
                                                       QPointF(49, 194),    QPointF(kMidX, 176)};
    return anchors.at(std::size_t(button));
}

void paintMouse(QPainter& p, const MouseArtOptions& o) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath body = bodyPath();
    if (o.shadow) {
        for (int i = 6; i >= 1; --i) {
            p.setPen(QPen(QColor(0, 0, 0, 14), i * 3.0));
            p.setBrush(Qt::NoBrush);
            p.drawPath(body.translated(0, 4));
        }
    }
    QLinearGradient shell(QPointF(40, 0), QPointF(224, 0));
    shell.setColorAt(0, theme::rgb(0x1F2226));
    shell.setColorAt(0.45, theme::rgb(0x34393F));
    shell.setColorAt(1, theme::rgb(0x181A1D));
    p.setPen(Qt::NoPen);
    p.setBrush(shell);
    p.drawPath(body);
    // Top light falling off toward the palm.
    QLinearGradient sheen(QPointF(0, 14), QPointF(0, 356));
    sheen.setColorAt(0, QColor(255, 255, 255, 26));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 0));
    sheen.setColorAt(1, QColor(0, 0, 0, 60));
    p.setBrush(sheen);
    p.drawPath(body);
    p.setPen(QPen(theme::rgb(0x4A5157), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);
    drawSeams(p);

    const QPainterPath wheel = wheelPath();
    const QPainterPath logo = logoPath();
    if (o.zones == ZoneFill::Transparent) {
        p.setCompositionMode(QPainter::CompositionMode_Clear);
        p.fillPath(wheel, Qt::transparent);
        p.fillPath(logo, Qt::transparent);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else {
        drawGlow(p, wheel.boundingRect().center(), 40, o.zoneColour, 90);
        drawGlow(p, logo.boundingRect().center(), 34, o.zoneColour, 80);
        p.fillPath(wheel, o.zoneColour);
        p.fillPath(logo, o.zoneColour);
    }
    // Wheel ribs: half-transparent so a lit zone shows through with texture.
    p.setClipPath(wheel);
    p.setPen(QPen(QColor(0, 0, 0, 70), 2));
    const QRectF wr = wheel.boundingRect();
    for (qreal y = wr.top() + 6; y < wr.bottom() - 3; y += 6) {
        p.drawLine(QPointF(wr.left() + 6, y), QPointF(wr.right() - 6, y));
    }
    p.setClipping(false);
    p.setPen(QPen(QColor(0, 0, 0, 140), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wheel);
    p.restore();
}

} // namespace skingen
