#pragma once
// A helper program run for the length of a test, ended when the object dies.

#include "support/child_process.h"

#include <string>
#include <vector>

namespace talwyn::platform::testing {

class SpawnedProcess {
public:
    // Runs `argv` (looked up on PATH) with DISPLAY set to `display`; its
    // output is discarded. running() is false when it could not start.
    SpawnedProcess(const std::vector<std::string>& argv, const std::string& display);

    bool running() const { return process_.started(); }

private:
    talwyn::testing::ChildProcess process_;
};

} // namespace talwyn::platform::testing
