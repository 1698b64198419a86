#include "app/qt_slot_dialogs.h"

#include "pages/rename_dlg.h"

#include <QFileDialog>

namespace talwyn::app {

namespace {

const QString kProfileFilter = QStringLiteral("Mouse Profile (*.profile)");

std::optional<std::filesystem::path> chosenPath(const QString& chosen) {
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(chosen.toStdString());
}

} // namespace

bool QtSlotDialogs::confirmReset(QWidget* parent) {
    pages::CPopDlg warning(pages::PopMode::ResetWarn, popups_, parent);
    return warning.runModal() == controls::ModalResult::Ok;
}

bool QtSlotDialogs::renameSlot(int slot, ProfileSet& profiles, controls::CVexButton& slotButton,
                               QWidget* parent) {
    pages::CRenameDlg dialog(slot, profiles, slotButton, popups_.skins, parent);
    return dialog.runModal() == controls::ModalResult::Ok;
}

std::optional<std::filesystem::path> QtSlotDialogs::exportTarget(const std::filesystem::path& suggested,
                                                                 QWidget* parent) {
    // The export overwrites without asking.
    return chosenPath(QFileDialog::getSaveFileName(parent, QObject::tr("Export Profile"),
                                                   QString::fromStdString(suggested.string()), kProfileFilter,
                                                   nullptr, QFileDialog::DontConfirmOverwrite));
}

std::optional<std::filesystem::path> QtSlotDialogs::importSource(const std::filesystem::path& folder,
                                                                 QWidget* parent) {
    return chosenPath(QFileDialog::getOpenFileName(parent, QObject::tr("Import Profile"),
                                                   QString::fromStdString(folder.string()), kProfileFilter));
}

} // namespace talwyn::app
