#pragma once
// CPopDlg: every confirmation, warning and step pop-up of the program. The
// mode chosen at construction picks the pop-up's picture, which carries the
// message; the pop-up itself only draws a
// countdown or a key name. Three modes form the surface-analysis chain of
// the sensor page, one captures a key for a mouse button.

#include "controls/buttons.h"
#include "controls/combo_button.h"
#include "controls/image_dialog.h"
#include "controls/statics.h"
#include "pages/device_access.h"
#include "platform/key_capture.h"
#include "platform/message_boxes.h"
#include "skins/skin_store.h"
#include "ui_layout/control_table.h"

#include <QPointer>

#include <chrono>

namespace talwyn::pages {

// The mode of a pop-up; its number is also the pop-up's control ID.
enum class PopMode : int {
    LeftClickWarn = 167,
    DeleteMacro = 171,
    SensorSqat1 = 175,
    SensorSqat2 = 179,
    SensorSqat3 = 185,
    ResetWarn = 188,
    UpdateWarn = 192,
    AssignKey = 196,
};

inline constexpr PopMode kAllPopModes[] = {PopMode::LeftClickWarn, PopMode::DeleteMacro, PopMode::SensorSqat1,
                                           PopMode::SensorSqat2,   PopMode::SensorSqat3, PopMode::ResetWarn,
                                           PopMode::UpdateWarn,    PopMode::AssignKey};

// The window of the control table that lays the mode out and names its pictures.
ui_layout::WindowId windowOf(PopMode mode);

namespace popup_id {
inline constexpr controls::ControlId kOk = 1076;
inline constexpr controls::ControlId kCancel = 1077;
inline constexpr controls::ControlId kClose = 1078;
inline constexpr controls::ControlId kTime = 1079;
inline constexpr controls::ControlId kImage = 1080;
} // namespace popup_id

// "Time" of AssignKey is widened to the key field of its picture: at its
// table width of 46 pixels most key names ("Left SHIFT") were cut off.
inline constexpr int kKeyNameWidth = 194;

// The function code a button gets for a single captured key.
inline constexpr int32_t kSingleKeyFunction = 13;

// What the pop-ups use of the program. The key capture is needed by
// AssignKey (and released by every pop-up that has one when it closes); the
// device access by SensorSQAT1. Every object must outlive the pop-up.
struct PopupServices {
    skins::SkinStore& skins;
    platform::MessageBoxes& messages;
    platform::KeyCapture* keyCapture = nullptr;
    DeviceAccess* device = nullptr;
};

class CPopDlg : public controls::CVexImageDialog {
    Q_OBJECT
public:
    static constexpr int kCountdownTimer = 1;
    static constexpr int kConfirmTimer = 2;
    static constexpr std::chrono::milliseconds kCountdownInterval{1000};
    static constexpr std::chrono::milliseconds kConfirmDelay{500};
    static constexpr int kCountdownStart = 10;

    CPopDlg(PopMode mode, const PopupServices& services, QWidget* parent = nullptr);
    ~CPopDlg() override;

    PopMode mode() const { return mode_; }
    // The button whose choice AssignKey sets; set before running the pop-up.
    void setTarget(controls::CVexComboButton* target) { target_ = target; }

    // The captured virtual-key code, 0 until a key arrives.
    int capturedKey() const { return capturedKey_; }
    // What "Time" shows: the countdown or the captured key's name.
    QString timeText() const;
    // The countdown picture shown (0 to 2).
    int countdownPicture() const;
    bool countdownRunning() const;

    // One tick of timer 1; public so tests can step the countdown.
    void countdownTick();

    void done(int result) override;
    void reject() override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void layOut();
    void startKeyCapture();
    void confirm();
    void dismiss();
    // Runs the next pop-up of the chain modally over this one and ends with its verdict.
    void runNextStep(PopMode next);
    void captureKey(int virtualKey);
    controls::CVexButton* makeButton(controls::ControlId id);

    PopMode mode_;
    PopupServices services_;
    QPointer<controls::CVexComboButton> target_;
    controls::NumberedTimers timers_{this};
    controls::CVexButton* ok_ = nullptr;
    controls::CVexButton* cancel_ = nullptr;
    controls::CVexButton* close_ = nullptr;
    controls::CVexStatic* time_ = nullptr;
    controls::CVexStatic* image_ = nullptr;
    int capturedKey_ = 0;
};

} // namespace talwyn::pages
