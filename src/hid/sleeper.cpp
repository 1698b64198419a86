#include "hid/sleeper.h"

#include <thread>

namespace talwyn::hid {

void ThreadSleeper::sleep(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

Sleeper& defaultSleeper() {
    static ThreadSleeper sleeper;
    return sleeper;
}

} // namespace talwyn::hid
