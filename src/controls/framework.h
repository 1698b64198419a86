#pragma once
// The small window framework every skinned window is built on: control IDs,
// the synchronous command channel to a parent, posted private messages,
// numbered timers, modal results and the tick clock.

#include <QBasicTimer>
#include <QEvent>
#include <QWidget>

#include <chrono>
#include <cstdint>
#include <map>

namespace talwyn::controls {

using ControlId = int32_t;
using CommandValue = int64_t;

// Private command and message numbers shared by the windows of the program.
namespace command {
inline constexpr ControlId kMenuClosing = 2234; // value 1 before a menu hides, 0 after
inline constexpr uint32_t kMenuMouse = 1192;    // outside-click notice to a menu; also a captured key
inline constexpr uint32_t kColorPickerChange = 0x050E;
inline constexpr uint32_t kTrayIcon = 2027;
inline constexpr uint32_t kShowWindow = 2028;
inline constexpr CommandValue kEditChanged = 102;
} // namespace command

// A window that receives the commands of its child controls. The call is
// synchronous: the handler runs to its end before the sending control goes on.
class CommandReceiver {
public:
    virtual ~CommandReceiver() = default;
    virtual void onCommand(ControlId first, CommandValue second) = 0;
};

// Sends (first, second) to `target` when it receives commands; a target that
// does not is simply not told.
void sendCommand(QWidget* target, ControlId first, CommandValue second);

// The identity every skinned control carries: its control ID.
class ControlIdentity {
public:
    ControlId controlId() const { return id_; }
    void setControlId(ControlId id) { id_ = id; }

private:
    ControlId id_ = 0;
};

// A posted private message: delivered later through the event loop, in order.
class PostedMessage final : public QEvent {
public:
    static QEvent::Type eventType();

    PostedMessage(uint32_t message, int64_t first, int64_t second);
    uint32_t message() const { return message_; }
    int64_t first() const { return first_; }
    int64_t second() const { return second_; }

private:
    uint32_t message_;
    int64_t first_;
    int64_t second_;
};

void postMessage(QObject* target, uint32_t message, int64_t first, int64_t second);

// Timers addressed by their number, as the windows name them (timer 0 of the
// preview, timer 1 of the drop-down button). A timer keeps running until it is
// stopped; starting a running number restarts it with the new interval.
class NumberedTimers {
public:
    explicit NumberedTimers(QObject* owner) : owner_(owner) {}

    void start(int number, std::chrono::milliseconds interval);
    void stop(int number);
    bool isActive(int number) const;
    // The number of the timer that fired, or -1 when the event is not one of ours.
    int numberOf(int timerId) const;

private:
    QObject* owner_;
    std::map<int, QBasicTimer> timers_;
};

// How a modal run ended.
enum class ModalResult : int { Ok = 1, Cancel = 2 };

// Milliseconds since an arbitrary start; 32 bits that wrap like a tick count.
class TickClock {
public:
    virtual ~TickClock() = default;
    virtual uint32_t now() const = 0;
};

// The steady clock of the machine.
TickClock& systemTickClock();

} // namespace talwyn::controls
