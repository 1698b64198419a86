#pragma once
// Desktop pointer settings carried out on a thread of their own: a desktop
// is changed through outside programs and services that may take long or
// hang, and the caller (the user interface) must never wait for them.

#include "platform/pointer/pointer_settings.h"

#include <QThread>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace talwyn::platform {

class BackgroundPointerSettings final : public PointerSettings {
public:
    using BackendFactory = std::function<std::unique_ptr<PointerSettings>()>;

    // `makeBackend` runs on the worker too, so probing the desktop holds up nobody.
    explicit BackgroundPointerSettings(BackendFactory makeBackend);
    // Carries out the request still waiting, if any, then ends the worker:
    // an apply made just before quitting still reaches the desktop.
    ~BackgroundPointerSettings() override;
    BackgroundPointerSettings(const BackgroundPointerSettings&) = delete;
    BackgroundPointerSettings& operator=(const BackgroundPointerSettings&) = delete;

    // Returns at once. Requests are carried out in order; one that a newer
    // request overtakes before it starts is skipped, as every request
    // carries every setting.
    void apply(const PointerRequest& request) override;

private:
    void carryOutLatest();

    BackendFactory makeBackend_;
    std::unique_ptr<PointerSettings> backend_; // made, used and dropped on the worker
    std::mutex mutex_;
    std::optional<PointerRequest> latest_;
    QThread thread_;
    std::unique_ptr<QObject> worker_; // lives on thread_: what apply() queues its calls to
};

} // namespace talwyn::platform
