#pragma once
// CRenameDlg: asks for a new name of one profile slot and puts it on the
// slot's profile and on its profile button. Nothing is written here; the
// name travels with the next save and apply.

#include "controls/buttons.h"
#include "controls/edits.h"
#include "controls/image_dialog.h"
#include "profiles/profile_set.h"
#include "skins/skin_store.h"

#include <QPointer>

#include <chrono>

namespace talwyn::pages {

namespace rename_id {
inline constexpr controls::ControlId kOk = 1072;
inline constexpr controls::ControlId kCancel = 1073;
inline constexpr controls::ControlId kClose = 1074;
inline constexpr controls::ControlId kName = 1075;
} // namespace rename_id

// The edit keeps this many UTF-16 units, one fewer when the cut would split
// a surrogate pair.
inline constexpr int kRenameEditLimit = 7;

// `text` cut to at most `limit` units without splitting a surrogate pair.
QString cutWithoutSplitting(const QString& text, int limit);

class CRenameDlg : public controls::CVexImageDialog {
    Q_OBJECT
public:
    static constexpr int kTrimTimer = 1;
    static constexpr std::chrono::milliseconds kTrimInterval{50};

    // `slot` is 1 to 5; `profiles` and `slotButton` (the slot's profile
    // button in the main window) must outlive the dialog.
    CRenameDlg(int slot, ProfileSet& profiles, controls::CVexButton& slotButton, skins::SkinStore& skins,
               QWidget* parent = nullptr);

    int slot() const { return slot_; }
    controls::CVexEdit& nameEdit() { return *edit_; }

    // One tick of timer 1; public so tests can step it.
    void trimTick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void confirm();
    controls::CVexButton* makeButton(controls::ControlId id);

    int slot_;
    ProfileSet& profiles_;
    QPointer<controls::CVexButton> slotButton_;
    skins::SkinStore& skins_;
    controls::NumberedTimers timers_{this};
    controls::CVexEdit* edit_ = nullptr;
};

} // namespace talwyn::pages
