#pragma once
// CTOLMApp: one copy of the program at a time; the first copy runs the main
// window until the tray's "Exit", later starts bring its window back.

#include "app/main_window.h"

#include <functional>
#include <memory>

namespace talwyn::platform {
class SingleInstance;
}

namespace talwyn::app {

class CTOLMApp {
public:
    using WindowFactory = std::function<std::unique_ptr<CTOLMDlg>()>;
    // Runs the event loop until the program is told to end; its exit code.
    using EventLoop = std::function<int()>;

    CTOLMApp(platform::SingleInstance& instance, WindowFactory makeWindow, EventLoop runLoop);

    // The start-up sequence: tell a running copy to show itself, claim the
    // instance lock (a second copy ends here), then build and run the main
    // window, shown once its start-up checks pass, and tear it down when the
    // loop ends. The exit code.
    int InitInstance();
    // The main window while the loop runs, else null.
    CTOLMDlg* mainWindow() const { return window_.get(); }

private:
    platform::SingleInstance& instance_;
    WindowFactory makeWindow_;
    EventLoop runLoop_;
    std::unique_ptr<CTOLMDlg> window_;
};

} // namespace talwyn::app
