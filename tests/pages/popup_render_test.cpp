// Renders every pop-up and the rename dialog to PNG files (for review) and
// checks that what is drawn is the mode's own picture with its controls.

#include "pages/popup_dlg.h"
#include "pages/rename_dlg.h"

#include "pages/popup_fixture.h"
#include "platform/virtual_keys.h"
#include "support/fake_platform.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace talwyn::pages {
namespace {

using testing::findControl;
using testing::testSkins;

std::filesystem::path renderFolder() {
    const auto folder = std::filesystem::path(TALWYN_TEST_TMP) / "renders";
    std::filesystem::create_directories(folder);
    return folder;
}

QImage render(QWidget& window, const std::string& name) {
    const QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(image.save(QString::fromStdString((renderFolder() / (name + ".png")).string())));
    return image;
}

QImage sheetPiece(PopMode mode, const QRect& rect) {
    return testSkins().background(windowOf(mode)).copy(rect).convertToFormat(QImage::Format_RGB32);
}

TEST(PopupRender, EveryModeDrawsItsPictureAndItsTexts) {
    platform::FakeMessageBoxes messages;
    platform::FakeKeyCapture capture;
    for (const PopMode mode : kAllPopModes) {
        const auto& layout = ui_layout::layoutOf(windowOf(mode));
        SCOPED_TRACE(layout.name);
        CPopDlg popup(mode, {testSkins(), messages, &capture});
        if (mode == PopMode::AssignKey) {
            platform::CapturedKeyEvent key(platform::vk::kLShift, false);
            QCoreApplication::sendEvent(&popup, &key);
            ASSERT_EQ(popup.timeText(), QStringLiteral("Left SHIFT"));
        }
        const QImage image = render(popup, std::string(layout.name));
        ASSERT_EQ(image.size(), QSize(404, 190));
        QRect okRect = findControl(popup, popup_id::kOk)->geometry();
        if (auto* pictures = findControl<controls::CVexStatic>(popup, popup_id::kImage)) {
            // The countdown pictures overlap the button's top-left corner.
            okRect.setTop(okRect.intersected(pictures->geometry()).bottom() + 1);
        }
        EXPECT_EQ(image.copy(okRect), sheetPiece(mode, okRect));
        if (auto* time = findControl<controls::CVexStatic>(popup, popup_id::kTime)) {
            // The countdown or the key name is drawn over the picture.
            EXPECT_NE(image.copy(time->geometry()), sheetPiece(mode, time->geometry()));
        }
        if (auto* pictures = findControl<controls::CVexStatic>(popup, popup_id::kImage)) {
            const QImage first = skins::loadImageFile(testSkins().folder() / "TQA2-1.bmp");
            ASSERT_FALSE(first.isNull());
            EXPECT_EQ(image.copy(pictures->geometry()), first.convertToFormat(QImage::Format_RGB32));
        }
    }
}

TEST(PopupRender, RenameDrawsItsPictureAndTheName) {
    ProfileSet profiles;
    controls::CVexButton slotButton;
    CRenameDlg dialog(1, profiles, slotButton, testSkins());
    const QImage empty = render(dialog, "ReName_empty");
    EXPECT_EQ(empty,
              testSkins().background(ui_layout::WindowId::Rename).convertToFormat(QImage::Format_RGB32));
    dialog.nameEdit().setText(QStringLiteral("Sniper"));
    const QImage named = render(dialog, "ReName");
    const QRect editRect = dialog.nameEdit().geometry();
    EXPECT_NE(named.copy(editRect), empty.copy(editRect));
}

} // namespace
} // namespace talwyn::pages
