#pragma once
// Collects device notices that a monitor delivers on its own thread, so a
// test can wait for them without sleeping.

#include "hid/hid_backend.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

namespace talwyn::testing {

class NoticeCollector {
public:
    hid::DeviceMonitor::Callback callback() {
        return [this](const hid::DeviceNotice& notice) {
            std::lock_guard lock(mutex_);
            notices_.push_back(notice);
            arrived_.notify_all();
        };
    }

    // Waits until `count` notices came; the notices so far, whether or not.
    std::vector<hid::DeviceNotice> waitFor(std::size_t count,
                                           std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, timeout, [&] { return notices_.size() >= count; });
        return notices_;
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<hid::DeviceNotice> notices_;
};

} // namespace talwyn::testing
