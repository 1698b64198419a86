#include "devlib/capture.h"

#include <algorithm>
#include <system_error>

namespace talwyn::devlib {
namespace {

constexpr uint8_t kFirstSimpleEvent = 1;
constexpr uint8_t kLastSimpleEvent = 5;

} // namespace

std::vector<std::unique_ptr<InputReader>> Capture::takeReaders() {
    std::lock_guard guard(mutex_);
    if (reader_)
        stopping_.push_back(std::move(reader_));
    std::vector<std::unique_ptr<InputReader>> joinable;
    std::vector<std::unique_ptr<InputReader>> own;
    for (auto& reader : stopping_) {
        reader->requestStop();
        (reader->onReaderThread() ? own : joinable).push_back(std::move(reader));
    }
    stopping_ = std::move(own);
    return joinable;
}

void Capture::stop() {
    takeReaders().clear(); // joins them
    bool idle = false;
    {
        std::lock_guard guard(mutex_);
        idle = stopping_.empty();
    }
    if (idle)
        input_.exit();
}

int32_t Capture::start(EventCallback callback) {
    if (!callback)
        return kResultDeviceError;
    callback_.store(callback);
    takeReaders().clear(); // two readers must never read one device
    auto device = input_.open();
    if (!device)
        return kResultNoDevice;
    try {
        auto reader = std::make_unique<InputReader>(
            std::move(device), [this](const InputReader::Report& report) { handle(report); }, readerSleeper_);
        std::lock_guard guard(mutex_);
        if (reader_) // started meanwhile by another thread: stopped with the rest later
            stopping_.push_back(std::move(reader_));
        reader_ = std::move(reader);
    } catch (const std::system_error&) {
        return kResultDeviceError;
    }
    return kResultCaptureStarted;
}

void Capture::handle(const InputReader::Report& report) {
    const EventCallback callback = callback_.load();
    if (!callback)
        return;
    const uint8_t code = report[1];
    if (code >= kFirstSimpleEvent && code <= kLastSimpleEvent) {
        const uint8_t data = report[2];
        const int32_t length = 1;
        callback(&code, &data, &length);
    } else if (code == TALWYN_EVENT_RUN_PROGRAM || code == TALWYN_EVENT_OPEN_BROWSER) {
        protocol::DataBlock block{};
        // The report may claim more than the block holds; a host trusting it
        // must never read past what it is handed.
        const int32_t length = std::min(report[2] | (report[3] << 8), static_cast<int32_t>(block.size()));
        channel_.readButtonData(report[4], report[5], block); // locks; a failure leaves zeros
        callback(&code, block.data(), &length);
    }
}

} // namespace talwyn::devlib
