#pragma once
// Input capture: the host's event callback, the input device and the reader
// thread that turns the mouse's input reports into callback calls.
//
// Input report (9 bytes): 0 report ID 3 | 1 event code | 2 data byte (codes
// 35/36: data length low) | 3 length high | 4 button | 5 profile.

#include "devlib/command_channel.h"
#include "devlib/input_reader.h"
#include "talwyn_pro_dll.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace talwyn::devlib {

class Capture {
public:
    Capture(CommandChannel& channel, InputSource& input, hid::StoppableSleeper& readerSleeper)
        : channel_(channel), input_(input), readerSleeper_(readerSleeper) {}
    ~Capture() { stop(); }
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    // 5 started, 20 null callback or no thread, 255 the device did not open.
    // A running capture is stopped before the device is opened again.
    int32_t start(EventCallback callback);
    // Stops the reader and waits for it, except on the reader's own thread
    // (from inside the callback), where the reader ends after the callback
    // returns. Then releases the input source when no reader is left.
    void stop();

private:
    void handle(const InputReader::Report& report);
    // Moves every reader out for joining; one running this very call stays.
    std::vector<std::unique_ptr<InputReader>> takeReaders();

    CommandChannel& channel_;
    InputSource& input_;
    hid::StoppableSleeper& readerSleeper_;
    std::atomic<EventCallback> callback_{nullptr};
    std::mutex mutex_; // guards reader_ and stopping_
    std::unique_ptr<InputReader> reader_;
    std::vector<std::unique_ptr<InputReader>> stopping_;
};

} // namespace talwyn::devlib
