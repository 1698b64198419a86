#pragma once
// The event editor of the macro page: shows the events of one library macro,
// one row each, and edits them through a right-click menu (mouse events,
// delays, deletion, recording at a position) and an in-place delay edit. It
// owns the macro library and the folder the library is kept in.

#include "controls/framework.h"
#include "controls/macro_rows.h"
#include "controls/row_control.h"
#include "macros/macro.h"
#include "macros/macro_files.h"
#include "macros/macro_library.h"
#include "profiles/profile_data.h"

#include <QImage>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace talwyn::controls {

class CVexEdit;
class CVexMenu;

// Codes of the editor's right-click menu items.
namespace macro_menu {
inline constexpr int32_t kRecordBefore = 1;
inline constexpr int32_t kRecordAfter = 2;
inline constexpr int32_t kInsertMouseEvent = 3;
inline constexpr int32_t kInsertDelay = 4;
inline constexpr int32_t kEditDelay = 5;
inline constexpr int32_t kDelete = 6;
inline constexpr int32_t kLeftButton = 7;
inline constexpr int32_t kRightButton = 11;
inline constexpr int32_t kMiddleButton = 15;
inline constexpr int32_t kForwardButton = 19;
inline constexpr int32_t kBackButton = 23;
inline constexpr int32_t kScrollWheel = 27;
inline constexpr int32_t kWheelDown = 28;
inline constexpr int32_t kWheelUp = 29;
// Each button's submenu: its code + 1 "Down", + 2 "Up", + 3 "Click".
inline constexpr int32_t kDownOffset = 1;
inline constexpr int32_t kUpOffset = 2;
inline constexpr int32_t kClickOffset = 3;
} // namespace macro_menu

class CVexMacroCtrl : public RowControl {
    Q_OBJECT
public:
    static constexpr int kEventFontHeight = 13;
    static constexpr int kDelayFontHeight = 13;
    static constexpr int kMenuWidth = 170;
    static constexpr int kMouseSubmenuWidth = 120;
    static constexpr int kScrollStripWidth = 24; // right strip left to the scroll control

    explicit CVexMacroCtrl(QWidget* parent = nullptr);
    ~CVexMacroCtrl() override;

    // The library and its folder.
    MacroLibrary& library() { return library_; }
    const MacroLibrary& library() const { return library_; }
    void setMacroFolder(std::filesystem::path folder);
    const std::filesystem::path& macroFolder() const { return folder_.path(); }
    // Replaces the library with the one in the folder; the editor then shows
    // no macro. A missing list leaves the library empty.
    MacroLoadReport loadMacros();
    // Writes the whole library to the folder; false when it could not be
    // written. Saving may rename a macro whose file name collides.
    bool saveMacros();
    std::optional<MacroData> makeProfileMacro(int32_t id) const { return library_.makeProfileMacro(id); }

    // Shows the library macro `id`, creating it (empty, named `name`, laid
    // out in the editor's client area) when the library has none.
    void showMacro(int32_t id, const std::u16string& name);
    // Removes the library macro `id`; when it was shown, nothing is shown.
    void removeMacro(int32_t id);
    CMacro* shownMacro() { return shown_; }
    const CMacro* shownMacro() const { return shown_; }
    // Deletes every event of the shown macro (a recording replaces it).
    void clearShownEvents();

    // Adds an event to `macro` (selected, laid out) and scrolls to it.
    void addEvent(CMacro& macro, uint8_t type, int16_t code, uint8_t flag, int32_t delay, InsertMode mode);

    InsertMode insertMode() const { return insertMode_; }
    void setInsertMode(InsertMode mode) { insertMode_ = mode; }
    // While recording the right-click menu does not open.
    bool recording() const { return recording_; }
    void setRecording(bool recording) { recording_ = recording; }

    // Ends a pending delay entry: a non-empty text becomes the first selected
    // event's delay. False when no entry was pending.
    bool finishDelayEdit();

    // The right-click menu, built on first use.
    CVexMenu& menu();
    // The delay edit; nullptr until a delay is first edited.
    CVexEdit* delayEdit() const { return delayEdit_; }

    // Scroll positions, menu picks, and the menu's closing notices (2234),
    // which go on to the parent unchanged.
    void onCommand(ControlId first, CommandValue second) override;

protected:
    void renderFrame(QPainter& painter) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onMenuPick(ControlId menuId, int32_t code);
    void startRecordFromMenu(int32_t where);
    void insertMouseEvent(int32_t offset, int16_t buttonCode);
    void openDelayEdit();
    void deleteSelectedEvent();
    void scrollTo(int32_t row);
    void scrollToRow(int32_t row);
    void updateScrollRange();
    void selectOnlyRowAt(QPoint point);
    CVexEdit& ensureDelayEdit();

    MacroLibrary library_;
    MacroFolder folder_{{}};
    CMacro* shown_ = nullptr; // a macro of library_, or none
    InsertMode insertMode_ = InsertMode::Append;
    bool recording_ = false;
    std::unique_ptr<CVexMenu> menu_;
    CVexEdit* delayEdit_ = nullptr; // child window, created on first use
};

} // namespace talwyn::controls
