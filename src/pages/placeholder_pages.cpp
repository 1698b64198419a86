#include "pages/placeholder_pages.h"

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

} // namespace talwyn::pages
