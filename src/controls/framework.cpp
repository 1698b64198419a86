#include "controls/framework.h"

#include <QCoreApplication>

namespace talwyn::controls {

void sendCommand(QWidget* target, ControlId first, CommandValue second) {
    if (auto* receiver = dynamic_cast<CommandReceiver*>(target)) {
        receiver->onCommand(first, second);
    }
}

QEvent::Type PostedMessage::eventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

PostedMessage::PostedMessage(uint32_t message, int64_t first, int64_t second)
    : QEvent(eventType()), message_(message), first_(first), second_(second) {}

void postMessage(QObject* target, uint32_t message, int64_t first, int64_t second) {
    QCoreApplication::postEvent(target, new PostedMessage(message, first, second));
}

void NumberedTimers::start(int number, std::chrono::milliseconds interval) {
    timers_[number].start(static_cast<int>(interval.count()), owner_);
}

void NumberedTimers::stop(int number) {
    if (auto it = timers_.find(number); it != timers_.end()) {
        it->second.stop();
    }
}

bool NumberedTimers::isActive(int number) const {
    auto it = timers_.find(number);
    return it != timers_.end() && it->second.isActive();
}

int NumberedTimers::numberOf(int timerId) const {
    for (const auto& [number, timer] : timers_) {
        if (timer.isActive() && timer.timerId() == timerId) {
            return number;
        }
    }
    return -1;
}

namespace {
class SteadyTickClock final : public TickClock {
public:
    uint32_t now() const override {
        const auto since = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
    }
};
} // namespace

TickClock& systemTickClock() {
    static SteadyTickClock clock;
    return clock;
}

} // namespace talwyn::controls
