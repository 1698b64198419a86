#pragma once
// The five slots as the main window shows them: which one is current, the
// slot buttons' captions, the slot menus' commands and the reset. Runs on
// the UI thread; the pages trade their values with the slot they leave and
// the slot they show.

#include "app/main_commands.h"
#include "app/page_set.h"

#include <QString>

#include <functional>

class QWidget;

namespace talwyn::app {

class MainControls;
class SlotDialogs;

class SlotController {
public:
    struct Parts {
        ProfileSet& profiles;
        const PageSet& pages;
        MainControls& controls;
        SlotDialogs& dialogs;
        QWidget& window; // parent of the dialogs
        std::function<void(const QString& text)> warn;
    };

    explicit SlotController(Parts parts);

    // Captions and enables every slot button and lights the current slot.
    void refreshAll();
    // What the pages show goes to the current slot; `index` becomes current and is shown.
    void select(int index);
    // The pages show the slot the mouse was last given.
    void showApplied();
    void runMenu(int index, SlotMenuItem item);
    // Asks first; true when every slot went back to its defaults.
    bool reset();

private:
    void refresh(int index);

    Parts parts_;
};

} // namespace talwyn::app
