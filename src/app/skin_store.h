#pragma once
// The skin store: every picture of the skin folder, loaded once on first use,
// and the index table by which controls ask for the piece of their window's
// sheet in the state they are in.
//
// Windows cut their pictures while they are being built, so the decoded sheets
// (about 60 MB) are dropped again once the event loop next runs; a window built
// later reads the few files it needs anew.

#include "ui_layout/skin_files.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QRect>
#include <QString>

#include <array>
#include <bitset>
#include <filesystem>
#include <functional>

class QPainter;

namespace talwyn::app {

// Reads the whole file into memory and decodes the copy, so the file is not
// kept open; BMP and PNG (with alpha). A null image when the file is missing,
// unreadable, too large or not an image.
QImage loadImageFile(const std::filesystem::path& path);

// Draws `text` transparently at the rectangle's top-left corner, moved to the
// middle along each axis whose flag is set ((extent - text extent) / 2).
void drawCenteredText(const QString& text, QColor colour, const QFont& font, const QRect& rect, bool centreX,
                      bool centreY, QPainter& painter);

// What a failed request does: tell the user, then end the program with code 0
// once the event loop sees it. Replaceable so tests can watch both.
struct SkinFailureHandler {
    std::function<void(const QString& message)> showMessage;
    std::function<void(int exitCode)> postQuit;

    static SkinFailureHandler interactive();
};

class SkinStore {
public:
    static constexpr int kStateCount = 4;

    explicit SkinStore(std::filesystem::path folder,
                       SkinFailureHandler failure = SkinFailureHandler::interactive());

    // Loads every file of the list once, in order. Missing files are not
    // reported here; the first request that needs one fails.
    void loadSkins();
    bool loaded() const { return loaded_; }

    // As the index table says: the shared sheet itself, a copy, or a cut of
    // (left, top)-(right, bottom); a null image for anything the table does not
    // name, after the failure handler ran.
    QImage skinImage(int index, int state, int left = 0, int top = 0, int right = 0, int bottom = 0);
    QImage skinImage(int index, int state, const QRect& rect) {
        return skinImage(index, state, rect.left(), rect.top(), rect.left() + rect.width(),
                         rect.top() + rect.height());
    }

    const std::filesystem::path& folder() const { return folder_; }

    // Drops the decoded sheets; the next request reads its file again.
    void releaseSheets();
    size_t heldSheetCount() const;

private:
    QImage fail();
    const QImage& sheetAt(size_t file);
    void releaseWhenIdle();

    std::filesystem::path folder_;
    SkinFailureHandler failure_;
    std::array<QImage, ui_layout::kSkinFiles.size()> images_;
    std::bitset<ui_layout::kSkinFiles.size()> released_;
    bool loaded_ = false;
    bool releasePending_ = false;
    QObject releaseContext_; // cancels a pending release with the store
};

// The program's store over the skin folder beside the executable.
SkinStore& skinStore();

} // namespace talwyn::app
