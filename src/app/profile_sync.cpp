#include "app/profile_sync.h"

#include "app/device_owner.h"
#include "app/shown_path.h"
#include "device/user_texts.h"

#include <QObject>
#include <QStringList>

#include <memory>

namespace talwyn::app {

ProfileSync::ProfileSync(Parts parts) : parts_(std::move(parts)) {}

void ProfileSync::apply() {
    ++busy_;
    ProfileData& current = parts_.profiles.current();
    parts_.pages.storeInto(current);
    parts_.pages.button->applyPointerSettings(current);
    // Set below, before the answer can arrive: answers run on this thread.
    auto macrosSaved = std::make_shared<bool>(false);
    parts_.device.apply(
        &parts_.receiver, parts_.profiles, [this](int applied) { parts_.profiles.setApplied(applied); },
        [this, macrosSaved](const ApplyOutcome& outcome) { finishApply(outcome, *macrosSaved); });
    // Written while the worker talks to the mouse. The library belongs to the
    // macro page and changes on this thread only, so it is written here
    // rather than by the worker.
    *macrosSaved = parts_.pages.macro->saveMacroList();
}

void ProfileSync::finishApply(const ApplyOutcome& outcome, bool macrosSaved) {
    if (!outcome.unsavedSlots.empty() || !macrosSaved) {
        QStringList lost;
        for (int index : outcome.unsavedSlots) {
            lost << shownPath(parts_.profiles.slot(index).filePath);
        }
        if (!macrosSaved) {
            lost << QObject::tr("the macro library");
        }
        parts_.warn(QObject::tr("Could not save: %1").arg(lost.join(QStringLiteral(", "))));
    }
    if (!outcome.mouseFound) {
        parts_.warn(QString::fromLatin1(device::kMouseNotFound));
    }
    --busy_;
    parts_.applied();
}

void ProfileSync::synchronize() {
    parts_.device.synchronize(&parts_.receiver, parts_.slotInUse);
}

} // namespace talwyn::app
