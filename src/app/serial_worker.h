#pragma once
// The apply lock as a worker: one thread that runs the device owner's
// commands one after the other, in the order they were posted, never two at
// once. Jobs never wait for the UI thread; they post their outcome to it.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace talwyn::app {

class SerialWorker {
public:
    using Job = std::function<void()>;

    SerialWorker();
    // Runs the jobs still queued, then joins: an apply the user asked for is
    // never dropped at exit.
    ~SerialWorker();
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    void post(Job job);
    // Blocks until every job posted before the call has finished.
    void waitIdle();

private:
    void run(std::stop_token stop);

    std::mutex mutex_;
    std::condition_variable_any wake_;
    std::condition_variable idle_;
    std::deque<Job> jobs_;
    bool running_ = false;
    std::jthread thread_;
};

} // namespace talwyn::app
