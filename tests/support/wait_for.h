#pragma once
// Polling a condition that another process makes true, with a deadline far
// beyond what it needs, so a slow machine waits instead of failing.

#include <chrono>
#include <functional>
#include <thread>

namespace talwyn::testing {

inline bool waitFor(const std::function<bool()>& condition,
                    std::chrono::steady_clock::duration patience = std::chrono::seconds(30)) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

} // namespace talwyn::testing
