#pragma once
// System-wide key capture: every key press and release, wherever the focus
// is, reaches one receiving object as the captured-key message 1192. Keys are
// only watched, never withheld from the application they were meant for.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>

namespace talwyn::platform {

inline constexpr int kCapturedKeyMessage = 1192;
inline constexpr uint32_t kKeyReleasedFlag = 0x80;

// The captured-key message as posted to the receiver: first parameter the
// virtual-key code, second kKeyReleasedFlag for a release and 0 for a press.
class CapturedKeyEvent final : public QEvent {
public:
    static constexpr QEvent::Type kType = static_cast<QEvent::Type>(kCapturedKeyMessage);

    CapturedKeyEvent(uint8_t virtualKey, bool released)
        : QEvent(kType), virtualKey_(virtualKey), released_(released) {}

    uint8_t virtualKey() const { return virtualKey_; }
    bool released() const { return released_; }
    uint32_t firstParameter() const { return virtualKey_; }
    uint32_t secondParameter() const { return released_ ? kKeyReleasedFlag : 0; }

private:
    uint8_t virtualKey_;
    bool released_;
};

// One capture for the whole program: whoever installs it last receives the
// keys; removing it stops the capture whoever installed it.
class KeyCapture {
public:
    virtual ~KeyCapture() = default;
    // Makes `receiver` the target and starts capturing. False when capture
    // cannot start; the previous receiver is then kept.
    virtual bool install(QObject* receiver) = 0;
    virtual void remove() = 0;
    virtual bool isInstalled() const = 0;
};

// The object captured keys go to; a receiver that has died gets nothing.
class CapturedKeyTarget {
public:
    void set(QObject* receiver) { receiver_ = receiver; }
    void clear() { receiver_.clear(); }
    // Queues the message to the receiver, so it handles keys in order
    // through its own event queue. Call on the receiver's thread.
    void post(uint8_t virtualKey, bool released) const {
        if (receiver_) {
            QCoreApplication::postEvent(receiver_, new CapturedKeyEvent(virtualKey, released));
        }
    }

private:
    QPointer<QObject> receiver_;
};

// What the user is told once where keys count only inside the program.
inline constexpr char16_t kFocusOnlyCaptureNotice[] =
    u"Keys are recorded only while the Talwyn PRO Software window has the focus.";

// The X11 capture where an X11 session offers it, otherwise the keys that
// reach the program's own windows, announced once through `focusOnlyNotice`.
// A Wayland session keeps keys from other programs even from XWayland's
// clients, so it always gets the latter.
std::unique_ptr<KeyCapture> makeKeyCapture(std::function<void()> focusOnlyNotice = {});

} // namespace talwyn::platform
