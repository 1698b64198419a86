#pragma once
// Carries work from any thread to the thread that owns the queue (the UI
// thread), where it runs in the order it was posted. The hand-over is a
// mutex and an eventfd watched by the owner's event loop, so nothing but the
// posted tasks crosses threads.

#include <QObject>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class QSocketNotifier;

namespace talwyn::platform {

class OwnerThreadQueue final : public QObject {
    Q_OBJECT
public:
    using Task = std::function<void()>;

    // The constructing thread is the owner.
    explicit OwnerThreadQueue(QObject* parent = nullptr);
    ~OwnerThreadQueue() override;

    // False when the system gave no wake-up descriptor; posting then does nothing.
    bool valid() const { return fd_ >= 0; }
    // Any thread. Tasks still waiting when the queue dies are dropped.
    void post(Task task);

private:
    void runPending();

    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::mutex mutex_;
    std::vector<Task> pending_;
    // Lets runPending notice that a task destroyed the queue.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace talwyn::platform
