#pragma once
// The lighting page until its controls exist: it shows its page background
// and leaves a profile's lighting as it is.

#include "controls/image_dialog.h"
#include "pages/page.h"

namespace talwyn::pages {

class PlaceholderLightingPage final : public controls::CVexImageDialog, public LightingPage {
    Q_OBJECT
public:
    PlaceholderLightingPage(const QImage& background, QWidget* parent);

    QWidget& window() override { return *this; }
    void saveToProfile(ProfileData& profile) override;
    void loadFromProfile(ProfileData& profile) override;
};

} // namespace talwyn::pages
