// The lighting page in the running program on a private X server, driven by
// synthetic pointer and keyboard input: a colour typed, an effect and a
// brightness picked reach the slot on "Apply", and drags in the colour pickers
// reach the edits and the preview.

#include "pages_xvfb_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace talwyn {
namespace {

using namespace pages_e2e;
using ui_layout::WindowId;

// The slot image's bytes at `offset`, as hexadecimal digits.
std::string imageBytes(const std::string& imageHex, size_t offset, size_t count) {
    return imageHex.size() >= 2 * (offset + count) ? imageHex.substr(2 * offset, 2 * count) : std::string();
}

// Whether a pixel shows a colour value (red in bits 0-7) darkened by some factor, as the preview
// shows a zone at its brightness below the mouse picture's tinted window.
bool showsDarkened(QRgb pixel, uint32_t value) {
    const double shown[] = {double(qRed(pixel)), double(qGreen(pixel)), double(qBlue(pixel))};
    const double colour[] = {double(value & 0xFF), double(value >> 8 & 0xFF), double(value >> 16 & 0xFF)};
    const double shownMax = *std::max_element(std::begin(shown), std::end(shown));
    const double colourMax = *std::max_element(std::begin(colour), std::end(colour));
    if (shownMax < 20 || colourMax == 0) {
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        if (std::abs(shown[i] / shownMax - colour[i] / colourMax) > 0.03) {
            return false;
        }
    }
    return true;
}

TEST_F(PagesEndToEnd, LightingTypedAndPickedReachesTheSlotAndThePreview) {
    constexpr int kThumbWidth = ui_layout::kThumbSize.width;
    desktop_->clickControl(WindowId::Main, 1002);
    desktop_->clickControl(WindowId::ColorSettings, 1063); // "Solid Color"
    desktop_->clickControl(WindowId::ColorSettings, 1087); // the hexadecimal edit
    desktop_->type("3366cc", 150ms);
    desktop_->clickControl(WindowId::ColorSettings, 1061); // "Breathing"
    desktop_->drag(thumbCentre(WindowId::ColorSettings, 1102, 5, 1, 5, kThumbWidth),
                   thumbCentre(WindowId::ColorSettings, 1102, 3, 1, 5, kThumbWidth));

    const auto stored = applyUntil([](const ProfileData& profile) {
        return profile.lightZones == 0x0F && profile.lightEffect == 4 && profile.lightBrightness == 3;
    });
    ASSERT_TRUE(stored) << errors();
    EXPECT_EQ(stored->lightZones, 0x0F);
    EXPECT_EQ(stored->lightEffect, 4);
    EXPECT_EQ(stored->lightBrightness, 3);
    EXPECT_EQ(stored->lightColors[0], 0xCC6633u);
    EXPECT_EQ(stored->lightColors[3], 0xCC6633u);
    EXPECT_EQ(stored->pickerColor, 0xCC6633);
    // Scroll wheel and logo: 33 66 CC at half brightness, then the effect; brightness 50 %.
    std::string slotHex;
    EXPECT_TRUE(waitFor([&] {
        const nlohmann::json state = mouseState();
        slotHex = state.is_null() ? std::string() : state.at("images").at(0).get<std::string>();
        return imageBytes(slotHex, 0x17, 4) == "19336604" && imageBytes(slotHex, 0x1B, 4) == "19336604" &&
               imageBytes(slotHex, 0x20, 1) == "32";
    })) << imageBytes(slotHex, 0x17, 10);

    // A steady light, then a drag on the hue strip and one in the colour field.
    desktop_->clickControl(WindowId::ColorSettings, 1043); // "Solid"
    const auto grabPage = [this] {
        return platform::testing::grabWindow(xvfb_.displayName(), "Talwyn PRO Software");
    };
    const QRect hexEdit =
        toQRect(*ui_layout::controlRect(WindowId::ColorSettings, 1087)).translated(Desktop::kPageOrigin);
    const QImage before = grabPage().copy(hexEdit);
    const QRect strip =
        toQRect(*ui_layout::controlRect(WindowId::ColorSettings, 1106)).translated(Desktop::kPageOrigin);
    desktop_->drag(QPoint(strip.center().x(), strip.top() + 20),
                   QPoint(strip.center().x(), strip.bottom() - 40)); // from blue toward yellow
    const QRect field =
        toQRect(*ui_layout::controlRect(WindowId::ColorSettings, 1112)).translated(Desktop::kPageOrigin);
    desktop_->drag(field.center(), field.topLeft() + QPoint(110, 30));
    const QImage after = grabPage();
    EXPECT_NE(after.copy(hexEdit), before); // the edits show the picked colour

    // A click on the page's background hands the focus to the decimal edits, which hold the
    // picked colour: the zones keep it.
    desktop_->click(Desktop::kPageOrigin + QPoint(700, 200));
    const auto picked =
        applyUntil([](const ProfileData& profile) { return profile.pickerColor != 0xCC6633; });
    ASSERT_TRUE(picked) << errors();
    const auto pickedColor = static_cast<uint32_t>(picked->pickerColor);
    EXPECT_EQ(picked->lightColors[0], pickedColor);
    EXPECT_EQ(picked->lightColors[3], pickedColor);
    EXPECT_EQ(picked->lightEffect, 1);

    // The preview's scroll wheel zone shows it, and no longer the typed colour.
    const ui_layout::Rect preview = *ui_layout::controlRect(WindowId::ColorSettings, 1085);
    const QPoint wheelZone = Desktop::kPageOrigin + QPoint(preview.x, preview.y) +
                             QPoint(ui_layout::kMouseZone1.x + ui_layout::kMouseZone1.width / 2,
                                    ui_layout::kMouseZone1.y + ui_layout::kMouseZone1.height / 2);
    const QRgb shown = grabPage().pixel(wheelZone);
    EXPECT_TRUE(showsDarkened(shown, pickedColor)) << std::hex << shown << " for " << pickedColor;
    EXPECT_FALSE(showsDarkened(shown, 0xCC6633)) << std::hex << shown;
}

} // namespace
} // namespace talwyn
