#pragma once
// The questions the main window asks the user about slots: the reset
// confirmation, a new slot name, and where to export to or import from.
// Behind an interface so the window's logic runs in tests without modal runs.

#include <QString>

#include <filesystem>
#include <optional>

class QWidget;

namespace talwyn {
class ProfileSet;
namespace controls {
class CVexButton;
}
} // namespace talwyn

namespace talwyn::app {

class SlotDialogs {
public:
    virtual ~SlotDialogs() = default;
    // The reset warning; true when the user confirmed.
    virtual bool confirmReset(QWidget* parent) = 0;
    // The rename dialog of slot `slot` (1 to 5): on confirmation it renames
    // the slot in `profiles` and captions `slotButton`; true when confirmed.
    virtual bool renameSlot(int slot, ProfileSet& profiles, controls::CVexButton& slotButton,
                            QWidget* parent) = 0;
    // The save dialog, starting at `suggested`; nothing when cancelled.
    virtual std::optional<std::filesystem::path> exportTarget(const std::filesystem::path& suggested,
                                                              QWidget* parent) = 0;
    // The open dialog, starting in `folder`; nothing when cancelled.
    virtual std::optional<std::filesystem::path> importSource(const std::filesystem::path& folder,
                                                              QWidget* parent) = 0;
};

} // namespace talwyn::app
