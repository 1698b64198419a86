#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace talwyn::platform {

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool InstanceLock::tryAcquire() {
    if (held()) {
        return true;
    }
    const int fd = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

} // namespace talwyn::platform
