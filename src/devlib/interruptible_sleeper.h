#pragma once
// A real sleeper that can be woken for good, so the library's threads do not
// hold up its unloading with pauses of up to seconds.

#include "hid/sleeper.h"

#include <condition_variable>
#include <mutex>

namespace talwyn::devlib {

class InterruptibleSleeper final : public hid::Sleeper {
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

} // namespace talwyn::devlib
