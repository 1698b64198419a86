#include "skin_set.h"

#include "control_looks.h"
#include "paint_kit.h"
#include "pictures.h"
#include "theme.h"
#include "ui_layout/control_table.h"
#include "window_art.h"

#include <QPainter>
#include <algorithm>
#include <charconv>
#include <system_error>

namespace skingen {

using namespace talwyn::ui_layout;

namespace {

const WindowLayout* windowForSheet(SkinRole role) {
    for (const auto& w : kWindows) {
        if (w.sheets == role || w.background == role) {
            return &w;
        }
    }
    return nullptr;
}

QImage renderWindow(const WindowLayout& window, std::optional<SkinState> state) {
    QImage img(window.size.width, window.size.height, QImage::Format_ARGB32_Premultiplied);
    img.fill(theme::kBackdropBottom);
    QPainter p(&img);
    paintWindowArt(p, window);
    if (state) {
        for (const auto& control : window.controls) {
            paintControlLook(p, control, *state);
        }
    }
    return img;
}

// The leading number of a name such as "70.bmp", "Slider3_Over.png" or "TQA2-2.bmp".
int numberAfter(std::string_view name, std::string_view prefix) {
    name.remove_prefix(std::min(prefix.size(), name.size()));
    int value = 0;
    std::from_chars(name.data(), name.data() + name.size(), value);
    return value;
}

QString nameOf(const SkinFile& f) {
    return QString::fromUtf8(f.name.data(), qsizetype(f.name.size()));
}

} // namespace

QImage renderSkinFile(const SkinFile& f) {
    switch (f.role) {
    case SkinRole::ColorBackground:
    case SkinRole::MacroBackground:
        return renderWindow(*windowForSheet(f.role), std::nullopt);
    case SkinRole::ColorSlider:
        return renderColorSlider();
    case SkinRole::SliderThumb:
        return renderThumb(f.state);
    case SkinRole::SliderThumbOver:
        return renderLevelThumb(numberAfter(f.name, "Slider"));
    case SkinRole::ColorPanel:
        return renderColorPanel();
    case SkinRole::ColorPalette:
        return renderColorPalette();
    case SkinRole::MousePicture:
        return renderMousePicture();
    case SkinRole::ScrollBar:
        return renderScroll(f.state);
    case SkinRole::SurfacePicture:
        return renderSurfacePicture(numberAfter(f.name, ""));
    case SkinRole::CountdownPicture:
        return renderCountdownPicture(numberAfter(f.name, "TQA2-") - 1);
    case SkinRole::AppIcon:
        return renderAppIcon();
    default:
        break;
    }
    const WindowLayout* window = windowForSheet(f.role);
    return window ? renderWindow(*window, f.state) : QImage();
}

std::string saveImage(const QImage& image, const std::filesystem::path& target, SkinFormat format) {
    if (image.isNull()) {
        return "nothing was drawn for " + target.filename().string();
    }
    std::filesystem::path temporary = target;
    temporary += ".part";
    const bool png = format == SkinFormat::Png;
    // Bitmaps carry no alpha channel; PNG keeps it.
    const QImage out =
        png ? image.convertToFormat(QImage::Format_ARGB32) : image.convertToFormat(QImage::Format_RGB888);
    if (!out.save(QString::fromStdString(temporary.string()), png ? "PNG" : "BMP")) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return "cannot write " + temporary.string();
    }
    std::error_code ec;
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        return "cannot replace " + target.string();
    }
    return {};
}

std::string writeSkinSet(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        return "cannot create " + folder.string() + ": " + ec.message();
    }
    for (const auto& f : allGeneratedFiles()) {
        if (auto error = saveImage(renderSkinFile(f), folder / std::string(f.name), f.format);
            !error.empty()) {
            return error;
        }
    }
    return {};
}

QImage renderContactSheet() {
    constexpr int columns = 6;
    constexpr int cellWidth = 300;
    constexpr int pictureHeight = 190;
    constexpr int cellHeight = pictureHeight + 34;
    constexpr int margin = 16;
    const auto files = allGeneratedFiles();
    const int rows = int((files.size() + columns - 1) / columns);
    QImage sheet(columns * cellWidth + 2 * margin, rows * cellHeight + 2 * margin + 40,
                 QImage::Format_ARGB32_Premultiplied);
    sheet.fill(theme::rgb(0x0C0D0E));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    drawText(p, QRectF(margin, 8, 800, 30), QStringLiteral("Talwyn PRO skin set"),
             theme::font(20, QFont::Bold), theme::kAccent);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const QImage img = renderSkinFile(files[i]);
        const int x = margin + int(i % columns) * cellWidth;
        const int y = margin + 40 + int(i / columns) * cellHeight;
        const QSize fitted =
            img.size().scaled(cellWidth - 12, pictureHeight, Qt::KeepAspectRatio).boundedTo(img.size() * 2);
        const QRect target(x + (cellWidth - fitted.width()) / 2, y + (pictureHeight - fitted.height()) / 2,
                           fitted.width(), fitted.height());
        if (files[i].format == SkinFormat::Png) {
            // A checkerboard shows where the picture is transparent.
            for (int cy = target.top(); cy < target.bottom(); cy += 8) {
                for (int cx = target.left(); cx < target.right(); cx += 8) {
                    const bool dark = ((cx - target.left()) / 8 + (cy - target.top()) / 8) % 2 == 0;
                    p.fillRect(QRect(cx, cy, 8, 8).intersected(target),
                               dark ? theme::rgb(0x3A3A3A) : theme::rgb(0x555555));
                }
            }
        }
        p.drawImage(target, img);
        p.setPen(theme::kCardBorder);
        p.drawRect(target.adjusted(-1, -1, 0, 0));
        const QString label =
            nameOf(files[i]) + QStringLiteral("  %1 x %2").arg(img.width()).arg(img.height());
        drawText(p, QRectF(x, y + pictureHeight + 4, cellWidth, 18), label, theme::font(12), theme::kText,
                 Qt::AlignHCenter | Qt::AlignTop);
    }
    return sheet;
}

} // namespace skingen
