#include "window_art.h"

#include "mouse_art.h"
#include "paint_kit.h"
#include "theme.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace skingen {

using namespace talwyn::ui_layout;

namespace {

QRectF rectOf(WindowId window, int id) {
    return toQt(*controlRect(window, id));
}

// A caption just above a control's rectangle.
void labelAbove(QPainter& p, WindowId window, int id, const QString& text, qreal gap = 6) {
    const QRectF r = rectOf(window, id);
    drawText(p, QRectF(r.left(), r.top() - gap - 16, 300, 16), text, theme::font(13, QFont::DemiBold),
             theme::kText, Qt::AlignLeft | Qt::AlignBottom);
}

// A caption right of a small box or option button.
void labelBeside(QPainter& p, WindowId window, int id, const QString& text, qreal gap = 6) {
    const QRectF r = rectOf(window, id);
    drawText(p, QRectF(r.right() + gap, r.top() - 2, 160, r.height() + 4), text, theme::font(13),
             theme::kText);
}

void scaleUnder(QPainter& p, WindowId window, int id, const QString& low, const QString& high) {
    const QRectF r = rectOf(window, id);
    const QRectF row(r.left(), r.bottom() + 1, r.width(), 14);
    drawText(p, row, low, theme::font(11), theme::kTextMuted, Qt::AlignLeft | Qt::AlignVCenter);
    drawText(p, row, high, theme::font(11), theme::kTextMuted, Qt::AlignRight | Qt::AlignVCenter);
}

void badge(QPainter& p, const QPointF& centre, int number, bool accent) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(accent ? theme::kAccent : theme::kControlBorder, 1.2));
    p.setBrush(accent ? theme::kAccentDeep : theme::kInset);
    p.drawEllipse(centre, 8, 8);
    p.restore();
    drawText(p, QRectF(centre.x() - 8, centre.y() - 8, 16, 16), QString::number(number),
             theme::font(10, QFont::Bold), accent ? theme::kAccent : theme::kText, Qt::AlignCenter);
}

void pageBackdrop(QPainter& p) {
    fillBackdrop(p, QRectF(0, 0, kPageSize.width, kPageSize.height));
}

void mainArt(QPainter& p) {
    const qreal w = kMainSize.width;
    fillBackdrop(p, QRectF(0, 0, w, kMainSize.height));
    p.fillRect(QRectF(0, 0, w, 88), theme::kChrome);
    p.fillRect(QRectF(0, 87, w, 1), theme::kCardBorder);
    p.fillRect(QRectF(0, 516, w, 60), theme::kChrome);
    p.fillRect(QRectF(0, 516, w, 1), theme::kCardBorder);
    // A thin mint line along the very top edge.
    QLinearGradient edge(QPointF(0, 0), QPointF(w, 0));
    edge.setColorAt(0, QColor(0, 0, 0, 0));
    edge.setColorAt(0.5, theme::kAccent);
    edge.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(0, 0, w, 2), edge);

    // Word mark with a small mouse emblem.
    p.save();
    p.translate(22, 22);
    p.scale(0.12, 0.12);
    paintMouse(p, {ZoneFill::Lit, theme::kAccent, false});
    p.restore();
    drawText(p, QRectF(58, 22, 120, 26), QStringLiteral("TALWYN"), theme::font(22, QFont::Black),
             theme::kText);
    drawText(p, QRectF(60, 46, 120, 16), QStringLiteral("PRO  GAMING MOUSE"), theme::font(9, QFont::Bold),
             theme::kAccent);
    drawText(p, QRectF(200, 65, 88, 16), QStringLiteral("Profiles"), theme::font(12, QFont::DemiBold),
             theme::kTextMuted, Qt::AlignRight | Qt::AlignVCenter);

    drawText(p, QRectF(470, 553, 104, 18), QStringLiteral("Software Version"), theme::font(11),
             theme::kTextMuted, Qt::AlignRight | Qt::AlignVCenter);
}

void mouseSettingsArt(QPainter& p) {
    constexpr auto W = WindowId::MouseSettings;
    pageBackdrop(p);
    drawCard(p, QRectF(14, 16, 312, 254));
    drawCardTitle(p, QPointF(26, 30), QStringLiteral("Button Assignment"));
    const char* names[] = {"Left", "Right", "Middle", "Forward", "Back", "DPI"};
    const int ids[] = {1012, 1021, 1022, 1023, 1024, 1025};
    for (int i = 0; i < 6; ++i) {
        const QRectF r = rectOf(W, ids[i]);
        badge(p, QPointF(32, r.center().y()), i + 1, false);
        drawText(p, QRectF(44, r.top(), r.left() - 48, r.height()), QString::fromUtf8(names[i]),
                 theme::font(12), theme::kText);
    }

    // The mouse with numbered buttons, matching the badges of the list.
    const QRectF stage(340, 16, 340, 362);
    drawCard(p, stage);
    drawGlow(p, QPointF(510, 200), 150, theme::kAccent, 22);
    p.save();
    p.translate(510 - 132 * 0.92, 24);
    p.scale(0.92, 0.92);
    paintMouse(p, {ZoneFill::Lit, theme::kAccentDim, true});
    for (int i = 0; i < 6; ++i) {
        badge(p, mouseButtonAnchor(i), i + 1, true);
    }
    p.restore();

    drawCard(p, QRectF(270, 388, 420, 36));
    drawText(p, QRectF(282, 390, 90, 32), QStringLiteral("Report Rate"), theme::font(13, QFont::Bold),
             theme::kText);
    const int rateIds[] = {1028, 1027, 1029, 1030};
    const char* rates[] = {"125 Hz", "250 Hz", "500 Hz", "1000 Hz"};
    for (int i = 0; i < 4; ++i) {
        labelBeside(p, W, rateIds[i], QString::fromUtf8(rates[i]), 5);
    }

    drawCard(p, QRectF(694, 16, 316, 300));
    drawCardTitle(p, QPointF(706, 30), QStringLiteral("Pointer"));
    labelAbove(p, W, 1014, QStringLiteral("Double Click"));
    scaleUnder(p, W, 1014, QStringLiteral("Slow"), QStringLiteral("Fast"));
    labelAbove(p, W, 1015, QStringLiteral("Scroll Speed"));
    scaleUnder(p, W, 1015, QStringLiteral("1 line"), QStringLiteral("6 lines"));
    labelAbove(p, W, 1040, QStringLiteral("Point Acceleration"), 8);
    scaleUnder(p, W, 1016, QStringLiteral("Low"), QStringLiteral("High"));
}

void sensorArt(QPainter& p) {
    constexpr auto W = WindowId::SensorPerformance;
    pageBackdrop(p);
    drawCard(p, QRectF(14, 16, 996, 176));
    drawCardTitle(p, QPointF(26, 30), QStringLiteral("Resolution (DPI)"));
    scaleUnder(p, W, 1022, QStringLiteral("50"), QStringLiteral("19000"));
    drawWrapped(p, QRectF(812, 84, 186, 60),
                QStringLiteral("Drag a marker or type a value. Each level steps by 50 DPI."), theme::font(11),
                theme::kTextMuted);
    const QRectF steps = rectOf(W, 1101);
    drawText(p, QRectF(steps.right() + 8, steps.top() - 2, 120, steps.height() + 4),
             QStringLiteral("DPI Steps"), theme::font(13, QFont::DemiBold), theme::kText);

    drawCard(p, QRectF(14, 206, 604, 94));
    labelAbove(p, W, 1024, QStringLiteral("Point Speed"), 8);
    scaleUnder(p, W, 1024, QStringLiteral("Slow"), QStringLiteral("Fast"));

    drawCard(p, QRectF(14, 310, 604, 104));
    labelAbove(p, W, 1099, QStringLiteral("Lift Off Distance"));
    labelAbove(p, W, 1095, QStringLiteral("Angle Snapping"));
    labelAbove(p, W, 1100, QStringLiteral("Ripple Control"), 8);

    drawCard(p, QRectF(624, 206, 386, 208));
    drawCardTitle(p, QPointF(636, 220), QStringLiteral("Surface Quality"));
    drawText(p, QRectF(636, 240, 130, 36), QStringLiteral("How well the sensor reads your pad"),
             theme::font(10), theme::kTextMuted, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
    drawText(p, QRectF(632, 370, 140, 20), QStringLiteral("Last result"), theme::font(11), theme::kTextMuted,
             Qt::AlignCenter);
}

void colorArt(QPainter& p) {
    constexpr auto W = WindowId::ColorSettings;
    pageBackdrop(p);
    drawCard(p, QRectF(70, 16, 300, 396));
    drawCardTitle(p, QPointF(82, 30), QStringLiteral("Lighting"));
    labelAbove(p, W, 1102, QStringLiteral("Brightness"), 4);
    scaleUnder(p, W, 1102, QStringLiteral("Dim"), QStringLiteral("Bright"));
    drawText(p, QRectF(86, 158, 200, 17), QStringLiteral("Effect"), theme::font(13, QFont::DemiBold),
             theme::kText);
    labelBeside(p, W, 1043, QStringLiteral("Solid"));
    labelBeside(p, W, 1049, QStringLiteral("Blinking"));
    labelBeside(p, W, 1055, QStringLiteral("Pulsating"));
    labelBeside(p, W, 1061, QStringLiteral("Breathing"));
    drawText(p, QRectF(86, 254, 200, 17), QStringLiteral("Mode"), theme::font(13, QFont::DemiBold),
             theme::kText);
    labelBeside(p, W, 1063, QStringLiteral("Solid Color"));
    labelBeside(p, W, 1062, QStringLiteral("Color Shift"));
    labelBeside(p, W, 1029, QStringLiteral("Per Zone"));

    drawGlow(p, QPointF(524, 220), 170, theme::kAccent, 26);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(theme::kCardBorder, 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(524, 392), 120, 14);
    p.restore();

    drawCard(p, QRectF(734, 16, 276, 396));
    drawCardTitle(p, QPointF(746, 30), QStringLiteral("Zone Color"));
    drawText(p, QRectF(746, 52, 250, 40),
             QStringLiteral("Pick a hue on the strip, then the shade in the field."), theme::font(11),
             theme::kTextMuted, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
    drawInset(p, rectOf(W, 1112).adjusted(-2, -2, 2, 2), false, 4);
    drawInset(p, rectOf(W, 1106).adjusted(-2, 2, 2, -2), false, 4);
    const int rgbIds[] = {1082, 1083, 1084};
    const char* rgbNames[] = {"R", "G", "B"};
    for (int i = 0; i < 3; ++i) {
        const QRectF r = rectOf(W, rgbIds[i]);
        drawText(p, QRectF(r.left() - 13, r.top(), 12, r.height()), QString::fromUtf8(rgbNames[i]),
                 theme::font(12, QFont::Bold), theme::kTextMuted, Qt::AlignCenter);
    }
    drawText(p, QRectF(746, 272, 250, 16), QStringLiteral("Red, green, blue (0-255)"), theme::font(11),
             theme::kTextMuted);
    drawText(p, QRectF(746, 322, 66, 15), QStringLiteral("Hex"), theme::font(12, QFont::Bold),
             theme::kTextMuted, Qt::AlignRight | Qt::AlignVCenter);
}

void macroArt(QPainter& p) {
    constexpr auto W = WindowId::MacroSettings;
    pageBackdrop(p);
    drawCardTitle(p, QPointF(82, 24), QStringLiteral("Macros"));
    drawText(p, QRectF(91, 44, 700, 18),
             QStringLiteral(
                 "Record key sequences here, then give them to a mouse button on the Mouse Settings page."),
             theme::font(12), theme::kTextMuted);
    drawCard(p, QRectF(80, 88, 236, 292));
    labelAbove(p, W, 1069, QStringLiteral("Macro List"), 8);
    drawCard(p, QRectF(350, 88, 236, 292));
    labelAbove(p, W, 1070, QStringLiteral("Key Events"), 8);
    drawCard(p, QRectF(600, 88, 400, 292));
    drawCardTitle(p, QPointF(614, 96), QStringLiteral("Recording"));
    labelBeside(p, W, 1066, QStringLiteral("Record Delay"), 8);
    labelBeside(p, W, 1071, QStringLiteral("Record Hold"), 8);
    drawWrapped(
        p, QRectF(614, 256, 370, 110),
        QStringLiteral("Create a macro, press Start Record and type your keys. Press Stop Record when you "
                       "are done.\n\nRight-click an event to insert mouse buttons or delays, edit a "
                       "delay or start recording at that point."),
        theme::font(12), theme::kTextMuted);
}

void supportArt(QPainter& p) {
    constexpr auto W = WindowId::Support;
    pageBackdrop(p);
    drawCard(p, QRectF(120, 70, 784, 320));
    drawGlow(p, QPointF(512, 228), 240, theme::kAccent, 18);
    drawText(p, QRectF(140, 86, 300, 20), QStringLiteral("Questions about your mouse?"),
             theme::font(13, QFont::DemiBold), theme::kText);
    drawText(p, QRectF(272, 122, 300, 25), QStringLiteral("Answers to the most common questions"),
             theme::font(12), theme::kTextMuted);
    const QRectF help = rectOf(W, 1071);
    drawText(p, QRectF(help.left(), help.top() - 40, help.width(), 30),
             QStringLiteral("Guides, downloads and contact with our team"), theme::font(14), theme::kText,
             Qt::AlignCenter);
    p.fillRect(QRectF(340, 286, 344, 1), theme::kCardBorder);
    const QRectF fw = rectOf(W, 1082);
    const QRectF sw = rectOf(W, 1081);
    drawText(p, QRectF(340, fw.center().y() - 9, 150, 18), QStringLiteral("Firmware Version"),
             theme::font(13), theme::kTextMuted, Qt::AlignRight | Qt::AlignVCenter);
    drawText(p, QRectF(340, sw.center().y() - 9, 150, 18), QStringLiteral("Software Version"),
             theme::font(13), theme::kTextMuted, Qt::AlignRight | Qt::AlignVCenter);
}

// The frame every pop-up and the rename dialog share.
void dialogFrame(QPainter& p, const QString& title) {
    const QRectF all(0, 0, kPopupSize.width, kPopupSize.height);
    fillBackdrop(p, all);
    p.fillRect(QRectF(0, 0, all.width(), 25), theme::kChrome);
    p.fillRect(QRectF(0, 25, all.width(), 1), theme::kCardBorder);
    p.fillRect(QRectF(0, 0, all.width(), 2), theme::kAccent);
    drawText(p, QRectF(12, 3, 300, 22), title, theme::font(13, QFont::Bold), theme::kText);
    p.save();
    p.setPen(QPen(theme::kCardBorder, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(all.adjusted(0.5, 0.5, -0.5, -0.5));
    p.restore();
}

enum class Sign { Warning, Question, Info, Done, Key };

void sign(QPainter& p, const QPointF& c, Sign kind) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = kind == Sign::Warning ? theme::kWarning : theme::kAccent;
    p.setPen(QPen(ink, 2.2));
    p.setBrush(QColor(ink.red(), ink.green(), ink.blue(), 28));
    QString mark = QStringLiteral("i");
    switch (kind) {
    case Sign::Warning: {
        const QPointF tri[] = {{c.x(), c.y() - 17}, {c.x() + 19, c.y() + 15}, {c.x() - 19, c.y() + 15}};
        p.drawPolygon(tri, 3);
        mark = QStringLiteral("!");
        break;
    }
    case Sign::Question:
        p.drawEllipse(c, 18, 18);
        mark = QStringLiteral("?");
        break;
    case Sign::Done:
        p.drawEllipse(c, 18, 18);
        p.restore();
        drawCheckMark(p, QRectF(c.x() - 13, c.y() - 13, 26, 26), ink);
        return;
    case Sign::Key:
        p.drawRoundedRect(QRectF(c.x() - 18, c.y() - 15, 36, 30), 6, 6);
        mark = QStringLiteral("K");
        break;
    case Sign::Info:
        p.drawEllipse(c, 18, 18);
        break;
    }
    p.restore();
    drawText(p, QRectF(c.x() - 18, c.y() - (kind == Sign::Warning ? 13 : 18), 36, 36), mark,
             theme::font(kind == Sign::Key ? 16 : 20, QFont::Black), ink, Qt::AlignCenter);
}

void message(QPainter& p, const QString& headline, const QString& body, qreal left = 72, qreal right = 392) {
    drawText(p, QRectF(left, 40, right - left, 20), headline, theme::font(15, QFont::Bold),
             theme::kTextBright, Qt::AlignLeft | Qt::AlignVCenter);
    drawWrapped(p, QRectF(left, 66, right - left, 80), body, theme::font(13), theme::kText);
}

void popupArt(QPainter& p, WindowId id) {
    switch (id) {
    case WindowId::Rename:
        dialogFrame(p, QStringLiteral("Rename Profile"));
        drawText(p, QRectF(20, 41, 88, 20), QStringLiteral("Profile name"), theme::font(13), theme::kText,
                 Qt::AlignRight | Qt::AlignVCenter);
        drawWrapped(p, QRectF(114, 70, 270, 60),
                    QStringLiteral("Up to 7 characters. The name is stored with the profile when you apply."),
                    theme::font(12), theme::kTextMuted);
        break;
    case WindowId::LeftClickWarn:
        dialogFrame(p, QStringLiteral("Left Click"));
        sign(p, QPointF(38, 62), Sign::Warning);
        message(p, QStringLiteral("This is the last Left click button."),
                QStringLiteral("One button must always keep Left click, so you can still use your computer. "
                               "Give Left click to another button first."));
        break;
    case WindowId::DeleteMacro:
        dialogFrame(p, QStringLiteral("Delete Macro"));
        sign(p, QPointF(38, 62), Sign::Question);
        message(
            p, QStringLiteral("Delete the selected macro?"),
            QStringLiteral("Buttons that use this macro go back to their default function. This cannot be "
                           "undone."));
        break;
    case WindowId::SensorSqat1:
        dialogFrame(p, QStringLiteral("Surface Analysis"));
        sign(p, QPointF(38, 62), Sign::Info);
        message(p, QStringLiteral("Place the mouse on your mouse pad."),
                QStringLiteral("Press Start, then keep moving the mouse in wide circles on the pad until the "
                               "measurement ends."));
        break;
    case WindowId::SensorSqat2:
        dialogFrame(p, QStringLiteral("Surface Analysis"));
        drawText(p, QRectF(224, 44, 170, 20), QStringLiteral("Measuring..."), theme::font(15, QFont::Bold),
                 theme::kTextBright);
        drawWrapped(p, QRectF(224, 68, 166, 56), QStringLiteral("Keep moving the mouse on the pad."),
                    theme::font(13), theme::kText);
        drawText(p, QRectF(224, 130, 62, 18), QStringLiteral("Time left"), theme::font(12), theme::kTextMuted,
                 Qt::AlignLeft | Qt::AlignVCenter);
        drawText(p, QRectF(306, 130, 40, 18), QStringLiteral("s"), theme::font(12), theme::kTextMuted,
                 Qt::AlignLeft | Qt::AlignVCenter);
        break;
    case WindowId::SensorSqat3:
        dialogFrame(p, QStringLiteral("Surface Analysis"));
        sign(p, QPointF(38, 62), Sign::Done);
        message(p, QStringLiteral("Analysis finished."),
                QStringLiteral("You can stop moving the mouse. Press Finish to see the result under Surface "
                               "Quality."));
        break;
    case WindowId::ResetWarn:
        dialogFrame(p, QStringLiteral("Reset to Default"));
        sign(p, QPointF(38, 62), Sign::Warning);
        message(p, QStringLiteral("Reset all five profiles?"),
                QStringLiteral("Every profile returns to its factory settings and is written to the mouse. "
                               "Your changes will be lost."));
        break;
    case WindowId::UpdateWarn:
        dialogFrame(p, QStringLiteral("Firmware Update"));
        sign(p, QPointF(38, 62), Sign::Info);
        message(p, QStringLiteral("A firmware update is available."),
                QStringLiteral("Press Update to install it now. Press Quit to close the program without "
                               "updating."));
        break;
    case WindowId::AssignKey:
        dialogFrame(p, QStringLiteral("Single Key"));
        sign(p, QPointF(38, 62), Sign::Key);
        drawText(p, QRectF(72, 40, 320, 20), QStringLiteral("Press the key to assign."),
                 theme::font(15, QFont::Bold), theme::kTextBright);
        drawText(p, QRectF(72, 62, 320, 18), QStringLiteral("The last key you touch is shown below."),
                 theme::font(12), theme::kTextMuted);
        drawText(p, QRectF(72, 97, 62, 21), QStringLiteral("Key"), theme::font(13), theme::kText,
                 Qt::AlignRight | Qt::AlignVCenter);
        drawInset(p, QRectF(136, 96, 200, 23), false, 3);
        drawText(p, QRectF(72, 126, 320, 18), QStringLiteral("Press OK to assign it to the button."),
                 theme::font(12), theme::kTextMuted);
        break;
    default:
        break;
    }
}

} // namespace

void paintWindowArt(QPainter& p, const WindowLayout& window) {
    switch (window.id) {
    case WindowId::Main:
        mainArt(p);
        break;
    case WindowId::MouseSettings:
        mouseSettingsArt(p);
        break;
    case WindowId::SensorPerformance:
        sensorArt(p);
        break;
    case WindowId::ColorSettings:
        colorArt(p);
        break;
    case WindowId::MacroSettings:
        macroArt(p);
        break;
    case WindowId::Support:
        supportArt(p);
        break;
    default:
        popupArt(p, window.id);
        break;
    }
}

} // namespace skingen
