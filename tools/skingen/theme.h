#pragma once
// The skin set's palette and type: dark charcoal surfaces, one mint accent,
// light grey text. Every picture takes its colours and fonts from here so the
// whole set stays consistent.

#include <QColor>
#include <QFont>
#include <QString>

namespace skingen::theme {

inline QColor rgb(unsigned value) {
    return QColor::fromRgb(value);
}

inline const QColor kBackdropTop = rgb(0x1E2023);
inline const QColor kBackdropBottom = rgb(0x16181A);
inline const QColor kChrome = rgb(0x121315); // title bar and bottom strip
inline const QColor kCard = rgb(0x202326);
inline const QColor kCardBorder = rgb(0x2C3034);
inline const QColor kInset = rgb(0x131416); // fields, panels, wells
inline const QColor kInsetBorder = rgb(0x393E43);
inline const QColor kControl = rgb(0x2A2E32);
inline const QColor kControlHigh = rgb(0x33383D);
inline const QColor kControlBorder = rgb(0x41474D);
inline const QColor kGroove = rgb(0x0E0F10);

inline const QColor kAccent = rgb(0x32EBA5);
inline const QColor kAccentDim = rgb(0x1F7D5B);
inline const QColor kAccentDeep = rgb(0x15382B);
inline const QColor kAccentInk = rgb(0x0B2A1E); // text on a mint surface

inline const QColor kText = rgb(0xD2D2D2);
inline const QColor kTextBright = rgb(0xFFFFFF);
inline const QColor kTextMuted = rgb(0x8C9196);
inline const QColor kTextDisabled = rgb(0x5B5F63);
inline const QColor kDisabledBody = rgb(0x1C1E20);
inline const QColor kDisabledBorder = rgb(0x2A2D30);

inline const QColor kWarning = rgb(0xF2B544);
inline const QColor kDanger = rgb(0xE5484D);

inline const QString kFontFamily = QStringLiteral("Liberation Sans");

inline QFont font(int pixelSize, QFont::Weight weight = QFont::Normal) {
    QFont f(kFontFamily);
    f.setPixelSize(pixelSize);
    f.setWeight(weight);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

} // namespace skingen::theme
