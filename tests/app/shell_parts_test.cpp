// The shell's small parts: the mouse's interface paths, event meanings,
// version text, the serial device worker and the library binding.

#include "app/device_events.h"
#include "app/device_library.h"
#include "app/interface_path.h"
#include "app/main_window.h"
#include "app/serial_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <initializer_list>
#include <thread>

namespace talwyn::app {
namespace {

TEST(InterfacePath, OnlyTheMousesFirstInterfaceMatches) {
    const struct {
        const char* path;
        bool matches;
    } cases[] = {
        {R"(\\?\HID#VID_22D4&PID_1329&MI_00#7&1a&0&0000#{4d1e55b2})", true},
        {R"(\\?\hid#vid_22d4&pid_1329&mi_00#7&1a&0&0000)", false}, // spelled upper-case only
        {R"(\\?\HID#VID_22D4&PID_1329&MI_02#7&1a)", false},
        {R"(\\?\HID#VID_046D&PID_1329&MI_00#7&1a)", false},
        {R"(\\?\HID#VID_22D4&PID_1328&MI_00#7&1a)", false},
        {"22D4 1329 MI_00", false}, // a mark at the very start does not count
        {"x22D4 1329 MI_00", true},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isTalwynInterfacePath(QString::fromUtf8(c.path)), c.matches) << c.path;
    }
}

TEST(DeviceEvents, OnlyResolutionLevelsChangeAnything) {
    EXPECT_EQ(interpretDeviceEvent(2, 3)->activeDpiLevel, 4);
    EXPECT_EQ(interpretDeviceEvent(2, 3)->indicator, 3);
    EXPECT_EQ(interpretDeviceEvent(2, 0)->activeDpiLevel, 1);
    EXPECT_EQ(interpretDeviceEvent(2, 5)->activeDpiLevel, 2);
    EXPECT_FALSE(interpretDeviceEvent(2, 5)->indicator);
    EXPECT_EQ(interpretDeviceEvent(2, 255)->activeDpiLevel, 2);
    EXPECT_FALSE(interpretDeviceEvent(2, std::nullopt));
    for (const uint8_t code : std::initializer_list<uint8_t>{0, 1, 3, 4, 5, 35, 36}) {
        EXPECT_FALSE(interpretDeviceEvent(code, 3)) << int(code);
    }
}

TEST(SerialWorker, RunsJobsInOrderOneAtATime) {
    std::vector<int> order;
    std::atomic<int> running{0};
    std::atomic<int> overlaps{0};
    {
        SerialWorker worker;
        for (int i = 0; i < 20; ++i) {
            worker.post([&, i] {
                if (running.fetch_add(1) != 0) {
                    ++overlaps;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                order.push_back(i);
                running.fetch_sub(1);
            });
        }
        worker.waitIdle();
        EXPECT_EQ(order.size(), 20u);
    }
    EXPECT_EQ(overlaps.load(), 0);
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
}

TEST(SerialWorker, FinishesQueuedJobsBeforeItGoes) {
    std::atomic<int> done{0};
    {
        SerialWorker worker;
        for (int i = 0; i < 5; ++i) {
            worker.post([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                ++done;
            });
        }
    }
    EXPECT_EQ(done.load(), 5);
}

TEST(DeviceLibrary, AMissingLibraryLeavesNothingToCall) {
    DeviceLibrary library(std::filesystem::path(TALWYN_TEST_TMP) / "nowhere" / "Talwyn_pro_dll.so");
    EXPECT_FALSE(library.load());
    EXPECT_FALSE(library.ready());
    EXPECT_FALSE(library.errorText().isEmpty());
    EXPECT_EQ(library.capture(DeviceEventRelay::callback()), DeviceLibrary::kNotAvailable);
    EXPECT_FALSE(library.closeDevice());
}

TEST(DeviceLibrary, ALibraryLackingAnEntryPointIsNotUsed) {
    DeviceLibrary library(TALWYN_LACKING_LIBRARY);
    EXPECT_FALSE(library.load());
    EXPECT_TRUE(library.errorText().contains("Capture_cb_data"));
    EXPECT_EQ(library.capture(DeviceEventRelay::callback()), DeviceLibrary::kNotAvailable);
    EXPECT_FALSE(library.closeDevice());
}

TEST(DeviceLibrary, TheProgramsLibraryBindsBothEntryPoints) {
    // No mouse behind it: the capture reports it cannot open one.
    qputenv("TALWYN_HID", "sim:" TALWYN_TEST_TMP "/app-no-such-socket");
    DeviceLibrary library(std::filesystem::path(TALWYN_BIN_DIR) / std::string(deviceLibraryFileName()));
    ASSERT_TRUE(library.load()) << library.errorText().toStdString();
    EXPECT_TRUE(library.ready());
    EXPECT_EQ(library.capture(DeviceEventRelay::callback()), TALWYN_RESULT_NO_DEVICE);
    EXPECT_TRUE(library.closeDevice());
    qunsetenv("TALWYN_HID");
}

} // namespace
} // namespace talwyn::app
