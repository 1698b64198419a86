#include "control_looks.h"

#include "paint_kit.h"
#include "theme.h"

#include <QLinearGradient>

namespace skingen {

using talwyn::ui_layout::ControlEntry;
using talwyn::ui_layout::ControlLook;

namespace {

QString captionOf(const ControlEntry& c) {
    return QString::fromUtf8(c.caption.data(), qsizetype(c.caption.size()));
}

void pushButton(QPainter& p, const QRectF& r, const QString& text, SkinState s) {
    const auto style = raisedStyle(s);
    drawRaised(p, r, style, 4);
    drawText(p, r, text, theme::font(13, QFont::DemiBold), style.text, Qt::AlignCenter);
}

void wideButton(QPainter& p, const QRectF& r, const QString& text, SkinState s) {
    const auto style = raisedStyle(s);
    drawRaised(p, r, style, 8);
    if (s == SkinState::Over || s == SkinState::Down) {
        drawGlow(p, QPointF(r.center().x(), r.bottom()), r.width() * 0.45, theme::kAccent,
                 s == SkinState::Down ? 70 : 40);
    }
    // A speech-bubble mark before the text.
    const QRectF mark(r.left() + 22, r.center().y() - 12, 28, 22);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = s == SkinState::Disable ? theme::kTextDisabled : theme::kAccent;
    p.setPen(QPen(ink, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(mark, 6, 6);
    const QPointF tail[] = {{mark.left() + 7, mark.bottom()},
                            {mark.left() + 5, mark.bottom() + 6},
                            {mark.left() + 13, mark.bottom()}};
    p.drawPolyline(tail, 3);
    p.restore();
    drawText(p, r.adjusted(64, 0, -10, 0), text, theme::font(20, QFont::Bold), style.text, Qt::AlignCenter);
}

void recordButton(QPainter& p, const QRectF& r, SkinState s) {
    drawRaised(p, r, raisedStyle(s), 4);
    // A red rule marks the record button without taking the caption's room.
    QColor line = s == SkinState::Disable ? theme::kDisabledBorder : theme::kDanger;
    if (s == SkinState::Normal) {
        line = line.darker(130);
    }
    p.fillRect(QRectF(r.left() + 6, r.bottom() - 4, r.width() - 12, 2), line);
}

void pageTab(QPainter& p, const QRectF& r, SkinState s) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF bar(r.left() + 2, r.bottom() - 2, r.width() - 4, 2);
    switch (s) {
    case SkinState::Normal:
        p.fillRect(bar, theme::kCardBorder);
        break;
    case SkinState::Over:
        drawGlow(p, QPointF(r.center().x(), r.bottom()), r.width() * 0.5, theme::kAccent, 40);
        p.fillRect(bar, theme::kAccentDim);
        break;
    case SkinState::Down:
        drawGlow(p, QPointF(r.center().x(), r.bottom()), r.width() * 0.55, theme::kAccent, 70);
        p.fillRect(bar, theme::kAccent);
        break;
    case SkinState::Disable:
        p.fillRect(bar, theme::kDisabledBorder);
        break;
    }
    p.restore();
}

void slotButton(QPainter& p, const QRectF& r, SkinState s) {
    auto style = raisedStyle(s);
    drawRaised(p, r, style, r.height() / 2);
}

void slotMenu(QPainter& p, const QRectF& r, const QString& digit, SkinState s) {
    QColor ink = theme::kTextMuted;
    if (s == SkinState::Over) {
        ink = theme::kTextBright;
    } else if (s == SkinState::Down) {
        ink = theme::kAccent;
        p.fillRect(r, theme::kAccentDeep);
    } else if (s == SkinState::Disable) {
        ink = theme::kTextDisabled;
    }
    // The digit above a small arrow: the slot's menu opens from here.
    drawText(p, QRectF(r.left() - 1, r.top(), r.width() + 2, 11), digit,
             theme::font(r.width() < 10 ? 9 : 11, QFont::Bold), ink, Qt::AlignCenter);
    drawChevron(p, QPointF(r.center().x(), r.bottom() - 3), std::min(2.5, r.width() / 2 - 0.5), ink);
}

void closeButton(QPainter& p, const QRectF& r, SkinState s) {
    QColor ink = theme::kTextMuted;
    if (s == SkinState::Over || s == SkinState::Down) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(s == SkinState::Down ? theme::kDanger.darker(140) : theme::kDanger);
        p.drawRoundedRect(r, 3, 3);
        p.restore();
        ink = theme::kTextBright;
    } else if (s == SkinState::Disable) {
        ink = theme::kTextDisabled;
    }
    drawCross(p, r.adjusted(5, 5, -5, -5), ink, 1.6);
}

void dropDown(QPainter& p, const QRectF& r, SkinState s, bool arrowOnly) {
    StateStyle style = raisedStyle(s);
    if (s == SkinState::Normal) {
        style.top = theme::kInset.lighter(140);
        style.bottom = theme::kInset.lighter(120);
        style.border = theme::kInsetBorder;
    }
    drawRaised(p, r, style, 3);
    const QColor ink = s == SkinState::Normal ? theme::kTextMuted : style.border;
    if (arrowOnly) {
        drawChevron(p, r.center(), 3.5, s == SkinState::Disable ? theme::kTextDisabled : ink);
        return;
    }
    const qreal x = r.right() - 18;
    p.fillRect(QRectF(x, r.top() + 4, 1, r.height() - 8), style.border);
    drawChevron(p, QPointF(x + 9, r.center().y()), 4, s == SkinState::Disable ? theme::kTextDisabled : ink);
}

void checkBox(QPainter& p, const QRectF& r, SkinState s) {
    const QRectF box = r.adjusted(1, 1, -1, -1);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    switch (s) {
    case SkinState::Down:
        p.setPen(QPen(theme::kAccent, 1));
        p.setBrush(theme::kAccent);
        p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        p.restore();
        drawCheckMark(p, box, theme::kAccentInk);
        return;
    case SkinState::Over:
        p.setPen(QPen(theme::kAccent, 1.5));
        p.setBrush(theme::kInset);
        break;
    case SkinState::Disable:
        p.setPen(QPen(theme::kDisabledBorder, 1));
        p.setBrush(theme::kDisabledBody);
        break;
    case SkinState::Normal:
        p.setPen(QPen(theme::kControlBorder.lighter(115), 1.2));
        p.setBrush(theme::kInset);
        break;
    }
    p.drawRoundedRect(box.adjusted(0.75, 0.75, -0.75, -0.75), 3, 3);
    p.restore();
}

// Off in Normal, Over and Disable (the Disable sheet is the switch's regular
// off look), on in Down.
void toggleSwitch(QPainter& p, const QRectF& r, SkinState s) {
    const qreal h = std::min(r.height() - 4, 18.0);
    const QRectF track(r.left() + 1, r.center().y() - h / 2, r.width() - 2, h);
    const bool on = s == SkinState::Down;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QColor trackFill = on ? theme::kAccent : theme::kGroove;
    QColor trackLine = on ? theme::kAccent : theme::kControlBorder;
    if (s == SkinState::Over) {
        trackLine = theme::kAccent;
    } else if (s == SkinState::Disable) {
        trackLine = theme::kInsetBorder;
    }
    p.setPen(QPen(trackLine, 1));
    p.setBrush(trackFill);
    p.drawRoundedRect(track.adjusted(0.5, 0.5, -0.5, -0.5), h / 2, h / 2);
    const qreal d = h - 6;
    const qreal kx = on ? track.right() - 3 - d : track.left() + 3;
    p.setPen(Qt::NoPen);
    p.setBrush(on ? theme::kTextBright
                  : (s == SkinState::Normal ? theme::kTextMuted : theme::kControlBorder.lighter(140)));
    p.drawEllipse(QRectF(kx, track.top() + 3, d, d));
    p.restore();
}

void radio(QPainter& p, const QRectF& r, SkinState s) {
    const qreal d = std::min(r.width(), r.height()) - 3;
    const QRectF ring(r.center().x() - d / 2, r.center().y() - d / 2, d, d);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QColor line = theme::kControlBorder.lighter(120);
    if (s == SkinState::Over || s == SkinState::Down) {
        line = theme::kAccent;
    } else if (s == SkinState::Disable) {
        line = theme::kDisabledBorder;
    }
    p.setPen(QPen(line, 1.5));
    p.setBrush(s == SkinState::Disable ? theme::kDisabledBody : theme::kInset);
    p.drawEllipse(ring);
    if (s == SkinState::Down) {
        p.setPen(Qt::NoPen);
        p.setBrush(theme::kAccent);
        p.drawEllipse(ring.center(), d / 2 - 3.5, d / 2 - 3.5);
    }
    p.restore();
}

void zoneEdit(QPainter& p, const QRectF& r, const QString& text, SkinState s) {
    const auto style = raisedStyle(s);
    drawRaised(p, r, style, 3);
    // A small pen before the text.
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(style.text, 1.4, Qt::SolidLine, Qt::RoundCap));
    const QPointF tip(r.left() + 6, r.bottom() - 5);
    p.drawLine(tip, tip + QPointF(6, -7));
    p.restore();
    drawText(p, r.adjusted(14, 0, 0, 0), text, theme::font(11, QFont::DemiBold), style.text, Qt::AlignCenter);
}

void levelMark(QPainter& p, const QRectF& r, const QString& digit, SkinState s) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QColor fill = theme::kInset;
    QColor line = theme::kControlBorder;
    QColor ink = theme::kTextMuted;
    switch (s) {
    case SkinState::Over:
        line = theme::kAccentDim;
        ink = theme::kText;
        break;
    case SkinState::Down:
        fill = theme::kAccent;
        line = theme::kAccent;
        ink = theme::kAccentInk;
        break;
    case SkinState::Disable:
        fill = theme::kDisabledBody;
        line = theme::kDisabledBorder;
        ink = theme::kTextDisabled;
        break;
    case SkinState::Normal:
        break;
    }
    p.setPen(QPen(line, 1));
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), r.height() / 2, r.height() / 2);
    p.restore();
    drawText(p, r, QStringLiteral("L") + digit, theme::font(11, QFont::Bold), ink, Qt::AlignCenter);
}

void track(QPainter& p, const QRectF& r, SkinState s, bool ticks) {
    const bool off = s == SkinState::Disable;
    const QRectF groove(r.left() + 2, r.center().y() - 2, r.width() - 4, 4);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(off ? theme::kDisabledBorder : theme::kInsetBorder, 1));
    p.setBrush(off ? theme::kDisabledBody : theme::kGroove);
    p.drawRoundedRect(groove, 2, 2);
    if (ticks) {
        p.setPen(QPen(off ? theme::kDisabledBorder : theme::kControlBorder, 1));
        for (int i = 0; i <= 20; ++i) {
            const qreal x = groove.left() + 6 + (groove.width() - 12) * i / 20.0;
            const qreal len = i % 5 == 0 ? 5 : 3;
            p.drawLine(QPointF(x, r.bottom() - len), QPointF(x, r.bottom()));
        }
    }
    p.restore();
}

// Ten stacked cells that light from the bottom: red for a poor surface up to
// mint for a perfect one.
void meter(QPainter& p, const QRectF& r, SkinState s) {
    drawInset(p, r, s == SkinState::Disable, 5);
    const int cells = 10;
    const qreal gap = 2;
    const QRectF inner = r.adjusted(8, 6, -8, -6);
    const qreal h = (inner.height() - gap * (cells - 1)) / cells;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < cells; ++i) {
        const qreal y = inner.bottom() - (i + 1) * h - i * gap;
        const qreal t = i / qreal(cells - 1);
        QColor lit =
            t < 0.5 ? QColor::fromRgbF(0.90f, static_cast<float>(0.28 + t * 1.3), 0.30f) : theme::kAccent;
        if (t >= 0.5 && t < 0.75) {
            lit = theme::kWarning;
        }
        QColor cell = theme::kControl;
        if (s == SkinState::Down) {
            cell = lit;
        } else if (s == SkinState::Disable) {
            cell = theme::kDisabledBorder;
        }
        p.setBrush(cell);
        p.drawRoundedRect(QRectF(inner.left(), y, inner.width(), h), 2, 2);
    }
    p.restore();
}

void panel(QPainter& p, const QRectF& r, SkinState s) {
    drawInset(p, r, s == SkinState::Disable, 4);
    // Faint stripes on the 18-pixel rows the lists draw their entries on.
    p.save();
    p.setClipRect(r.adjusted(2, 2, -2, -2), Qt::IntersectClip);
    for (qreal y = r.top() + 5; y < r.bottom() - 2; y += 36) {
        p.fillRect(QRectF(r.left() + 2, y + 18, r.width() - 4, 18), QColor(255, 255, 255, 6));
    }
    p.restore();
}

void decorLabel(QPainter& p, const ControlEntry& c, SkinState s) {
    const QRectF r = toQt(c.rect);
    const QColor ink = s == SkinState::Disable ? theme::kTextDisabled : theme::kText;
    const auto lines = captionOf(c).split(QStringLiteral(" / "));
    const qreal lineHeight = r.height() / static_cast<qreal>(lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        const QRectF line(r.left(), r.top() + i * lineHeight, r.width(), lineHeight);
        drawText(p, line, lines[i],
                 theme::font(lines.size() > 1 ? 12 : 13, lines.size() > 1 ? QFont::Normal : QFont::Bold),
                 ink);
    }
}

void paintLook(QPainter& p, const ControlEntry& c, const QRectF& r, SkinState s);

} // namespace

void paintControlLook(QPainter& p, const ControlEntry& c, SkinState s) {
    const QRectF r = toQt(c.rect);
    // A look never reaches outside its rectangle: what is cut there belongs to the window.
    p.save();
    p.setClipRect(r);
    paintLook(p, c, r, s);
    p.restore();
}

namespace {

void paintLook(QPainter& p, const ControlEntry& c, const QRectF& r, SkinState s) {
    switch (c.look) {
    case ControlLook::PushButton:
        pushButton(p, r, captionOf(c), s);
        break;
    case ControlLook::WideButton:
        wideButton(p, r, captionOf(c), s);
        break;
    case ControlLook::RecordButton:
        recordButton(p, r, s);
        break;
    case ControlLook::PageTab:
        pageTab(p, r, s);
        break;
    case ControlLook::SlotButton:
        slotButton(p, r, s);
        break;
    case ControlLook::SlotMenu:
        slotMenu(p, r, captionOf(c), s);
        break;
    case ControlLook::CloseButton:
        closeButton(p, r, s);
        break;
    case ControlLook::CloseButtonHoverInNormal:
        closeButton(p, r,
                    s == SkinState::Normal ? SkinState::Over
                    : s == SkinState::Over ? SkinState::Normal
                                           : s);
        break;
    case ControlLook::DropDown:
        dropDown(p, r, s, false);
        break;
    case ControlLook::MiniDropDown:
        dropDown(p, r, s, true);
        break;
    case ControlLook::CheckBox:
        checkBox(p, r, s);
        break;
    case ControlLook::Switch:
        toggleSwitch(p, r, s);
        break;
    case ControlLook::Radio:
        radio(p, r, s);
        break;
    case ControlLook::ZoneEdit:
        zoneEdit(p, r, captionOf(c), s);
        break;
    case ControlLook::LevelMark:
        levelMark(p, r, captionOf(c), s);
        break;
    case ControlLook::Track:
        track(p, r, s, false);
        break;
    case ControlLook::LevelTrack:
        track(p, r, s, true);
        break;
    case ControlLook::Meter:
        meter(p, r, s);
        break;
    case ControlLook::PictureFrame:
        drawInset(p, r, s == SkinState::Disable, 4);
        break;
    case ControlLook::Field:
        drawInset(p, r, s == SkinState::Disable, 2);
        break;
    case ControlLook::Panel:
        panel(p, r, s);
        break;
    case ControlLook::DecorLabel:
        decorLabel(p, c, s);
        break;
    case ControlLook::Label:
    case ControlLook::Preview:
    case ControlLook::Hidden:
        break;
    }
}

} // namespace

} // namespace skingen
