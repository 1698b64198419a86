#include "platform/owner_thread_queue.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <thread>
#include <vector>

namespace talwyn::platform {
namespace {

constexpr int kWaitMs = 5000;

TEST(OwnerThreadQueue, RunsTasksOfAllThreadsOnOwnerInPostingOrder) {
    OwnerThreadQueue queue;
    ASSERT_TRUE(queue.valid());
    constexpr int kProducers = 4;
    constexpr int kTasksEach = 500;
    std::map<int, std::vector<int>> seen; // producer -> task numbers, touched on the owner only
    int offThread = 0;
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p) {
        producers.emplace_back([&, p] {
            for (int i = 0; i < kTasksEach; ++i) {
                queue.post([&, p, i] {
                    offThread += QThread::currentThread() != QCoreApplication::instance()->thread();
                    seen[p].push_back(i);
                });
            }
        });
    }
    for (auto& producer : producers) {
        producer.join();
    }
    EXPECT_TRUE(seen.empty()) << "ran before the owner's event loop did";
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            std::size_t total = 0;
            for (const auto& entry : seen) {
                total += entry.second.size();
            }
            return total == kProducers * kTasksEach;
        },
        kWaitMs));
    EXPECT_EQ(offThread, 0);
    for (const auto& [producer, numbers] : seen) {
        EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end())) << "producer " << producer;
    }
}

TEST(OwnerThreadQueue, TaskThatDestroysTheQueueEndsTheRun) {
    auto queue = std::make_unique<OwnerThreadQueue>();
    int ran = 0;
    queue->post([&] {
        ++ran;
        queue.reset();
    });
    queue->post([&] { ++ran; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return queue == nullptr; }, kWaitMs));
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, 1);
}

TEST(OwnerThreadQueue, PendingTasksDieWithTheQueue) {
    int ran = 0;
    {
        OwnerThreadQueue queue;
        std::thread([&] { queue.post([&] { ++ran; }); }).join();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, 0);
}

} // namespace
} // namespace talwyn::platform
