#include "pages/macro_settings_dlg.h"

#include "controls/first_show.h"
#include "controls/macro_commands.h"
#include "controls/macro_editor.h"
#include "controls/macro_list.h"
#include "pages/skinning.h"
#include "platform/key_capture.h"
#include "platform/message_boxes.h"
#include "profiles/utf16.h"
#include "skins/skin_store.h"
#include "ui_layout/skin_files.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <algorithm>
#include <stdexcept>

namespace talwyn::pages {

using controls::CommandValue;
using controls::ControlId;
using controls::CVexButton;
using controls::CVexCheckBox;
using ui_layout::SkinRole;

namespace {

constexpr auto kWindow = ui_layout::WindowId::MacroSettings;

// The scroll bar sheets: Normal is the track, Down the parts at rest, Over
// the parts pressed.
controls::ScrollImages scrollImages(skins::SkinStore& skins) {
    const QImage rest = skins.picture(kWindow, SkinRole::ScrollBar, SkinState::Down);
    const QImage pressed = skins.picture(kWindow, SkinRole::ScrollBar, SkinState::Over);
    const auto part = [](const QImage& sheet, const ui_layout::Rect& rect) {
        return sheet.copy(skins::toQRect(rect));
    };
    return {skins.picture(kWindow, SkinRole::ScrollBar, SkinState::Normal),
            part(rest, ui_layout::kScrollThumbPart),
            part(pressed, ui_layout::kScrollThumbPart),
            part(rest, ui_layout::kScrollUpPart),
            part(pressed, ui_layout::kScrollUpPart),
            part(rest, ui_layout::kScrollDownPart),
            part(pressed, ui_layout::kScrollDownPart)};
}

template <typename Button> Button* makeButton(QWidget* parent, skins::SkinStore& skins, ControlId id) {
    auto* button = placeControl<Button>(parent, kWindow, id);
    controls::whenFirstShown(*button, [button, &skins, id] {
        const auto look = [&](SkinState state) { return skins.controlLook(kWindow, id, state); };
        button->SetImages(look(SkinState::Normal), look(SkinState::Over), look(SkinState::Down),
                          look(SkinState::Disable));
    });
    return button;
}

bool isEnter(const QKeyEvent& key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

} // namespace

CMacroSettingsDlg::CMacroSettingsDlg(QWidget* parent, MacroPageServices services,
                                     std::filesystem::path folder)
    : CVexImageDialog(parent), services_(services), folder_(std::move(folder)) {
    setWindowFlags(Qt::Widget);
    setControlId(kTemplateId);
    skinPageBackground(*this, services_.skins, kWindow);
    buildControls();
    loadLibrary();
    // Keys go to the focused control; the page sees them first to finish
    // entries on Enter and to keep recorded keys from operating it.
    QCoreApplication::instance()->installEventFilter(this);
}

CMacroSettingsDlg::~CMacroSettingsDlg() {
    if (captureInstalled_) {
        services_.keyCapture->remove();
    }
}

void CMacroSettingsDlg::buildControls() {
    skins::SkinStore& skins = services_.skins;
    list_ = placeControl<controls::CVexListBox>(this, kWindow, kListId);
    list_->setScrollImages(scrollImages(skins));
    editor_ = placeControl<controls::CVexMacroCtrl>(this, kWindow, kEditorId);
    editor_->setScrollImages(scrollImages(skins));
    // The looks of a page built hidden are cut when it is first shown.
    controls::whenFirstShown(*this, [this, &skins] {
        list_->SetBackground(skins.controlLook(kWindow, kListId, SkinState::Normal));
        editor_->SetBackground(skins.controlLook(kWindow, kEditorId, SkinState::Normal));
    });
    editor_->setMacroFolder(folder_);
    editor_->menu();

    newMacro_ = makeButton<CVexButton>(this, skins, kNewMacroId);
    delete_ = makeButton<CVexButton>(this, skins, kDeleteId);
    startRecord_ = makeButton<CVexButton>(this, skins, kStartRecordId);
    stopRecord_ = makeButton<CVexButton>(this, skins, kStopRecordId);
    for (CVexButton* record : {startRecord_, stopRecord_}) {
        const std::string_view caption = ui_layout::findControl(kWindow, record->controlId())->caption;
        record->SetCaption(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
    }
    stopRecord_->hide();
    recordDelay_ = makeButton<CVexCheckBox>(this, skins, kRecordDelayId);
    recordHold_ = makeButton<CVexCheckBox>(this, skins, kRecordHoldId);

    connect(newMacro_, &CVexButton::clicked, this, &CMacroSettingsDlg::newMacro);
    connect(delete_, &CVexButton::clicked, this, &CMacroSettingsDlg::deleteMacro);
    connect(startRecord_, &CVexButton::clicked, this, &CMacroSettingsDlg::startRecordingFresh);
    connect(stopRecord_, &CVexButton::clicked, this, &CMacroSettingsDlg::stopRecording);
    // Each box has toggled itself when it reports the click; the two exclude each other.
    connect(recordDelay_, &CVexCheckBox::clicked, this, [this] {
        if (recordDelay_->checkedFlag()) {
            recordHold_->setCheckedFlag(false);
        }
    });
    connect(recordHold_, &CVexCheckBox::clicked, this, [this] {
        if (recordHold_->checkedFlag()) {
            recordDelay_->setCheckedFlag(false);
        }
    });
}

void CMacroSettingsDlg::loadLibrary() {
    if (editor_->loadMacros().incomplete()) {
        services_.messages.warn(
            tr("Part of the macro library could not be read. The macros that could be read are "
               "shown; the files that could not are kept in %1.")
                .arg(QString::fromStdU16String(fromPath(editor_->macroFolder()))),
            this);
    }
    // Each row added is selected and shown, so the last macro ends up shown.
    const MacroLibrary& library = editor_->library();
    for (size_t i = 0; i < library.size(); ++i) {
        list_->addExistingMacro(library.at(i).name, library.at(i).macroId);
    }
}

MacroLibrary& CMacroSettingsDlg::macroLibrary() {
    return editor_->library();
}

bool CMacroSettingsDlg::saveMacroList() {
    return editor_->saveMacros();
}

CVexButton& CMacroSettingsDlg::button(ControlId id) const {
    for (CVexButton* each : {newMacro_, delete_, startRecord_, stopRecord_}) {
        if (each->controlId() == id) {
            return *each;
        }
    }
    throw std::out_of_range("no such button on the macro page");
}

void CMacroSettingsDlg::newMacro() {
    if (isRecording()) {
        return;
    }
    list_->newMacro();
    recordHold_->setCheckedFlag(false);
}

void CMacroSettingsDlg::deleteMacro() {
    if (isRecording() || !services_.popups.confirmDeleteMacro(this)) {
        return;
    }
    const size_t rowsBefore = list_->rows().size();
    list_->deleteSelectedMacro();
    if (list_->rows().size() != rowsBefore && macroDeleted_) {
        macroDeleted_();
    }
}

void CMacroSettingsDlg::startRecording() {
    setRecordingLook(true);
    list_->finishNaming();
    recorder_.start(services_.clock.now());
    editor_->setRecording(true);
    if (!captureInstalled_) {
        captureInstalled_ = services_.keyCapture != nullptr && services_.keyCapture->install(this);
        if (!captureInstalled_) {
            // No keys will come; the page still records until "Stop Record".
            services_.messages.warn(QString::fromUtf16(kStartHookFailed), this);
        }
    }
}

// "Start Record": the recording replaces the shown macro's events.
void CMacroSettingsDlg::startRecordingFresh() {
    startRecording();
    if (editor_->shownMacro() != nullptr) {
        editor_->clearShownEvents();
        editor_->update();
    }
    recordHold_->setEnabled(false);
    recordDelay_->setEnabled(false);
}

void CMacroSettingsDlg::stopRecording() {
    setRecordingLook(false);
    recordHold_->setEnabled(true);
    recordDelay_->setEnabled(true);
    recorder_.stop();
    editor_->setRecording(false);
    if (captureInstalled_) {
        services_.keyCapture->remove();
        captureInstalled_ = false;
    }
}

void CMacroSettingsDlg::setRecordingLook(bool recording) {
    startRecord_->setVisible(!recording);
    stopRecord_->setVisible(recording);
}

void CMacroSettingsDlg::onCommand(ControlId first, CommandValue second) {
    namespace command = controls::macro_command;
    switch (first) {
    case command::kSelectionChanged:
        showSelectedMacro(static_cast<int32_t>(second));
        break;
    case command::kMacroDeleted:
        editor_->removeMacro(static_cast<int32_t>(second));
        break;
    case command::kStartRecordFromMenu:
        startRecording();
        break;
    case controls::command::kMenuClosing:
        controls::sendCommand(parentWidget(), first, second);
        break;
    default:
        break; // hover notices of the buttons
    }
}

void CMacroSettingsDlg::showSelectedMacro(int32_t id) {
    const controls::CBoxItem* row = list_->selectedRow();
    if (row == nullptr) {
        return;
    }
    editor_->showMacro(id, row->name);
    if (const CMacro* shown = editor_->shownMacro()) {
        setRecordOptionsFor(*shown);
    }
}

// A macro without releases was recorded with "Record Hold"; showing it sets
// the boxes so that recording more keeps its style.
void CMacroSettingsDlg::setRecordOptionsFor(const CMacro& macro) {
    const bool pressesOnly = !macro.events.empty() &&
                             std::none_of(macro.events.begin(), macro.events.end(),
                                          [](const CEventItem& e) { return e.flag == event_flag::kRelease; });
    recordHold_->setCheckedFlag(pressesOnly);
    if (pressesOnly) {
        recordDelay_->setCheckedFlag(false);
    }
}

void CMacroSettingsDlg::onKeyMessage(KeyMessage key) {
    const RecordOptions options{recordDelay_->checkedFlag(), recordHold_->checkedFlag()};
    const std::optional<RecordedKey> recorded = recorder_.onKeyMessage(key, services_.clock.now(), options);
    CMacro* shown = editor_->shownMacro();
    if (!recorded || shown == nullptr) {
        return;
    }
    editor_->addEvent(*shown, event_type::kKey, recorded->code, recorded->flag, recorded->delay,
                      editor_->insertMode());
    editor_->update();
}

bool CMacroSettingsDlg::event(QEvent* event) {
    if (event->type() == platform::CapturedKeyEvent::kType) {
        const auto* key = static_cast<const platform::CapturedKeyEvent*>(event);
        onKeyMessage({key->virtualKey(), key->released()});
        return true;
    }
    return CVexImageDialog::event(event);
}

bool CMacroSettingsDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || (widget != this && !isAncestorOf(widget))) {
        return false;
    }
    if (isEnter(*static_cast<const QKeyEvent*>(event))) {
        list_->finishNaming();
        editor_->finishDelayEdit();
    }
    return isRecording();
}

} // namespace talwyn::pages
