#pragma once
// An exclusive lock on a file, held until the object dies (or the process
// does: the kernel drops it on a crash, so a dead first copy never blocks).

#include <filesystem>

namespace talwyn::platform {

class InstanceLock {
public:
    explicit InstanceLock(std::filesystem::path file) : file_(std::move(file)) {}
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    enum class Outcome {
        Acquired, // ours, now or already
        HeldElsewhere,
        Unavailable, // the lock file cannot be opened, so nobody can hold it
    };
    // Never waits.
    Outcome tryAcquire();
    bool held() const { return fd_ >= 0; }

private:
    std::filesystem::path file_;
    int fd_ = -1;
};

} // namespace talwyn::platform
