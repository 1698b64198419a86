#include "skins/skin_store.h"

#include "controls/paint_support.h"
#include "skins/bitmap_sheet.h"
#include "skins/file_check.h"
#include "skins/table_rect.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <fstream>
#include <optional>

namespace talwyn::skins {

namespace {

using ui_layout::kSkinFiles;
using ui_layout::SkinRole;
using ui_layout::SkinState;

// No skin picture comes near this; a larger file is not one of ours.
constexpr std::uintmax_t kMaxImageFileBytes = 64u * 1024 * 1024;

std::optional<size_t> fileOf(SkinRole role, SkinState state) {
    for (size_t i = 0; i < kSkinFiles.size(); ++i) {
        if (kSkinFiles[i].role == role && kSkinFiles[i].state == state) {
            return i;
        }
    }
    return std::nullopt;
}

bool drawsPicture(const ui_layout::WindowLayout& layout, SkinRole role) {
    return std::find(layout.pictures.begin(), layout.pictures.end(), role) != layout.pictures.end();
}

} // namespace

QImage loadImageFile(const std::filesystem::path& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error || size == 0 || size > kMaxImageFileBytes) {
        return {};
    }
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    {
        std::ifstream file(path, std::ios::binary);
        if (!file.read(bytes.data(), static_cast<std::streamsize>(size))) {
            return {};
        }
    }
    // Decoded from the memory copy: the file is closed already.
    const QByteArray format = imageFormatOf(bytes);
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, format);
    // Our own files name their format; asking every image plugin whether it
    // knows the bytes would load them all.
    reader.setAutoDetectImageFormat(format.isEmpty());
    return reader.read();
}

void drawCenteredText(const QString& text, QColor colour, const QFont& font, const QRect& rect, bool centreX,
                      bool centreY, QPainter& painter) {
    controls::DrawLabel(text, colour, centreX, centreY, rect, font, painter);
}

SkinFailureHandler SkinFailureHandler::interactive() {
    return {[](const QString& message) { QMessageBox::warning(nullptr, QStringLiteral("ORVANE"), message); },
            [](int exitCode) {
                // Queued: the program ends when its event loop reaches this, as after a quit message.
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(), [exitCode] { QCoreApplication::exit(exitCode); },
                    Qt::QueuedConnection);
            }};
}

SkinStore::SkinStore(std::filesystem::path folder, SkinFailureHandler failure)
    : folder_(std::move(folder)), failure_(std::move(failure)) {}

bool SkinStore::checkFiles() {
    for (size_t i = 0; i < kSkinFiles.size(); ++i) {
        if (!imageFileLooksWhole(pathOf(i))) {
            fail();
            return false;
        }
    }
    return true;
}

void SkinStore::releaseSheets() {
    images_.fill(QImage());
}

size_t SkinStore::heldSheetCount() const {
    return static_cast<size_t>(
        std::count_if(images_.begin(), images_.end(), [](const QImage& image) { return !image.isNull(); }));
}

void SkinStore::releaseWhenIdle() {
    if (releasePending_ || QCoreApplication::instance() == nullptr) {
        return;
    }
    releasePending_ = true;
    QTimer::singleShot(0, &releaseContext_, [this] {
        releasePending_ = false;
        releaseSheets();
    });
}

QImage SkinStore::fail() {
    if (failure_.showMessage) {
        failure_.showMessage(QStringLiteral("ui load failed!"));
    }
    if (failure_.postQuit) {
        failure_.postQuit(0);
    }
    return {};
}

std::filesystem::path SkinStore::pathOf(size_t file) const {
    return folder_ / std::filesystem::path(std::string(kSkinFiles[file].name));
}

QImage SkinStore::fileImage(std::optional<size_t> file, const std::optional<QRect>& rect) {
    if (!file) {
        return fail();
    }
    if (images_[*file].isNull()) {
        // Plain bitmaps give just the pixels asked for, without keeping anything.
        SheetCut cut = cutBitmapFile(pathOf(*file), rect);
        if (cut.status == CutStatus::Done) {
            return std::move(cut.image);
        }
        if (cut.status == CutStatus::NotPlain) {
            images_[*file] = loadImageFile(pathOf(*file));
            releaseWhenIdle();
        }
    }
    const QImage& whole = images_[*file];
    if (whole.isNull()) {
        return fail();
    }
    if (!rect) {
        return whole;
    }
    return rect->isEmpty() ? QImage() : whole.copy(*rect);
}

QImage SkinStore::background(WindowId window) {
    const ui_layout::WindowLayout& layout = ui_layout::layoutOf(window);
    return fileImage(fileOf(layout.background.value_or(layout.sheets), SkinState::Normal), std::nullopt);
}

QImage SkinStore::controlLook(WindowId window, int controlId, SkinState state) {
    const auto rect = ui_layout::controlRect(window, controlId);
    if (!rect) {
        return fail();
    }
    return sheetCut(window, state, toQRect(*rect));
}

QImage SkinStore::sheetCut(WindowId window, SkinState state, const QRect& rect) {
    return fileImage(fileOf(ui_layout::layoutOf(window).sheets, state), rect);
}

QImage SkinStore::picture(WindowId window, SkinRole role, SkinState state) {
    if (!drawsPicture(ui_layout::layoutOf(window), role)) {
        return fail();
    }
    return fileImage(fileOf(role, state), std::nullopt);
}

std::vector<QImage> SkinStore::pictures(WindowId window, SkinRole role) {
    if (!drawsPicture(ui_layout::layoutOf(window), role)) {
        fail();
        return {};
    }
    std::vector<QImage> family;
    for (size_t i = 0; i < kSkinFiles.size(); ++i) {
        if (kSkinFiles[i].role == role) {
            family.push_back(fileImage(i, std::nullopt));
        }
    }
    return family;
}

SkinStore& skinStore() {
    static SkinStore store(std::filesystem::path(QCoreApplication::applicationDirPath().toStdU16String()) /
                           std::filesystem::path(std::string(ui_layout::kSkinFolderName)));
    return store;
}

} // namespace talwyn::skins
