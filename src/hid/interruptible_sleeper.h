#pragma once
// A real sleeper that can be woken for good, so threads that own a device do not
// hold up unloading or quitting with pauses of up to seconds.

#include "hid/sleeper.h"

#include <condition_variable>
#include <mutex>

namespace talwyn::hid {

class InterruptibleSleeper final : public Sleeper {
public:
    void sleep(std::chrono::milliseconds duration) override {
        std::unique_lock lock(mutex_);
        woken_.wait_for(lock, duration, [this] { return interrupted_; });
    }
    // Ends every pause now and every later pause at once.
    void interrupt() {
        {
            std::lock_guard lock(mutex_);
            interrupted_ = true;
        }
        woken_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable woken_;
    bool interrupted_ = false;
};

} // namespace talwyn::hid
