// Pointer settings handed to a thread of their own: the caller never waits
// for the desktop, and what the user asked for last always arrives.

#include "platform/pointer/background_pointer_settings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace talwyn::platform {
namespace {

using namespace std::chrono_literals;

// Generous: only ends a test that would otherwise hang.
constexpr auto kHangGuard = 20s;

PointerRequest speed(int mouseSpeed) {
    PointerRequest request;
    request.mouseSpeed = mouseSpeed;
    return request;
}

// A desktop that notes what it was asked and where, and can hold the first
// request until the test lets it go, like a settings tool that hangs.
struct SlowDesktop {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<int> speeds;
    std::vector<std::thread::id> threads;
    std::thread::id madeOn;
    int made = 0;
    bool holdFirst = false;
    bool holding = false;
    bool released = false;
    bool releasedInTime = true;

    struct Backend final : PointerSettings {
        explicit Backend(SlowDesktop& desktop) : desktop_(desktop) {}
        void apply(const PointerRequest& request) override {
            std::unique_lock lock(desktop_.mutex);
            desktop_.speeds.push_back(request.mouseSpeed);
            desktop_.threads.push_back(std::this_thread::get_id());
            if (desktop_.holdFirst && desktop_.speeds.size() == 1) {
                desktop_.holding = true;
                desktop_.changed.notify_all();
                desktop_.releasedInTime =
                    desktop_.changed.wait_for(lock, kHangGuard, [this] { return desktop_.released; });
            }
        }
        SlowDesktop& desktop_;
    };

    BackgroundPointerSettings::BackendFactory factory() {
        return [this] {
            const std::lock_guard lock(mutex);
            ++made;
            madeOn = std::this_thread::get_id();
            return std::make_unique<Backend>(*this);
        };
    }
    void awaitHold() {
        std::unique_lock lock(mutex);
        changed.wait_for(lock, kHangGuard, [this] { return holding; });
    }
    void release() {
        {
            const std::lock_guard lock(mutex);
            released = true;
        }
        changed.notify_all();
    }
};

TEST(BackgroundPointerSettings, TheCallerGoesOnWhileTheDesktopTakesItsTime) {
    SlowDesktop desktop;
    desktop.holdFirst = true;
    {
        BackgroundPointerSettings settings(desktop.factory());
        settings.apply(speed(4)); // held by the desktop until released below
        desktop.awaitHold();
        settings.apply(speed(6));
        settings.apply(speed(8));
        settings.apply(speed(10));
        desktop.release();
    }
    EXPECT_TRUE(desktop.releasedInTime) << "apply() waited for the desktop";
    // The requests overtaken while the first was held are skipped; the last one arrives.
    EXPECT_EQ(desktop.speeds, (std::vector<int>{4, 10}));
    EXPECT_EQ(desktop.made, 1);
    EXPECT_NE(desktop.madeOn, std::this_thread::get_id());
    for (const std::thread::id thread : desktop.threads) {
        EXPECT_NE(thread, std::this_thread::get_id());
    }
}

TEST(BackgroundPointerSettings, ARequestJustBeforeTheEndStillArrives) {
    SlowDesktop desktop;
    {
        BackgroundPointerSettings settings(desktop.factory());
        settings.apply(speed(12));
    }
    EXPECT_EQ(desktop.speeds, (std::vector<int>{12}));
}

TEST(BackgroundPointerSettings, NoRequestNeverAsksTheDesktop) {
    SlowDesktop desktop;
    { BackgroundPointerSettings settings(desktop.factory()); }
    EXPECT_EQ(desktop.made, 0);
    EXPECT_TRUE(desktop.speeds.empty());
}

} // namespace
} // namespace talwyn::platform
