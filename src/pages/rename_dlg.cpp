#include "pages/rename_dlg.h"

#include "pages/skinning.h"
#include "ui_layout/control_table.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimerEvent>

namespace talwyn::pages {

namespace {
constexpr auto kWindow = ui_layout::WindowId::Rename;
} // namespace

QString cutWithoutSplitting(const QString& text, int limit) {
    if (text.size() <= limit) {
        return text;
    }
    int keep = limit;
    if (keep > 0 && text.at(keep - 1).isHighSurrogate()) {
        --keep;
    }
    return text.left(keep);
}

CRenameDlg::CRenameDlg(int slot, ProfileSet& profiles, controls::CVexButton& slotButton,
                       skins::SkinStore& skins, QWidget* parent)
    : controls::CVexImageDialog(parent), slot_(slot), profiles_(profiles), slotButton_(&slotButton),
      skins_(skins) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    SetBackground(skins_.background(kWindow));
    if (auto* ok = makeButton(rename_id::kOk)) {
        connect(ok, &QAbstractButton::clicked, this, [this] { confirm(); });
    }
    for (const controls::ControlId id : {rename_id::kCancel, rename_id::kClose}) {
        if (auto* button = makeButton(id)) {
            connect(button, &QAbstractButton::clicked, this,
                    [this] { endModal(controls::ModalResult::Cancel); });
        }
    }
    edit_ = new controls::CVexEdit(this);
    edit_->setControlId(rename_id::kName);
    edit_->setGeometry(tableRect(kWindow, rename_id::kName));
    edit_->SetBackground(skins_.controlLook(kWindow, rename_id::kName, SkinState::Normal));
    edit_->setFocus();
    timers_.start(kTrimTimer, kTrimInterval);
}

controls::CVexButton* CRenameDlg::makeButton(controls::ControlId id) {
    auto* button = new controls::CVexButton(this);
    button->setControlId(id);
    button->setFocusPolicy(Qt::NoFocus);
    skinButton(*button, skins_, kWindow, id);
    return button;
}

void CRenameDlg::trimTick() {
    if (!edit_->isEnabled() || edit_->text().size() <= kRenameEditLimit) {
        return;
    }
    const QString kept = cutWithoutSplitting(edit_->text(), kRenameEditLimit);
    edit_->setText(kept);
    edit_->setCursorPosition(static_cast<int>(kept.size()));
}

void CRenameDlg::confirm() {
    if (slot_ < 1 || slot_ > ProfileSet::kSlotCount) {
        // No such slot: nothing to rename.
        endModal(controls::ModalResult::Cancel);
        return;
    }
    const QString name = cutWithoutSplitting(edit_->text(), static_cast<int>(ProfileSet::kMaxNameLength));
    profiles_.rename(slot_ - 1, name.toStdU16String());
    if (slotButton_) {
        slotButton_->SetCaption(QString::fromStdU16String(profiles_.slot(slot_ - 1).name));
    }
    endModal(controls::ModalResult::Ok);
}

void CRenameDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        confirm();
        event->accept();
        return;
    }
    controls::CVexImageDialog::keyPressEvent(event);
}

void CRenameDlg::mousePressEvent(QMouseEvent* event) {
    // A click beside the edit takes the keyboard focus away from it.
    setFocus();
    controls::CVexImageDialog::mousePressEvent(event);
}

void CRenameDlg::timerEvent(QTimerEvent* event) {
    if (timers_.numberOf(event->timerId()) == kTrimTimer) {
        trimTick();
        return;
    }
    controls::CVexImageDialog::timerEvent(event);
}

} // namespace talwyn::pages
