#include "platform/owner_thread_queue.h"

#include <QSocketNotifier>

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace talwyn::platform {

OwnerThreadQueue::OwnerThreadQueue(QObject* parent)
    : QObject(parent), fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (fd_ >= 0) {
        notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
        connect(notifier_.get(), &QSocketNotifier::activated, this, &OwnerThreadQueue::runPending);
    }
}

OwnerThreadQueue::~OwnerThreadQueue() {
    *alive_ = false;
    notifier_.reset();
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void OwnerThreadQueue::post(Task task) {
    if (!valid()) {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        pending_.push_back(std::move(task));
    }
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(fd_, &one, sizeof one);
}

void OwnerThreadQueue::runPending() {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(fd_, &count, sizeof count);
    std::vector<Task> tasks;
    {
        const std::lock_guard lock(mutex_);
        tasks.swap(pending_);
    }
    const std::shared_ptr<bool> alive = alive_;
    for (const Task& task : tasks) {
        task();
        if (!*alive) {
            return;
        }
    }
}

} // namespace talwyn::platform
