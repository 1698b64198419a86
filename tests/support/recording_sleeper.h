#pragma once
// Records the pauses asked for and returns at once, so tests check the exact
// sequence of pauses without waiting for them.

#include "hid/sleeper.h"

#include <chrono>
#include <vector>

namespace talwyn::hid {

class RecordingSleeper final : public Sleeper, public StoppableSleeper {
public:
    void sleep(std::chrono::milliseconds duration) override { pauses.push_back(duration); }
    void sleep(std::chrono::milliseconds duration, std::stop_token) override { pauses.push_back(duration); }
    std::vector<std::chrono::milliseconds> pauses;
};

} // namespace talwyn::hid
