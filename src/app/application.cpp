#include "app/application.h"

#include "platform/single_instance.h"

namespace talwyn::app {

CTOLMApp::CTOLMApp(platform::SingleInstance& instance, WindowFactory makeWindow, EventLoop runLoop)
    : instance_(instance), makeWindow_(std::move(makeWindow)), runLoop_(std::move(runLoop)) {}

int CTOLMApp::InitInstance() {
    // Whoever listens is told first; only the lock decides whether we run.
    instance_.notifyRunningCopy();
    if (!instance_.claim()) {
        return 0;
    }
    window_ = makeWindow_();
    QObject::connect(&instance_, &platform::SingleInstance::showWindowRequested, window_.get(),
                     &CTOLMDlg::showWindow);
    // The window shows once the start-up checks let the program go on; a
    // declined firmware offer ends the loop before it ever shows.
    QObject::connect(window_.get(), &CTOLMDlg::startUpFinished, window_.get(), &CTOLMDlg::show);
    window_->OnInitDialog();
    const int exitCode = runLoop_();
    window_->DestroyWindow();
    window_.reset();
    return exitCode;
}

} // namespace talwyn::app
