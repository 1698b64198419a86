// Commands that wait for the device library's callbacks: input events,
// device changes and the firmware update's progress.

#include "library_host.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace talwynctl {
namespace {

using nlohmann::json;

// Waits for callbacks from the library's threads and prints them in order.
class CallbackQueue {
public:
    void push(json line) {
        {
            std::lock_guard lock(mutex_);
            lines_.push_back(std::move(line));
        }
        ready_.notify_one();
    }
    json pop() {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return !lines_.empty(); });
        json line = std::move(lines_.front());
        lines_.pop_front();
        return line;
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<json> lines_;
};

CallbackQueue& callbacks() {
    static CallbackQueue queue;
    return queue;
}

int32_t TALWYN_STDCALL onEvent(const uint8_t* code, const uint8_t* data, const int32_t* length) {
    json line{{"code", *code}, {"length", *length}};
    if (*code == TALWYN_EVENT_RUN_PROGRAM || *code == TALWYN_EVENT_OPEN_BROWSER) {
        const auto n = static_cast<std::size_t>(std::clamp<int32_t>(*length, 0, 1024));
        line["data"] = hexOf(data, n);
    } else {
        line["data"] = *data;
    }
    callbacks().push(std::move(line));
    return 0;
}

int32_t TALWYN_STDCALL onDeviceChange(const uint8_t* change) {
    callbacks().push(json{{"change", *change}});
    return 0;
}

int32_t TALWYN_STDCALL onProgress(const uint8_t* status, const uint32_t* value) {
    callbacks().push(json{{"status", *status}, {"value", *value}});
    return 0;
}

// Prints `count` lines (0: until interrupted).
void printCallbacks(int count) {
    for (int printed = 0; count == 0 || printed < count; ++printed)
        std::cout << callbacks().pop() << std::endl;
}

void events(int count) {
    requireRange("count", count, 0, 1'000'000);
    const DeviceLibrary library;
    using CaptureFn = int32_t(TALWYN_STDCALL*)(EventCallback);
    library.call<CaptureFn>("Capture_cb_data", TALWYN_RESULT_CAPTURE_STARTED, onEvent);
    printCallbacks(count);
    library.bind<NoArgs>("Close_device")();
}

void listen(int count) {
    requireRange("count", count, 0, 1'000'000);
    const DeviceLibrary library;
    using ChangeFn = int32_t(TALWYN_STDCALL*)(DeviceChangeCallback);
    using StartFn = int32_t(TALWYN_CDECL*)();
    library.call<ChangeFn>("Device_change_message", TALWYN_RESULT_OK, onDeviceChange);
    library.call<StartFn>("Start_device_listener", TALWYN_RESULT_OK);
    printCallbacks(count);
}

std::vector<uint8_t> readFirmwareFile(const std::string& file) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec)
        failWithFile(file, "cannot be read");
    if (size > TALWYN_FIRMWARE_MAX_SIZE)
        failWithFile(file, std::to_string(size) + " bytes, larger than the " +
                               std::to_string(TALWYN_FIRMWARE_MAX_SIZE) + " bytes a firmware image may have");
    std::vector<uint8_t> image(static_cast<std::size_t>(size));
    std::ifstream in(file, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size())))
        failWithFile(file, "cannot be read");
    return image;
}

void drawProgress(uint32_t percent) {
    constexpr int kWidth = 40;
    const int filled = static_cast<int>(std::min<uint32_t>(percent, 100) * kWidth / 100);
    std::cerr << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] " << percent
              << '%' << std::flush;
}

void firmwareUpdate(const std::string& file) {
    const std::vector<uint8_t> image = readFirmwareFile(file);
    const DeviceLibrary library;
    using ProgressFn = int32_t(TALWYN_STDCALL*)(ProgressCallback);
    using UpdateFn = uint8_t(TALWYN_CDECL*)(uint32_t, const uint8_t*);
    library.call<ProgressFn>("Firmware_update_progress", TALWYN_RESULT_OK, onProgress);
    library.call<UpdateFn>("Update_firmware", TALWYN_RESULT_OK, static_cast<uint32_t>(image.size()),
                           image.data());
    for (;;) {
        const json line = callbacks().pop();
        const int status = line["status"];
        const uint32_t value = line["value"];
        if (status == TALWYN_FW_PROGRESS) {
            drawProgress(value);
            continue;
        }
        std::cerr << '\n';
        if (status == TALWYN_FW_NEW_VERSION) {
            std::cout << value << '\n';
            return;
        }
        const auto code = static_cast<uint8_t>(status);
        throw CommandFailure{"firmware update failed with status 0x" + hexOf(&code, 1) + " (value " +
                             std::to_string(value) + ")"};
    }
}

const CommandRegistrar registrar([](CLI::App& app) {
    auto eventCount = std::make_shared<int>(0);
    CLI::App* eventsCmd = app.add_subcommand("events", "Print the mouse's input events, one JSON line each");
    eventsCmd->add_option("--count", *eventCount, "stop after K events (default: run until interrupted)");
    eventsCmd->callback([eventCount] { events(*eventCount); });

    auto changeCount = std::make_shared<int>(0);
    CLI::App* listenCmd = app.add_subcommand("listen", "Print device changes, one JSON line each");
    listenCmd->add_option("--count", *changeCount, "stop after K changes (default: run until interrupted)");
    listenCmd->callback([changeCount] { listen(*changeCount); });

    auto file = std::make_shared<std::string>();
    CLI::App* firmware = app.add_subcommand("firmware-update", "Write a firmware image into the mouse");
    firmware->add_option("file", *file)->required();
    firmware->callback([file] { firmwareUpdate(*file); });
});

} // namespace
} // namespace talwynctl
