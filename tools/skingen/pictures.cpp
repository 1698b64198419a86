#include "pictures.h"

#include "mouse_art.h"
#include "paint_kit.h"
#include "theme.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace skingen {

using namespace talwyn::ui_layout;

namespace {

QImage blank(Size size, bool alpha) {
    QImage img(size.width, size.height, alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    img.fill(alpha ? Qt::transparent : theme::kBackdropBottom);
    return img;
}

void thumbBody(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom, const QColor& line) {
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(line, 1));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}

void scrollArrow(QPainter& p, const QRectF& r, bool up, bool pressed) {
    drawRaised(p, r.adjusted(1, 1, -1, -1), raisedStyle(pressed ? SkinState::Down : SkinState::Normal), 3);
    drawChevron(p, r.center(), 4, pressed ? theme::kAccent : theme::kText, !up);
}

// The hue ring of the colour pickers: red at the bottom rising to the top.
QColor hueAt(qreal t) {
    return QColor::fromHsvF(static_cast<float>(std::fmod(t, 1.0)), 1.0f, 1.0f);
}

} // namespace

QImage renderThumb(SkinState state) {
    QImage img = blank(kThumbSize, true);
    QPainter p(&img);
    const QRectF r(0, 0, kThumbSize.width, kThumbSize.height);
    if (state == SkinState::Disable) {
        thumbBody(p, r, theme::rgb(0x4A4F54), theme::rgb(0x3A3E42), theme::rgb(0x2A2D30));
    } else {
        thumbBody(p, r, theme::kAccent.lighter(115), theme::kAccent.darker(115), theme::kAccentDim);
    }
    const QColor grip = state == SkinState::Disable ? theme::rgb(0x2A2D30) : theme::kAccentInk;
    for (int i = -1; i <= 1; ++i) {
        p.fillRect(QRectF(r.center().x() - 3, r.center().y() + i * 3.5 - 0.5, 6, 1.2), grip);
    }
    return img;
}

QImage renderLevelThumb(int level) {
    QImage img = blank(kLevelThumbSize, true);
    QPainter p(&img);
    const QRectF r(0, 0, kLevelThumbSize.width, kLevelThumbSize.height);
    thumbBody(p, r, theme::kAccent.lighter(112), theme::kAccent.darker(118), theme::kAccentDim);
    drawText(p, r, QString::number(level), theme::font(12, QFont::Bold), theme::kAccentInk, Qt::AlignCenter);
    return img;
}

// Scroll_Normal is the track; Scroll_Down holds the parts as they look at
// rest, Scroll_Over the same parts pressed.
QImage renderScroll(SkinState state) {
    QImage img = blank(kScrollSize, false);
    QPainter p(&img);
    p.fillRect(img.rect(), theme::kInset);
    p.fillRect(QRectF(kScrollSize.width / 2.0 - 1, 2, 2, kScrollSize.height - 4),
               theme::kGroove.lighter(160));
    if (state == SkinState::Normal) {
        return img;
    }
    const bool pressed = state == SkinState::Over;
    scrollArrow(p, toQt(kScrollUpPart), true, pressed);
    scrollArrow(p, toQt(kScrollDownPart), false, pressed);
    const QRectF thumb = toQt(kScrollThumbPart).adjusted(3, 1, -3, -1);
    thumbBody(p, thumb, pressed ? theme::kAccent : theme::rgb(0x5A6066),
              pressed ? theme::kAccentDim : theme::rgb(0x454A50),
              pressed ? theme::kAccent : theme::kControlBorder);
    return img;
}

QImage renderColorSlider() {
    QImage img = blank(kColorSliderSize, true);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF strip(8, 4, kColorSliderSize.width - 16, kColorSliderSize.height - 8);
    QLinearGradient g(strip.bottomLeft(), strip.topLeft());
    for (int i = 0; i <= 12; ++i) {
        g.setColorAt(i / 12.0, hueAt(i / 12.0));
    }
    p.setPen(QPen(theme::kInsetBorder, 1));
    p.setBrush(g);
    p.drawRoundedRect(strip, 3, 3);
    return img;
}

// Hue across, white at the top, black at the bottom.
QImage renderColorPanel() {
    QImage img = blank(kColorFieldSize, false);
    for (int y = 0; y < img.height(); ++y) {
        const qreal v = 1.0 - qreal(y) / (img.height() - 1);
        for (int x = 0; x < img.width(); ++x) {
            const qreal h = qreal(x) / img.width();
            QColor c =
                v > 0.5 ? QColor::fromHsvF(static_cast<float>(h), static_cast<float>((1.0 - v) * 2.0), 1.0f)
                        : QColor::fromHsvF(static_cast<float>(h), 1.0f, static_cast<float>(v * 2.0));
            img.setPixelColor(x, y, c);
        }
    }
    return img;
}

// A frame laid over the colour field: clear inside, rounded charcoal border.
QImage renderColorPalette() {
    QImage img = blank(kColorFieldSize, true);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath outer;
    outer.addRect(img.rect());
    QPainterPath hole;
    hole.addRoundedRect(QRectF(img.rect()).adjusted(3, 3, -3, -3), 5, 5);
    p.fillPath(outer.subtracted(hole), theme::kCard);
    p.setPen(QPen(theme::kInsetBorder, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hole);
    p.setPen(QPen(QColor(0, 0, 0, 90), 1));
    p.drawRoundedRect(QRectF(img.rect()).adjusted(4, 4, -4, -4), 4, 4);
    return img;
}

QImage renderMousePicture() {
    QImage img = blank(kMousePictureSize, true);
    QPainter p(&img);
    paintMouse(p, {});
    return img;
}

// A half-round gauge: red for a poor surface up to mint for a perfect one.
QImage renderSurfacePicture(int percent) {
    QImage img = blank(kSurfacePictureSize, false);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(img.rect(), theme::kInset);
    const QPointF c(kSurfacePictureSize.width / 2.0, 62);
    const qreal radius = 46;
    const QRectF arc(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius);
    p.setPen(QPen(theme::kControl, 9, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(arc, 0, 180 * 16);
    const QColor lit = percent < 40 ? theme::kDanger : percent < 70 ? theme::kWarning : theme::kAccent;
    if (percent > 0) {
        p.setPen(QPen(lit, 9, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(arc, 180 * 16, -int(180 * 16 * percent / 100));
    }
    const qreal angle = std::numbers::pi * (1.0 - percent / 100.0);
    const QPointF tip(c.x() + std::cos(angle) * (radius - 12), c.y() - std::sin(angle) * (radius - 12));
    p.setPen(QPen(theme::kText, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, tip);
    p.setPen(Qt::NoPen);
    p.setBrush(theme::kText);
    p.drawEllipse(c, 3.5, 3.5);
    drawText(p, QRectF(0, 64, kSurfacePictureSize.width, 20), QString::number(percent) + QStringLiteral("%"),
             theme::font(15, QFont::Bold), percent > 0 ? lit : theme::kTextMuted, Qt::AlignCenter);
    return img;
}

// A mouse sweeping across its pad; three frames make the loop.
QImage renderCountdownPicture(int frame) {
    QImage img = blank(kCountdownPictureSize, false);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(img.rect(), theme::kCard);
    const QRectF pad(10, 8, kCountdownPictureSize.width - 20, kCountdownPictureSize.height - 16);
    p.setPen(QPen(theme::kAccentDim, 1.5));
    p.setBrush(theme::kInset);
    p.drawRoundedRect(pad, 10, 10);
    const qreal xs[] = {55, 100, 145};
    const qreal ys[] = {62, 48, 62};
    const int i = frame % 3;
    // Motion trail from the previous position.
    const int prev = (i + 2) % 3;
    p.setPen(QPen(QColor(theme::kAccent.red(), theme::kAccent.green(), theme::kAccent.blue(), 90), 3,
                  Qt::DashLine, Qt::RoundCap));
    p.drawLine(QPointF(xs[prev], ys[prev] + 8), QPointF(xs[i], ys[i] + 8));
    p.save();
    p.translate(xs[i] - 132 * 0.17, ys[i] - 185 * 0.17);
    p.scale(0.17, 0.17);
    paintMouse(p, {ZoneFill::Lit, theme::kAccent, false});
    p.restore();
    return img;
}

QImage renderAppIcon() {
    QImage img = blank(kAppIconSize, true);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(8, 8, 240, 240);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, theme::rgb(0x2A2E33));
    g.setColorAt(1, theme::rgb(0x141618));
    p.setPen(QPen(theme::kAccent, 6));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(3, 3, -3, -3), 48, 48);
    p.save();
    p.translate(128 - 132 * 0.58, 128 - 185 * 0.58);
    p.scale(0.58, 0.58);
    paintMouse(p, {ZoneFill::Lit, theme::kAccent, false});
    p.restore();
    return img;
}

} // namespace skingen
