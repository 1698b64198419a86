#include "platform/pointer/background_pointer_settings.h"

#include <utility>

namespace talwyn::platform {

BackgroundPointerSettings::BackgroundPointerSettings(BackendFactory makeBackend)
    : makeBackend_(std::move(makeBackend)), worker_(std::make_unique<QObject>()) {
    thread_.setObjectName(QStringLiteral("pointer settings"));
    worker_->moveToThread(&thread_);
    thread_.start();
}

BackgroundPointerSettings::~BackgroundPointerSettings() {
    QMetaObject::invokeMethod(
        worker_.get(),
        [this] {
            carryOutLatest();
            backend_.reset();
            thread_.quit();
        },
        Qt::QueuedConnection);
    thread_.wait();
}

void BackgroundPointerSettings::apply(const PointerRequest& request) {
    {
        const std::lock_guard lock(mutex_);
        latest_ = request;
    }
    QMetaObject::invokeMethod(
        worker_.get(), [this] { carryOutLatest(); }, Qt::QueuedConnection);
}

void BackgroundPointerSettings::carryOutLatest() {
    std::optional<PointerRequest> request;
    {
        const std::lock_guard lock(mutex_);
        request = std::exchange(latest_, std::nullopt);
    }
    if (!request) {
        return;
    }
    if (!backend_) {
        backend_ = makeBackend_();
    }
    backend_->apply(*request);
}

} // namespace talwyn::platform
