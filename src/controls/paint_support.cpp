#include "controls/paint_support.h"

#include <QFontMetrics>

#include <algorithm>
#include <map>
#include <utility>

namespace talwyn::controls {

QFont arialFont(int height, int weight) {
    // Fonts are asked for often while painting; the fitted size never changes.
    static std::map<std::pair<int, int>, QFont> cache;
    const auto key = std::make_pair(height, weight);
    if (auto it = cache.find(key); it != cache.end()) {
        return it->second;
    }
    QFont font(QStringLiteral("Arial"));
    font.setWeight(static_cast<QFont::Weight>(weight)); // the 1-1000 scale of window fonts
    font.setStyleStrategy(QFont::PreferAntialias);
    int pixelSize = std::max(1, height);
    font.setPixelSize(pixelSize);
    while (pixelSize > 1 && QFontMetrics(font).height() > height) {
        font.setPixelSize(--pixelSize);
    }
    cache.emplace(key, font);
    return font;
}

void drawStretched(QPainter& painter, const QRect& target, const QImage& image) {
    if (image.isNull() || target.isEmpty()) {
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, image);
}

QPoint labelOrigin(const QRect& rect, QSize textSize, bool centreX, bool centreY) {
    QPoint origin = rect.topLeft();
    if (centreX) {
        origin.rx() += (rect.width() - textSize.width()) / 2;
    }
    if (centreY) {
        origin.ry() += (rect.height() - textSize.height()) / 2;
    }
    return origin;
}

void DrawLabel(const QString& text, QColor colour, bool centreX, bool centreY, const QRect& rect,
               const QFont& font, QPainter& painter) {
    const QFontMetrics metrics(font);
    const QSize textSize(metrics.horizontalAdvance(text), metrics.height());
    const QPoint origin = labelOrigin(rect, textSize, centreX, centreY);
    painter.setFont(font);
    painter.setPen(colour);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(QRect(origin, textSize), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}

} // namespace talwyn::controls
