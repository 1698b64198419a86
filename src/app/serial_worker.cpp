#include "app/serial_worker.h"

namespace talwyn::app {

SerialWorker::SerialWorker() : thread_([this](std::stop_token stop) { run(stop); }) {}

SerialWorker::~SerialWorker() {
    thread_.request_stop();
    thread_.join();
}

void SerialWorker::post(Job job) {
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void SerialWorker::waitIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return jobs_.empty() && !running_; });
}

void SerialWorker::run(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, stop, [this] { return !jobs_.empty(); });
        if (jobs_.empty()) {
            return; // stop requested and nothing left to do
        }
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        running_ = true;
        lock.unlock();
        job();
        lock.lock();
        running_ = false;
        if (jobs_.empty()) {
            idle_.notify_all();
        }
    }
}

} // namespace talwyn::app
