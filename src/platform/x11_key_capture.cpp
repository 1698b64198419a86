#include "platform/x11_key_capture.h"

#include "platform/virtual_keys.h"
#include "platform/x11_keymap.h"

namespace talwyn::platform {

X11KeyCapture::X11KeyCapture(std::string displayName)
    : displayName_(displayName), recorder_(std::move(displayName), RecordedEvents::Keys) {}

X11KeyCapture::~X11KeyCapture() {
    // Joins the recorder thread before the queue it posts to goes away.
    recorder_.stop();
}

bool X11KeyCapture::install(QObject* receiver) {
    if (!recorder_.running()) {
        const auto table = readKeycodeTable(displayName_);
        if (!table || !queue_.valid()) {
            return false;
        }
        const bool started = recorder_.start([this, table = *table](const RecordedInput& input) {
            const uint8_t virtualKey = table[input.detail];
            if (virtualKey == vk::kNone) {
                return; // a key Windows has no code for
            }
            const bool released = input.kind == RecordedInput::Kind::KeyUp;
            queue_.post([this, virtualKey, released] { target_.post(virtualKey, released); });
        });
        if (!started) {
            return false;
        }
    }
    target_.set(receiver);
    return true;
}

void X11KeyCapture::remove() {
    recorder_.stop();
    target_.clear();
}

} // namespace talwyn::platform
