#pragma once
// The macro page until its controls exist: it shows its page background, owns
// the macro library, loads it when created and writes it when asked, so the
// user's macros survive every apply and exit.

#include "controls/image_dialog.h"
#include "macros/macro_files.h"
#include "macros/macro_library.h"
#include "pages/page.h"

#include <filesystem>

namespace talwyn::platform {
class MessageBoxes;
}

namespace talwyn::pages {

class PlaceholderMacroPage final : public controls::CVexImageDialog, public MacroPage {
    Q_OBJECT
public:
    // Loads the library from `folder` (a missing list leaves it empty) and
    // warns once through `messages` when part of it could not be read.
    PlaceholderMacroPage(const QImage& background, std::filesystem::path folder,
                         platform::MessageBoxes& messages, QWidget* parent);

    QWidget& window() override { return *this; }
    bool isRecording() const override { return false; }
    MacroLibrary& macroLibrary() override { return library_; }
    bool saveMacroList() override;
    const std::filesystem::path& folder() const { return folder_.path(); }

private:
    MacroFolder folder_;
    MacroLibrary library_;
};

} // namespace talwyn::pages
