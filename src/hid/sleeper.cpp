#include "hid/sleeper.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace talwyn::hid {

void ThreadSleeper::sleep(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

void ThreadStoppableSleeper::sleep(std::chrono::milliseconds duration, std::stop_token stop) {
    std::mutex mutex;
    std::condition_variable_any woken;
    std::unique_lock lock(mutex);
    woken.wait_for(lock, stop, duration, [] { return false; });
}

Sleeper& defaultSleeper() {
    static ThreadSleeper sleeper;
    return sleeper;
}

} // namespace talwyn::hid
