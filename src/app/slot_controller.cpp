#include "app/slot_controller.h"

#include "app/main_controls.h"
#include "app/shown_path.h"
#include "app/slot_dialogs.h"
#include "controls/buttons.h"

#include <QObject>

namespace talwyn::app {

SlotController::SlotController(Parts parts) : parts_(std::move(parts)) {}

void SlotController::refreshAll() {
    for (int i = 0; i < ProfileSet::kSlotCount; ++i) {
        refresh(i);
    }
    parts_.controls.highlightSlot(parts_.profiles.currentIndex());
}

void SlotController::refresh(int index) {
    const ProfileData& slot = parts_.profiles.slot(index);
    controls::CVexButton& button = parts_.controls.slotButton(index);
    button.SetCaption(QString::fromStdU16String(slot.name));
    button.setEnabled(slot.enabled != 0);
}

void SlotController::select(int index) {
    parts_.controls.highlightSlot(index);
    parts_.pages.storeInto(parts_.profiles.current());
    parts_.profiles.selectSlot(index);
    parts_.pages.loadFrom(parts_.profiles.current());
}

void SlotController::showApplied() {
    parts_.pages.loadFrom(parts_.profiles.slot(parts_.profiles.appliedIndex()));
}

void SlotController::runMenu(int index, SlotMenuItem item) {
    ProfileSet& profiles = parts_.profiles;
    QWidget* window = &parts_.window;
    switch (item) {
    case SlotMenuItem::Rename:
        if (parts_.dialogs.renameSlot(index + 1, profiles, parts_.controls.slotButton(index), window)) {
            refresh(index);
        }
        break;
    case SlotMenuItem::Save:
        if (!profiles.saveSlot(index)) {
            parts_.warn(QObject::tr("The profile could not be saved to %1.")
                            .arg(shownPath(profiles.slot(index).filePath)));
        }
        break;
    case SlotMenuItem::Export:
        if (const auto chosen = parts_.dialogs.exportTarget(profiles.suggestedExportPath(index), window)) {
            if (!profiles.exportSlot(index, *chosen)) {
                parts_.warn(QObject::tr("The profile could not be exported to %1.")
                                .arg(QString::fromStdString(ProfileSet::exportTarget(*chosen).string())));
            }
        }
        break;
    case SlotMenuItem::Import:
        if (const auto source = parts_.dialogs.importSource(ProfileSet::exchangeFolder(), window)) {
            const ProfileLoad result = profiles.importSlot(index, *source);
            parts_.pages.loadFrom(profiles.slot(index));
            refresh(index);
            if (result != ProfileLoad::Loaded) {
                const std::string_view reason = describe(result);
                parts_.warn(
                    QObject::tr("The profile could not be imported from %1: %2.")
                        .arg(QString::fromStdString(source->string()),
                             QString::fromUtf8(reason.data(), static_cast<qsizetype>(reason.size()))));
            }
        }
        break;
    case SlotMenuItem::ToggleEnabled:
        profiles.toggleEnabled(index);
        refresh(index);
        break;
    }
}

bool SlotController::reset() {
    if (!parts_.dialogs.confirmReset(&parts_.window)) {
        return false;
    }
    parts_.profiles.resetAll();
    refreshAll();
    parts_.pages.loadFrom(parts_.profiles.current());
    return true;
}

} // namespace talwyn::app
