#pragma once
// The macro list of the macro page: one row per library macro, a name edit
// for new macros, and a scroll control on its right edge that appears when
// the rows outgrow the list. The list tells its parent about selection
// changes and deletions with the commands of macro_commands.h.

#include "controls/framework.h"
#include "controls/row_control.h"
#include "controls/value_math.h"

#include <QFont>
#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

namespace talwyn::controls {

class CVexEdit;

// One row of the macro list. Colours are colour values: red in bits 0 to 7.
struct CBoxItem {
    static constexpr uint32_t kTextColor = 0x00BEBEBE;
    static constexpr uint32_t kSelectedTextColor = 0x00A5EB32;

    Box rowRect;
    std::u16string name; // the macro's full name; painting shortens only what it shows
    int32_t selected = 0;
    int32_t macroId = 0;
    uint32_t textColor = kTextColor;
    uint32_t selectedTextColor = kSelectedTextColor;

    bool operator==(const CBoxItem&) const = default;
};

// A colour value (red in bits 0 to 7) as an opaque ARGB drawing colour.
constexpr uint32_t opaqueArgbOf(uint32_t colourValue) {
    return 0xFF000000u | ((colourValue & 0xFFu) << 16) | (colourValue & 0xFF00u) |
           ((colourValue >> 16) & 0xFFu);
}

class CVexListBox : public RowControl {
    Q_OBJECT
public:
    static constexpr int kNameFontHeight = 16;

    explicit CVexListBox(QWidget* parent = nullptr);
    ~CVexListBox() override;

    // Starts naming a new macro: the name edit opens, empty and focused,
    // below the last row. While it is open, finishes the naming instead.
    void newMacro();
    // Ends a pending name entry: a non-empty name becomes a new macro (made
    // unique, with the next identifier from 16), which is selected and
    // reported with kSelectionChanged. False when no entry was pending.
    bool finishNaming();
    // Adds a row for a macro that already has its name and identifier (from
    // the library on disk): selected and reported like a new macro.
    void addExistingMacro(const std::u16string& name, int32_t macroId);
    // Deletes the first selected row: kMacroDeleted with its identifier, then
    // kSelectionChanged with the row that takes its place (or 0).
    void deleteSelectedMacro();

    const std::vector<CBoxItem>& rows() const { return rows_; }
    // The first selected row, or nullptr.
    const CBoxItem* selectedRow() const;
    bool isNaming() const;
    // The name edit; nullptr until the first newMacro.
    CVexEdit* nameEdit() const { return nameEdit_; }

    // Scroll positions from the scroll control (kScroll).
    void onCommand(ControlId first, CommandValue second) override;

protected:
    void renderFrame(QPainter& painter) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addMacro(const std::u16string& name);
    void appendSelectedRow(const std::u16string& name, int32_t macroId);
    Box placeNewRow();
    void layoutRows();
    void scrollTo(int32_t position);
    void selectOnly(int index);
    int rowAt(QPoint point) const;
    void reportSelection();
    CVexEdit& ensureNameEdit();

    std::vector<CBoxItem> rows_;
    CVexEdit* nameEdit_ = nullptr; // child window, created on first use
    QFont font_;
};

} // namespace talwyn::controls
