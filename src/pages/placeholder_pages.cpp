#include "pages/placeholder_pages.h"

#include "platform/message_boxes.h"
#include "profiles/utf16.h"

namespace talwyn::pages {

namespace {

void makePageWindow(controls::CVexImageDialog& page, const QImage& background) {
    page.setWindowFlags(Qt::Widget);
    page.SetBackground(background);
}

} // namespace

PlaceholderLightingPage::PlaceholderLightingPage(const QImage& background, QWidget* parent)
    : CVexImageDialog(parent) {
    makePageWindow(*this, background);
}

// Without controls the page holds no lighting of its own: the profile keeps its values.
void PlaceholderLightingPage::saveToProfile(ProfileData&) {}

void PlaceholderLightingPage::loadFromProfile(ProfileData&) {}

PlaceholderMacroPage::PlaceholderMacroPage(const QImage& background, std::filesystem::path folder,
                                           platform::MessageBoxes& messages, QWidget* parent)
    : CVexImageDialog(parent), folder_(std::move(folder)) {
    makePageWindow(*this, background);
    if (folder_.load(library_).incomplete()) {
        messages.warn(tr("Part of the macro library could not be read. The macros that could be read are "
                         "shown; the files that could not are kept in %1.")
                          .arg(QString::fromStdU16String(fromPath(folder_.path()))),
                      this);
    }
}

bool PlaceholderMacroPage::saveMacroList() {
    return folder_.save(library_);
}

} // namespace talwyn::pages
