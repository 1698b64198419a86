#pragma once
// Protocol pauses go through this so tests can check the exact sequence of
// pauses without waiting for them.

#include <chrono>
#include <stop_token>

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

// Pauses of a thread that must leave as soon as it is asked to: a stop
// request ends the pause at once.
class StoppableSleeper {
public:
    virtual ~StoppableSleeper() = default;
    virtual void sleep(std::chrono::milliseconds duration, std::stop_token stop) = 0;
};

// Sleeps for real until the time is up or the stop is requested.
class ThreadStoppableSleeper final : public StoppableSleeper {
public:
    void sleep(std::chrono::milliseconds duration, std::stop_token stop) override;
};

} // namespace talwyn::hid
