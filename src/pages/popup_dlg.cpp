#include "pages/popup_dlg.h"

#include "button_functions/key_names.h"
#include "controls/edits.h"
#include "controls/paint_support.h"
#include "device/user_texts.h"
#include "pages/skinning.h"

#include <QKeyEvent>
#include <QTimerEvent>

#include <string>

namespace talwyn::pages {

namespace {

using ui_layout::WindowId;

constexpr int kTimeFontHeight = 14;
constexpr controls::Argb kTimeTextColor = 0xFFD2D2D2;
constexpr int kCountdownPictureCount = static_cast<int>(ui_layout::kCountdownPictures.size());

QString keyText(int virtualKey) {
    return QString::fromStdU16String(button_functions::keyName(virtualKey));
}

bool isKeyEvent(const QEvent* event) {
    return event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease ||
           event->type() == QEvent::ShortcutOverride;
}

} // namespace

ui_layout::WindowId windowOf(PopMode mode) {
    switch (mode) {
    case PopMode::LeftClickWarn:
        return WindowId::LeftClickWarn;
    case PopMode::DeleteMacro:
        return WindowId::DeleteMacro;
    case PopMode::SensorSqat1:
        return WindowId::SensorSqat1;
    case PopMode::SensorSqat2:
        return WindowId::SensorSqat2;
    case PopMode::SensorSqat3:
        return WindowId::SensorSqat3;
    case PopMode::ResetWarn:
        return WindowId::ResetWarn;
    case PopMode::UpdateWarn:
        return WindowId::UpdateWarn;
    case PopMode::AssignKey:
        return WindowId::AssignKey;
    }
    return WindowId::LeftClickWarn; // unreachable: every mode is listed
}

CPopDlg::CPopDlg(PopMode mode, const PopupServices& services, QWidget* parent)
    : controls::CVexImageDialog(parent), mode_(mode), services_(services) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setControlId(static_cast<int>(mode));
    layOut();
    if (mode_ == PopMode::SensorSqat2) {
        timers_.start(kCountdownTimer, kCountdownInterval);
    }
    if (mode_ == PopMode::AssignKey) {
        startKeyCapture();
    }
}

CPopDlg::~CPopDlg() {
    // The capture is the program's one hook: closing any pop-up that knows it releases it.
    if (services_.keyCapture != nullptr) {
        services_.keyCapture->remove();
    }
}

controls::CVexButton* CPopDlg::makeButton(controls::ControlId id) {
    const QRect rect = tableRect(windowOf(mode_), id);
    if (rect.isEmpty()) {
        return nullptr;
    }
    auto* button = new controls::CVexButton(this);
    button->setControlId(id);
    button->setFocusPolicy(Qt::NoFocus);
    skinButton(*button, services_.skins, windowOf(mode_), id);
    button->installEventFilter(this);
    return button;
}

void CPopDlg::layOut() {
    SetBackground(services_.skins.background(windowOf(mode_)));
    ok_ = makeButton(popup_id::kOk);
    cancel_ = makeButton(popup_id::kCancel);
    close_ = makeButton(popup_id::kClose);
    if (ok_ != nullptr) {
        connect(ok_, &QAbstractButton::clicked, this, [this] { confirm(); });
        ok_->setEnabled(mode_ != PopMode::SensorSqat2);
    }
    for (auto* button : {cancel_, close_}) {
        if (button != nullptr) {
            connect(button, &QAbstractButton::clicked, this, [this] { dismiss(); });
        }
    }

    QRect timeRect = tableRect(windowOf(mode_), popup_id::kTime);
    if (!timeRect.isEmpty()) {
        const bool keyName = mode_ == PopMode::AssignKey;
        if (keyName) {
            timeRect.setWidth(kKeyNameWidth);
        }
        time_ = new controls::CVexStatic(this);
        time_->setControlId(popup_id::kTime);
        skinStatic(*time_, services_.skins, windowOf(mode_), timeRect);
        time_->setTextColor(kTimeTextColor);
        time_->setCentreHorizontally(!keyName);
        if (keyName) {
            time_->SetFontHeight(kTimeFontHeight);
            time_->SetText(QString());
        } else {
            time_->SetText(QString::number(kCountdownStart));
        }
    }
    const QRect imageRect = tableRect(windowOf(mode_), popup_id::kImage);
    if (!imageRect.isEmpty()) {
        image_ = new controls::CVexStatic(this);
        image_->setControlId(popup_id::kImage);
        skinStatic(*image_, services_.skins, windowOf(mode_), imageRect);
        for (const auto& picture : ui_layout::kCountdownPictures) {
            image_->AddImage(skins::loadImageFile(services_.skins.folder() /
                                                  std::filesystem::path(std::string(picture.name))));
        }
        image_->setCurrentImage(0);
    }
    installEventFilter(this);
}

void CPopDlg::startKeyCapture() {
    if (services_.keyCapture == nullptr || !services_.keyCapture->install(this)) {
        services_.messages.warn(QStringLiteral("set hook failed."), this);
    }
    setFocus();
}

QString CPopDlg::timeText() const {
    return time_ != nullptr ? time_->GetCurrentText() : QString();
}

int CPopDlg::countdownPicture() const {
    return image_ != nullptr ? image_->currentImage() : 0;
}

bool CPopDlg::countdownRunning() const {
    return timers_.isActive(kCountdownTimer);
}

void CPopDlg::countdownTick() {
    if (mode_ != PopMode::SensorSqat2 || time_ == nullptr) {
        return;
    }
    int left = controls::leadingInteger(time_->GetCurrentText());
    if (left <= 0) {
        if (ok_ != nullptr) {
            ok_->setEnabled(true);
        }
        timers_.stop(kCountdownTimer);
        return;
    }
    --left;
    time_->SetText(QString::number(left));
    if (image_ != nullptr) {
        image_->setCurrentImage((kCountdownStart - left) % kCountdownPictureCount);
    }
    if (left == 0) {
        // The measurement confirms itself half a second after the count ends;
        // a timer keeps the pop-up responsive meanwhile.
        timers_.start(kConfirmTimer, kConfirmDelay);
    }
}

void CPopDlg::confirm() {
    switch (mode_) {
    case PopMode::SensorSqat1:
        if (services_.device == nullptr) {
            services_.messages.warn(QString::fromLatin1(device::kMouseNotFound), this);
            return;
        }
        // One start at a time; the mouse answers on the device worker.
        ok_->setEnabled(false);
        services_.device->startSurfaceAnalysis(this, [this](bool found) {
            ok_->setEnabled(true);
            if (found) {
                runNextStep(PopMode::SensorSqat2);
            } else {
                services_.messages.warn(QString::fromLatin1(device::kMouseNotFound), this);
            }
        });
        return;
    case PopMode::SensorSqat2:
        timers_.stop(kConfirmTimer);
        runNextStep(PopMode::SensorSqat3);
        return;
    case PopMode::AssignKey:
        if (target_) {
            target_->setUpdateCaption(false);
            target_->SetCaption(keyText(capturedKey_), kSingleKeyFunction, capturedKey_);
        }
        endModal(controls::ModalResult::Ok);
        return;
    default:
        endModal(controls::ModalResult::Ok);
        return;
    }
}

void CPopDlg::dismiss() {
    if (mode_ == PopMode::AssignKey && target_) {
        target_->setUpdateCaption(false);
    }
    endModal(controls::ModalResult::Cancel);
}

void CPopDlg::reject() {
    // Closing the window counts as "Close".
    dismiss();
}

void CPopDlg::runNextStep(PopMode next) {
    CPopDlg step(next, services_, this);
    endModal(step.runModal());
}

void CPopDlg::captureKey(int virtualKey) {
    capturedKey_ = virtualKey;
    if (time_ != nullptr) {
        time_->SetText(keyText(virtualKey));
    }
}

void CPopDlg::done(int result) {
    // A pop-up that has ended neither counts down nor confirms by itself.
    timers_.stop(kCountdownTimer);
    timers_.stop(kConfirmTimer);
    controls::CVexImageDialog::done(result);
}

bool CPopDlg::event(QEvent* event) {
    if (event->type() == platform::CapturedKeyEvent::kType) {
        if (mode_ == PopMode::AssignKey) {
            captureKey(static_cast<platform::CapturedKeyEvent*>(event)->virtualKey());
        }
        return true;
    }
    return controls::CVexImageDialog::event(event);
}

bool CPopDlg::eventFilter(QObject* watched, QEvent* event) {
    // AssignKey drops every key meant for itself or its buttons: the key is
    // being captured, not pressed on the pop-up.
    if (mode_ == PopMode::AssignKey && isKeyEvent(event)) {
        event->accept();
        return true;
    }
    return controls::CVexImageDialog::eventFilter(watched, event);
}

void CPopDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter is "OK" in every mode that sees keys, also while the
        // countdown keeps the button itself disabled: it opens the last step.
        confirm();
        event->accept();
        return;
    }
    controls::CVexImageDialog::keyPressEvent(event);
}

void CPopDlg::timerEvent(QTimerEvent* event) {
    switch (timers_.numberOf(event->timerId())) {
    case kCountdownTimer:
        countdownTick();
        return;
    case kConfirmTimer:
        timers_.stop(kConfirmTimer);
        confirm();
        return;
    default:
        controls::CVexImageDialog::timerEvent(event);
    }
}

} // namespace talwyn::pages
