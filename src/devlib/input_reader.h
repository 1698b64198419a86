#pragma once
// The input reader: a thread that reads the mouse's 9-byte input reports and
// hands each one to a handler. It owns its device and releases it on its own
// thread after its last read, so the device is never closed under a read.

#include "hid/hid_backend.h"
#include "hid/sleeper.h"
#include "protocol/reports.h"

#include <array>
#include <functional>
#include <memory>
#include <span>
#include <stop_token>
#include <thread>

namespace talwyn::devlib {

// One opened input device of the mouse.
class InputDevice {
public:
    virtual ~InputDevice() = default;
    // Waits for one report, for as long as it takes unless cancelled.
    virtual hid::Result read(std::span<uint8_t> buffer) = 0;
    // Safe from any thread while a read runs: ends that read now and every
    // later one at once.
    virtual void cancel() = 0;
};

// Opens the mouse's input device (hidapi with real hardware, the backend's
// event interface with the simulator).
class InputSource {
public:
    virtual ~InputSource() = default;
    virtual std::unique_ptr<InputDevice> open() = 0;
    // Releases what open() set up process-wide (hid_exit); no device is open then.
    virtual void exit() {}
};

// The first interface of the normal-mode mouse, opened through a backend.
class BackendInputSource final : public InputSource {
public:
    explicit BackendInputSource(hid::HidBackend& backend) : backend_(backend) {}
    std::unique_ptr<InputDevice> open() override;

private:
    hid::HidBackend& backend_;
};

class InputReader {
public:
    using Report = std::array<uint8_t, protocol::kInputReportSize>;
    using Handler = std::function<void(const Report&)>;

    // Starts the thread; throws std::system_error when it cannot start.
    InputReader(std::unique_ptr<InputDevice> device, Handler handler, hid::StoppableSleeper& sleeper);
    // Stops and joins. Must not run on the reader's own thread.
    ~InputReader();
    InputReader(const InputReader&) = delete;
    InputReader& operator=(const InputReader&) = delete;

    // Ends a waiting read or pause at once; a running handler call finishes
    // first. Safe from any thread, the handler's included.
    void requestStop() { thread_.request_stop(); }
    bool onReaderThread() const { return std::this_thread::get_id() == thread_.get_id(); }

private:
    void run(std::stop_token stop);

    std::unique_ptr<InputDevice> device_;
    Handler handler_;
    hid::StoppableSleeper& sleeper_;
    std::jthread thread_;
};

} // namespace talwyn::devlib
