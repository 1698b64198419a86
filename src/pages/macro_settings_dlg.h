#pragma once
// The "Macro Settings" page: the macro list on the left, the event editor of
// the selected macro on the right, buttons to create and delete macros, and
// keyboard recording into the shown macro. The editor owns the library.

#include "controls/buttons.h"
#include "controls/framework.h"
#include "controls/image_dialog.h"
#include "macros/macro_recording.h"
#include "pages/page.h"

#include <filesystem>
#include <functional>

namespace talwyn {
namespace controls {
class CVexListBox;
class CVexMacroCtrl;
} // namespace controls
namespace platform {
class KeyCapture;
class MessageBoxes;
} // namespace platform
namespace skins {
class SkinStore;
}
} // namespace talwyn

namespace talwyn::pages {

// The page's confirmation, behind one seam so tests can answer it.
class MacroPagePopups {
public:
    virtual ~MacroPagePopups() = default;
    // The "delete this macro?" pop-up; true when the user confirmed.
    virtual bool confirmDeleteMacro(QWidget* parent) = 0;
};

// What the page uses of the program; every object must outlive the page.
struct MacroPageServices {
    skins::SkinStore& skins;
    platform::MessageBoxes& messages;
    platform::KeyCapture* keyCapture = nullptr; // none: recording cannot start
    MacroPagePopups& popups;
    const controls::TickClock& clock = controls::systemTickClock();
};

inline constexpr char16_t kStartHookFailed[] = u"start hook failed!";

class CMacroSettingsDlg : public controls::CVexImageDialog, public MacroPage {
    Q_OBJECT
public:
    static constexpr controls::ControlId kTemplateId = 132;
    static constexpr controls::ControlId kListId = 1069;
    static constexpr controls::ControlId kEditorId = 1070;
    static constexpr controls::ControlId kNewMacroId = 1064;
    static constexpr controls::ControlId kDeleteId = 1065;
    static constexpr controls::ControlId kRecordDelayId = 1066;
    static constexpr controls::ControlId kRecordHoldId = 1071;
    static constexpr controls::ControlId kStartRecordId = 1067;
    static constexpr controls::ControlId kStopRecordId = 1068;

    // Loads the library kept in `folder` and lists it; the last macro is shown.
    CMacroSettingsDlg(QWidget* parent, MacroPageServices services, std::filesystem::path folder);
    ~CMacroSettingsDlg() override;

    QWidget& window() override { return *this; }
    bool isRecording() const override { return recorder_.recording(); }
    MacroLibrary& macroLibrary() override;
    bool saveMacroList() override;
    void setMacroDeletedHandler(std::function<void()> handler) override {
        macroDeleted_ = std::move(handler);
    }

    // "Start Record" and the editor's menu start here; "Stop Record" stops.
    void startRecording();
    void stopRecording();

    void onCommand(controls::ControlId first, controls::CommandValue second) override;
    // A page is never modal: Escape must not hide it.
    void reject() override {}

    controls::CVexListBox& list() const { return *list_; }
    controls::CVexMacroCtrl& editor() const { return *editor_; }
    controls::CVexButton& button(controls::ControlId id) const;
    controls::CVexCheckBox& recordDelayBox() const { return *recordDelay_; }
    controls::CVexCheckBox& recordHoldBox() const { return *recordHold_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void loadLibrary();
    void newMacro();
    void deleteMacro();
    void startRecordingFresh();
    void showSelectedMacro(int32_t id);
    void setRecordOptionsFor(const CMacro& macro);
    void onKeyMessage(KeyMessage key);
    void setRecordingLook(bool recording);

    MacroPageServices services_;
    std::filesystem::path folder_;
    MacroRecorder recorder_;
    std::function<void()> macroDeleted_;
    controls::CVexListBox* list_ = nullptr;
    controls::CVexMacroCtrl* editor_ = nullptr;
    controls::CVexButton* newMacro_ = nullptr;
    controls::CVexButton* delete_ = nullptr;
    controls::CVexButton* startRecord_ = nullptr;
    controls::CVexButton* stopRecord_ = nullptr;
    controls::CVexCheckBox* recordDelay_ = nullptr;
    controls::CVexCheckBox* recordHold_ = nullptr;
    bool captureInstalled_ = false;
};

} // namespace talwyn::pages
