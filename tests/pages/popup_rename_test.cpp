#include "pages/rename_dlg.h"

#include "pages/popup_fixture.h"
#include "pages/skinning.h"

#include <QTest>

#include <gtest/gtest.h>

namespace talwyn::pages {
namespace {

using controls::ModalResult;
using testing::clickControl;
using testing::findControl;
using testing::testSkins;
using testing::whenModal;

struct RenameTest : ::testing::Test {
    ProfileSet profiles;
    controls::CVexButton slotButton;

    RenameTest() { slotButton.SetCaption(QString::fromStdU16String(profiles.slot(2).name)); }
    QString slotName() const { return QString::fromStdU16String(profiles.slot(2).name); }
};

TEST_F(RenameTest, LaysOutOnItsPictureWithAnEmptyFocusedEdit) {
    CRenameDlg dialog(3, profiles, slotButton, testSkins());
    EXPECT_EQ(dialog.size(), QSize(404, 190));
    for (const auto& entry : ui_layout::layoutOf(ui_layout::WindowId::Rename).controls) {
        QWidget* control = findControl<QWidget>(dialog, entry.id);
        ASSERT_NE(control, nullptr) << entry.id;
        EXPECT_EQ(control->geometry(), skins::toQRect(entry.rect)) << entry.id;
    }
    EXPECT_TRUE(dialog.nameEdit().text().isEmpty());
    whenModal<CRenameDlg>(&dialog, nullptr, [](CRenameDlg& d) {
        EXPECT_TRUE(d.nameEdit().hasFocus());
        // A click beside the edit takes the focus from it.
        QTest::mouseClick(&d, Qt::LeftButton, {}, QPoint(30, 120));
        EXPECT_FALSE(d.nameEdit().hasFocus());
        d.reject();
    });
    dialog.runModal();
}

TEST_F(RenameTest, TypedNameKeepsSevenCharactersAndBecomesTheSlotName) {
    CRenameDlg dialog(3, profiles, slotButton, testSkins());
    whenModal<CRenameDlg>(&dialog, nullptr, [](CRenameDlg& d) {
        QTest::keyClicks(&d.nameEdit(), QStringLiteral("Competition"));
        // The 50 ms trim timer cuts it back.
        QTRY_COMPARE(d.nameEdit().text(), QStringLiteral("Competi"));
        EXPECT_EQ(d.nameEdit().cursorPosition(), 7);
        EXPECT_FALSE(d.nameEdit().hasSelectedText());
        clickControl(d, rename_id::kOk);
    });
    EXPECT_EQ(dialog.runModal(), ModalResult::Ok);
    EXPECT_EQ(slotName(), QStringLiteral("Competi"));
    EXPECT_EQ(slotButton.caption(), QStringLiteral("Competi"));
    // Other slots keep their names.
    EXPECT_EQ(profiles.slot(1).name, ProfileSet::defaultSlotName(1));
}

TEST_F(RenameTest, EnterConfirmsFromTheEditAndAnEmptyNameStaysEmpty) {
    CRenameDlg dialog(3, profiles, slotButton, testSkins());
    whenModal<CRenameDlg>(&dialog, nullptr,
                          [](CRenameDlg& d) { QTest::keyClick(&d.nameEdit(), Qt::Key_Return); });
    EXPECT_EQ(dialog.runModal(), ModalResult::Ok);
    EXPECT_EQ(slotName(), QString());
    EXPECT_EQ(slotButton.caption(), QString());
}

TEST_F(RenameTest, CancelCloseAndEscapeChangeNothing) {
    const std::function<void(CRenameDlg&)> dismissals[] = {
        [](CRenameDlg& d) { clickControl(d, rename_id::kCancel); },
        [](CRenameDlg& d) { clickControl(d, rename_id::kClose); },
        [](CRenameDlg& d) { QTest::keyClick(&d.nameEdit(), Qt::Key_Escape); },
    };
    const QString before = slotName();
    for (const auto& dismiss : dismissals) {
        CRenameDlg dialog(3, profiles, slotButton, testSkins());
        whenModal<CRenameDlg>(&dialog, nullptr, [&dismiss](CRenameDlg& d) {
            QTest::keyClicks(&d.nameEdit(), QStringLiteral("Other"));
            dismiss(d);
        });
        EXPECT_EQ(dialog.runModal(), ModalResult::Cancel);
        EXPECT_EQ(slotName(), before);
        EXPECT_EQ(slotButton.caption(), before);
    }
}

TEST_F(RenameTest, DisabledEditIsNotTrimmed) {
    CRenameDlg dialog(3, profiles, slotButton, testSkins());
    dialog.nameEdit().setText(QStringLiteral("Eleven char"));
    dialog.nameEdit().setEnabled(false);
    dialog.trimTick();
    EXPECT_EQ(dialog.nameEdit().text(), QStringLiteral("Eleven char"));
}

TEST_F(RenameTest, SlotOutsideOneToFiveRenamesNothing) {
    for (const int slot : {0, 6}) {
        CRenameDlg dialog(slot, profiles, slotButton, testSkins());
        dialog.nameEdit().setText(QStringLiteral("Ghost"));
        whenModal<CRenameDlg>(&dialog, nullptr, [](CRenameDlg& d) { clickControl(d, rename_id::kOk); });
        EXPECT_EQ(dialog.runModal(), ModalResult::Cancel);
        for (int i = 0; i < ProfileSet::kSlotCount; ++i) {
            EXPECT_EQ(profiles.slot(i).name, ProfileSet::defaultSlotName(i));
        }
    }
}

TEST(CutWithoutSplitting, KeepsSurrogatePairsWhole) {
    const QString face = QString::fromUtf16(u"\U0001F600");
    struct Case {
        QString text;
        QString expected;
    };
    const Case cases[] = {
        {QStringLiteral("short"), QStringLiteral("short")},
        {QStringLiteral("exactly"), QStringLiteral("exactly")},
        {QStringLiteral("Competition"), QStringLiteral("Competi")},
        {QStringLiteral("abcdef") + face, QStringLiteral("abcdef")}, // the pair would straddle the cut
        {QStringLiteral("abcde") + face + QStringLiteral("x"), QStringLiteral("abcde") + face},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cutWithoutSplitting(c.text, kRenameEditLimit), c.expected) << c.text.toStdString();
    }
}

} // namespace
} // namespace talwyn::pages
