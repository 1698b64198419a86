#pragma once
// Key capture over the whole X display (RECORD).

#include "platform/key_capture.h"
#include "platform/owner_thread_queue.h"
#include "platform/x11_event_recorder.h"

#include <string>

namespace talwyn::platform {

class X11KeyCapture final : public KeyCapture {
public:
    // `displayName` empty: the DISPLAY of the environment.
    explicit X11KeyCapture(std::string displayName = {});
    ~X11KeyCapture() override;

    bool install(QObject* receiver) override;
    void remove() override;
    bool isInstalled() const override { return recorder_.running(); }

private:
    std::string displayName_;
    OwnerThreadQueue queue_;
    X11EventRecorder recorder_;
    CapturedKeyTarget target_;
};

} // namespace talwyn::platform
