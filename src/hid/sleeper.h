#pragma once
// Protocol pauses go through this so tests can check the exact sequence of
// pauses without waiting for them.

#include <chrono>

namespace talwyn::hid {

class Sleeper {
public:
    virtual ~Sleeper() = default;
    virtual void sleep(std::chrono::milliseconds duration) = 0;
};

// Sleeps for real.
class ThreadSleeper final : public Sleeper {
public:
    void sleep(std::chrono::milliseconds duration) override;
};

Sleeper& defaultSleeper();

} // namespace talwyn::hid
