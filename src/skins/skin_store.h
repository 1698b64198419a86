#pragma once
// The skin store: the pictures of the skin folder, handed out by window,
// control and state as the layout table places them.
//
// Nothing is read before it is asked for, and a control's look is read from
// its sheet as just the rectangle it covers: starting a window costs the
// pixels it shows, not the whole skin set (about 60 MB decoded). Pictures that
// have to be decoded whole are kept until the event loop next runs, so the
// controls of one window share one decoding.

#include "ui_layout/control_table.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QRect>
#include <QString>

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

class QPainter;

namespace talwyn::skins {

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
    using WindowId = ui_layout::WindowId;
    using SkinRole = ui_layout::SkinRole;
    using SkinState = ui_layout::SkinState;

    explicit SkinStore(std::filesystem::path folder,
                       SkinFailureHandler failure = SkinFailureHandler::interactive());

    // Whether every file of the list is there and whole as far as its
    // structure tells; the failure handler runs for the first that is not.
    // Cheap (no pixels are read), so a program checks before it shows
    // anything that later reads would find a file gone bad.
    bool checkFiles();

    // Every request below hands out a null image for anything the layout
    // table does not give the window, or whose file is missing or damaged,
    // after the failure handler ran.

    // The whole window: its own background file, or else its Normal sheet.
    QImage background(WindowId window);
    // A control's look: the window's sheet of `state` cut at the control's rectangle.
    QImage controlLook(WindowId window, int controlId, SkinState state);
    // The window's sheet of `state` cut at `rect`, for a control drawn wider
    // than its table rectangle; empty for an empty rectangle.
    QImage sheetCut(WindowId window, SkinState state, const QRect& rect);
    // A picture the window's controls draw, in the state the file is listed for.
    QImage picture(WindowId window, SkinRole role, SkinState state = SkinState::Normal);
    // Every picture of a numbered family (the level thumbs), in list order;
    // none when the window does not list the family.
    std::vector<QImage> pictures(WindowId window, SkinRole role);

    const std::filesystem::path& folder() const { return folder_; }

    // Drops the decoded pictures; the next request reads its file again.
    void releaseSheets();
    size_t heldSheetCount() const;

private:
    QImage fail();
    std::filesystem::path pathOf(size_t file) const;
    // `rect` of the file (all of it without one), or a null image after the
    // failure handler ran.
    QImage fileImage(std::optional<size_t> file, const std::optional<QRect>& rect);
    void releaseWhenIdle();

    std::filesystem::path folder_;
    SkinFailureHandler failure_;
    std::array<QImage, ui_layout::kSkinFiles.size()> images_;
    bool releasePending_ = false;
    QObject releaseContext_; // cancels a pending release with the store
};

// The program's store over the skin folder beside the executable.
SkinStore& skinStore();

} // namespace talwyn::skins
