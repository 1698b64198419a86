#pragma once
// The lighting and macro pages until their controls exist: each shows its
// page background and does what its page operations allow without controls.
// The lighting page leaves a profile's lighting as it is; the macro page owns
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

class PlaceholderLightingPage final : public controls::CVexImageDialog, public LightingPage {
    Q_OBJECT
public:
    PlaceholderLightingPage(const QImage& background, QWidget* parent);

    QWidget& window() override { return *this; }
    void saveToProfile(ProfileData& profile) override;
    void loadFromProfile(ProfileData& profile) override;
};

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
