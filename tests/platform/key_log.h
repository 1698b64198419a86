#pragma once
// A receiver of captured-key messages that keeps them in arrival order.

#include "platform/key_capture.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace talwyn::platform::testing {

// (first parameter, second parameter) of each captured-key message.
using KeyMessage = std::pair<uint32_t, uint32_t>;

class KeyLog final : public QObject {
public:
    std::vector<KeyMessage> messages;

    bool event(QEvent* event) override {
        if (event->type() == CapturedKeyEvent::kType) {
            const auto* key = static_cast<const CapturedKeyEvent*>(event);
            messages.emplace_back(key->firstParameter(), key->secondParameter());
            return true;
        }
        return QObject::event(event);
    }
};

inline KeyMessage pressed(uint32_t vk) {
    return {vk, 0};
}
inline KeyMessage released(uint32_t vk) {
    return {vk, kKeyReleasedFlag};
}

} // namespace talwyn::platform::testing
