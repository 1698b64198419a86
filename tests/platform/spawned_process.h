#pragma once
// A helper program run for the length of a test, ended when the object dies.

#include <string>
#include <sys/types.h>
#include <vector>

namespace talwyn::platform::testing {

class SpawnedProcess {
public:
    // Runs `argv` (looked up on PATH) with DISPLAY set to `display`; its
    // output is discarded. running() is false when it could not start.
    SpawnedProcess(const std::vector<std::string>& argv, const std::string& display);
    ~SpawnedProcess();
    SpawnedProcess(const SpawnedProcess&) = delete;
    SpawnedProcess& operator=(const SpawnedProcess&) = delete;

    bool running() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
};

} // namespace talwyn::platform::testing
