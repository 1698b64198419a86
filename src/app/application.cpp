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
    window_->OnInitDialog();
    window_->show();
    const int exitCode = runLoop_();
    window_->DestroyWindow();
    window_.reset();
    return exitCode;
}

} // namespace talwyn::app
