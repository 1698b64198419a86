#include "pages/placeholder_pages.h"

#include "platform/message_boxes.h"
#include "profiles/utf16.h"

namespace talwyn::pages {

PlaceholderMacroPage::PlaceholderMacroPage(const QImage& background, std::filesystem::path folder,
                                           platform::MessageBoxes& messages, QWidget* parent)
    : CVexImageDialog(parent), folder_(std::move(folder)) {
    setWindowFlags(Qt::Widget);
    SetBackground(background);
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
