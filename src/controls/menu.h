#pragma once
// The skinned pop-up menu with submenus. Picks, closing notices (2234 with 1
// then 0) and commands that reach a menu all go to its owner, synchronously.
// A menu never takes activation; a press outside the open chain closes it
// through the open-menu click watch.

#include "controls/framework.h"
#include "controls/paint_support.h"
#include "controls/value_math.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

namespace talwyn::controls {

struct MenuEntry {
    int32_t code = 0;
    Box rect;
    QString text;
    int32_t parameter = 0;
    bool enabled = true;
    bool hasSubmenu = false;
};

enum class PopupMode : int { TopLeft = 0, BottomLeft = 2, BottomRight = 3 };

class CVexMenu : public QWidget, public CommandReceiver {
    Q_OBJECT
public:
    static constexpr Argb kTextColor = 0xFFAAAAAA;
    static constexpr Argb kHoverColor = 0xFF32EBA5;
    static constexpr Argb kBackgroundColor = 0xFF000000;
    static constexpr Argb kFrameColor = 0xFF32EBA5;
    static constexpr int kSubmenuWidth = 50;

    // A hidden menu of `owner`, placed at `rect` (creators pass (0, 0, W, 10)).
    // The owner's window parents the menu unless `parentMenu` is given.
    CVexMenu(QWidget* owner, ControlId id, const QRect& rect, CVexMenu* parentMenu = nullptr);
    ~CVexMenu() override;

    ControlId controlId() const { return id_; }
    CVexMenu* parentMenu() const { return parentMenu_; }
    int menuWidth() const { return menuWidth_; }
    int hoverItem() const { return hoverItem_; }
    const std::vector<MenuEntry>& entries() const { return entries_; }

    // Appends an entry unless one with the code exists (its text stays).
    void AddItem(int32_t code, const QString& text, int32_t parameter, bool enabled, bool hasSubmenu);
    // Adds to the submenu of this menu's own entry `parentCode`; nothing when there is none.
    void AddSubItem(int32_t code, int32_t parentCode, const QString& text, int32_t parameter, bool enabled);
    // Adds to the submenu of entry `parentCode` inside the submenu of this
    // menu's entry 3 (the macro editor's "Insert mouse event" branch).
    void AddNestedItem(int32_t code, int32_t parentCode, const QString& text);
    // The submenu opened by entry `code`, created on first use.
    CVexMenu* GetSubMenu(int32_t code);
    // Removes this menu's entries; submenus and the parent's submenu flag stay.
    void ClearItems();
    // The entry with the code here or, depth first, in a submenu.
    const MenuEntry* FindItem(int32_t code) const;
    int MaxItemTextWidth(int32_t code);

    void Layout();
    // Opens the menu at a screen point without taking activation.
    void TrackPopup(PopupMode mode, int x, int y);
    void CloseMenu();
    void CloseSubmenus();

    // A command reaching the menu goes to the owner unchanged, then the chain closes.
    void onCommand(ControlId first, CommandValue second) override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int hitTest(QPoint point);
    std::vector<Box> entryBoxes() const;
    void handleOutsideNotice(int64_t message, QPoint screenPos);
    bool chainContains(QPoint screenPos) const;
    CVexMenu* findSubmenu(int32_t code) const;
    bool submenuHasEntries(int32_t code) const;

    QPointer<QWidget> owner_;
    ControlId id_;
    CVexMenu* parentMenu_;
    std::vector<MenuEntry> entries_;
    std::vector<CVexMenu*> submenus_; // children of this window, deleted with it
    int menuWidth_;
    int hoverItem_ = -1;
    int32_t clickedCode_ = -1;
    QFont font_;
};

} // namespace talwyn::controls
