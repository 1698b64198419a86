#include "pages/placeholder_pages.h"

#include "macros/macro_files.h"

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

void PlaceholderLightingPage::loadFromProfile(const ProfileData&) {}

PlaceholderSensorPage::PlaceholderSensorPage(const QImage& background, QWidget* parent)
    : CVexImageDialog(parent) {
    makePageWindow(*this, background);
}

// Only the active level has a place here: the indicators.
void PlaceholderSensorPage::saveToProfile(ProfileData& profile) {
    for (int level = 0; level < kLevelIndicators; ++level) {
        if (indicators_[static_cast<size_t>(level)]) {
            profile.activeDpiLevel = static_cast<uint8_t>(level + 1);
        }
    }
}

void PlaceholderSensorPage::loadFromProfile(const ProfileData& profile) {
    indicators_.fill(false);
    if (profile.activeDpiLevel >= 1 && profile.activeDpiLevel <= kLevelIndicators) {
        indicators_[static_cast<size_t>(profile.activeDpiLevel - 1)] = true;
    }
}

void PlaceholderSensorPage::setActiveLevelIndicator(int level) {
    if (level < 0 || level >= kLevelIndicators) {
        return;
    }
    indicators_.fill(false);
    indicators_[static_cast<size_t>(level)] = true;
}

bool PlaceholderSensorPage::levelIndicatorSet(int level) const {
    return level >= 0 && level < kLevelIndicators && indicators_[static_cast<size_t>(level)];
}

PlaceholderMacroPage::PlaceholderMacroPage(const QImage& background, std::filesystem::path folder,
                                           QWidget* parent)
    : CVexImageDialog(parent), folder_(std::move(folder)) {
    makePageWindow(*this, background);
    loadMacros(library_, folder_);
}

bool PlaceholderMacroPage::saveMacroList() {
    return saveMacros(library_, folder_);
}

} // namespace talwyn::pages
