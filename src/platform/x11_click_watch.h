#pragma once
// Outside-click watch over the whole X display (RECORD).

#include "platform/desktop_button_watch.h"
#include "platform/owner_thread_queue.h"
#include "platform/x11_event_recorder.h"

#include <string>

namespace talwyn::platform {

class X11ClickWatch final : public DesktopButtonWatch {
public:
    explicit X11ClickWatch(std::string displayName = {});
    ~X11ClickWatch() override;

    bool start(Callback callback) override;
    void stop() override;
    bool isRunning() const override { return recorder_.running(); }

private:
    void deliver(const PointerButtonEvent& event) const;

    OwnerThreadQueue queue_;
    X11EventRecorder recorder_;
    Callback callback_;
};

} // namespace talwyn::platform
