#pragma once
// Host callbacks are plain function pointers without a context, so tests
// record through one process-wide recorder per callback kind.

#include "talwyn_pro_dll.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace talwyn::devlib::testing {

template <typename Entry> class Recorder {
public:
    void add(Entry entry) {
        std::function<void(const Entry&)> hook;
        {
            std::lock_guard lock(mutex_);
            entries_.push_back(entry);
            hook = hook_;
        }
        changed_.notify_all();
        if (hook)
            hook(entry);
    }
    // Waits until `count` entries exist; false when they do not come in time.
    bool waitFor(std::size_t count, std::chrono::seconds limit = std::chrono::seconds(10)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return entries_.size() >= count; });
    }
    std::vector<Entry> entries() {
        std::lock_guard lock(mutex_);
        return entries_;
    }
    void reset(std::function<void(const Entry&)> hook = {}) {
        std::lock_guard lock(mutex_);
        entries_.clear();
        hook_ = std::move(hook);
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Entry> entries_;
    std::function<void(const Entry&)> hook_; // runs on the calling thread after each entry
};

struct InputEvent {
    uint8_t code;
    std::vector<uint8_t> data;
    int32_t length;
};

inline Recorder<InputEvent>& inputEvents() {
    static Recorder<InputEvent> recorder;
    return recorder;
}

inline int32_t TALWYN_STDCALL recordInputEvent(const uint8_t* code, const uint8_t* data,
                                               const int32_t* length) {
    const std::size_t size =
        *code == TALWYN_EVENT_RUN_PROGRAM || *code == TALWYN_EVENT_OPEN_BROWSER ? 1024 : 1;
    inputEvents().add({*code, std::vector<uint8_t>(data, data + size), *length});
    return 0;
}

inline Recorder<uint8_t>& deviceChanges() {
    static Recorder<uint8_t> recorder;
    return recorder;
}

inline int32_t TALWYN_STDCALL recordDeviceChange(const uint8_t* change) {
    deviceChanges().add(*change);
    return 0;
}

struct Progress {
    uint8_t status;
    uint32_t value;
    bool operator==(const Progress&) const = default;
};

inline Recorder<Progress>& progressReports() {
    static Recorder<Progress> recorder;
    return recorder;
}

inline int32_t TALWYN_STDCALL recordProgress(const uint8_t* status, const uint32_t* value) {
    progressReports().add({*status, *value});
    return 0;
}

} // namespace talwyn::devlib::testing
