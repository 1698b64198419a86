#pragma once
// Watches the input events of the whole X display through the RECORD
// extension, on a thread of its own. Events are only observed: every client
// still gets them as before.

#include <cstdint>
#include <functional>
#include <string>
#include <thread>

struct _XDisplay;

namespace talwyn::platform {

struct RecordedInput {
    // Not named like the X event types: Xlib defines those as macros.
    enum class Kind { KeyDown, KeyUp, ButtonDown, ButtonUp };
    Kind kind;
    uint8_t detail; // keycode or pointer button number
    int16_t rootX;
    int16_t rootY;
};

// Which core events to watch (a contiguous range of X event types).
enum class RecordedEvents { Keys, Buttons };

class X11EventRecorder {
public:
    // Runs on the recorder's thread, one call per event, in order.
    using Handler = std::function<void(const RecordedInput&)>;

    // Where the recorded stream goes; the server's confirmation that
    // recording runs is noted too.
    struct Sink {
        Handler handler;
        bool recording = false;
    };

    // `displayName` empty: the DISPLAY of the environment.
    X11EventRecorder(std::string displayName, RecordedEvents events);
    ~X11EventRecorder();
    X11EventRecorder(const X11EventRecorder&) = delete;
    X11EventRecorder& operator=(const X11EventRecorder&) = delete;

    // Returns once the server records, so no event after it is missed.
    // False when the display cannot be opened or lacks RECORD.
    bool start(Handler handler);
    // Stops and joins the thread; no handler call runs after it returns.
    void stop();
    bool running() const { return thread_.joinable(); }

    // True when the display can be opened and offers RECORD.
    static bool available(const std::string& displayName);

private:
    void run();
    bool awaitRecording();
    void closeConnections();

    std::string displayName_;
    RecordedEvents events_;
    Sink sink_;
    _XDisplay* control_ = nullptr; // owner thread: context set-up and tear-down
    _XDisplay* data_ = nullptr;    // recorder thread: the recorded stream
    unsigned long context_ = 0;
    int stopFd_ = -1;
    std::thread thread_;
};

} // namespace talwyn::platform
