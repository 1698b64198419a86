#pragma once
// Makes every write of this process that would grow a file past a size fail
// (EFBIG) while the object lives: a write error that root cannot bypass,
// unlike missing permissions.

#include <sys/resource.h>

#include <csignal>
#include <cstddef>

namespace talwyn::testing {

class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        // Without this the write that crosses the limit ends the process.
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limited{bytes, old_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~ScopedFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

} // namespace talwyn::testing
