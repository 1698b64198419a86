// The shipped library, loaded as a host loads it, with its own static hidapi
// and libudev on the mouse's kernel devices: discovery and feature reports,
// the device listener's uevents, the input reader on the event node, and the
// firmware update's switch to the bootloader product and back.

#include "devlib/callback_recorder.h"
#include "kernel/kernel_mouse.h"
#include "talwyn_pro_dll.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

namespace talwyn::kernel_testing {
namespace {

using devlib::testing::deviceChanges;
using devlib::testing::inputEvents;
using devlib::testing::Progress;
using devlib::testing::progressReports;

void* sharedLibrary() {
    static void* library = [] {
        const std::string path = std::string(TALWYN_BIN_DIR) + "/Talwyn_pro_dll.so";
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            ADD_FAILURE() << dlerror();
        return handle;
    }();
    return library;
}

template <typename Function> Function bind(const char* name) {
    void* address = sharedLibrary() ? dlsym(sharedLibrary(), name) : nullptr;
    if (!address)
        throw std::runtime_error(std::string("no export ") + name);
    Function function;
    std::memcpy(&function, &address, sizeof function);
    return function;
}

std::size_t threadCount() {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
        ++n;
    return n;
}

class LibraryKernelTest : public ::testing::Test {
protected:
    void SetUp() override {
        inputEvents().reset();
        deviceChanges().reset();
        progressReports().reset();
        ASSERT_NE(sharedLibrary(), nullptr);
    }
    void TearDown() override { closeDevice(); }

    std::size_t setFeatureCount() const {
        const auto all = mouse.ioctls();
        return static_cast<std::size_t>(std::count_if(all.begin(), all.end(), [](const IoctlRecord& r) {
            return r.request == HidrawRequest::SetFeature;
        }));
    }
    bool wroteTo(const std::string& simPathPart) {
        for (const std::string& line : mouse.firmware().wireLog())
            if (line.starts_with("set_feature ") && line.find(simPathPart) != std::string::npos)
                return true;
        return false;
    }

    KernelMouse mouse;
    decltype(&Open_x2_device) openDevice = bind<decltype(&Open_x2_device)>("Open_x2_device");
    decltype(&Open_x2bl_device) openBootloader = bind<decltype(&Open_x2bl_device)>("Open_x2bl_device");
    decltype(&Open_x2Compliant_device) openCompliant =
        bind<decltype(&Open_x2Compliant_device)>("Open_x2Compliant_device");
    decltype(&Get_fw_version) firmwareVersion = bind<decltype(&Get_fw_version)>("Get_fw_version");
    decltype(&Set_current_profile_id) setCurrentProfile =
        bind<decltype(&Set_current_profile_id)>("Set_current_profile_id");
    decltype(&Close_device) closeDevice = bind<decltype(&Close_device)>("Close_device");
    decltype(&Capture_cb_data) capture = bind<decltype(&Capture_cb_data)>("Capture_cb_data");
    decltype(&Device_change_message) onDeviceChange =
        bind<decltype(&Device_change_message)>("Device_change_message");
    decltype(&Start_device_listener) startListener =
        bind<decltype(&Start_device_listener)>("Start_device_listener");
    decltype(&Firmware_update_progress) onProgress =
        bind<decltype(&Firmware_update_progress)>("Firmware_update_progress");
    decltype(&Update_firmware) updateFirmware = bind<decltype(&Update_firmware)>("Update_firmware");
};

TEST_F(LibraryKernelTest, FindsTheInterfacesByUsageAndExchangesFeatureReports) {
    EXPECT_EQ(openBootloader(), 0); // normal mode: no 22d4:1328 device
    EXPECT_EQ(openDevice(), 1);
    EXPECT_EQ(openCompliant(), 1);

    uint16_t version = 0;
    EXPECT_EQ(firmwareVersion(&version), TALWYN_RESULT_OK);
    EXPECT_EQ(version, 105);
    EXPECT_EQ(setCurrentProfile(4), TALWYN_RESULT_OK);
    EXPECT_EQ(mouse.firmware().snapshot().activeSlot, 3);

    const std::string configuration = *mouse.nodeOf(sim::InterfaceRole::Configuration);
    for (const IoctlRecord& r : mouse.ioctls()) {
        if (r.request == HidrawRequest::SetFeature || r.request == HidrawRequest::GetFeature) {
            EXPECT_EQ(r.node, configuration);
        }
    }
}

TEST_F(LibraryKernelTest, RetriesTransientKernelErrorsAndFailsOnOthers) {
    ASSERT_EQ(openDevice(), 1);
    uint16_t version = 0;
    mouse.failFeatureIoctls(EPIPE, 3);
    EXPECT_EQ(firmwareVersion(&version), TALWYN_RESULT_OK);
    EXPECT_EQ(version, 105);

    auto sendsOf = [&](int error, int failures) {
        const std::size_t before = setFeatureCount();
        mouse.failFeatureIoctls(error, failures);
        EXPECT_EQ(firmwareVersion(&version), TALWYN_RESULT_DEVICE_ERROR);
        return setFeatureCount() - before;
    };
    EXPECT_EQ(sendsOf(ENODEV, 1), 1U);
    EXPECT_EQ(sendsOf(EIO, 4), 4U);
}

// The listener watches the other vendor's interfaces (3282:0003 interface 0,
// 3282:0004); the mouse's own uevents and those of other devices give nothing.
TEST_F(LibraryKernelTest, ListenerReportsUeventsOfTheWatchedInterfacesOnly) {
    ASSERT_EQ(onDeviceChange(devlib::testing::recordDeviceChange), TALWYN_RESULT_OK);
    ASSERT_EQ(startListener(), TALWYN_RESULT_OK);

    mouse.unplug();
    mouse.plug();
    mouse.removeDevice(mouse.addOtherDevice(0x046D, 0xC077, 0));
    mouse.addOtherDevice(0x3282, 0x0003, 1);
    const std::string main = mouse.addOtherDevice(0x3282, 0x0003, 0);
    ASSERT_TRUE(deviceChanges().waitFor(1));
    const std::string alternative = mouse.addOtherDevice(0x3282, 0x0004, 2);
    mouse.removeDevice(main);
    mouse.removeDevice(alternative);
    ASSERT_TRUE(deviceChanges().waitFor(4));
    EXPECT_EQ(deviceChanges().entries(), (std::vector<uint8_t>{1, 2, 255, 255}));
}

TEST_F(LibraryKernelTest, InputReportsOfTheEventNodeReachTheCallback) {
    ASSERT_EQ(capture(devlib::testing::recordInputEvent), TALWYN_RESULT_CAPTURE_STARTED);
    mouse.firmware().pressDpi();
    mouse.firmware().sendInput({0x03, 0x07, 0, 0, 0, 0, 0, 0, 0}); // unknown code: no call
    mouse.firmware().sendInput({0x03, 0x05, 0x2A, 0, 0, 0, 0, 0, 0});
    ASSERT_TRUE(inputEvents().waitFor(2));
    const auto events = inputEvents().entries();
    ASSERT_EQ(events.size(), 2U);
    EXPECT_EQ(events[0].code, 2);
    EXPECT_EQ(events[0].data, std::vector<uint8_t>{mouse.firmware().snapshot().activeDpiLevel});
    EXPECT_EQ(events[0].length, 1);
    EXPECT_EQ(events[1].code, 5);
    EXPECT_EQ(events[1].data, std::vector<uint8_t>{0x2A});
}

// Pulling the cable while the reader waits on the node: its reads fail, no
// event is made up, and the program's Close_device on the removal ends the
// reader. A new capture after the mouse is back reads again.
TEST_F(LibraryKernelTest, RemovalDuringAReadEndsTheReaderCleanly) {
    std::thread([] {}).join(); // runtimes that add a helper thread on the first start do so now
    const std::size_t threadsBefore = threadCount();
    ASSERT_EQ(capture(devlib::testing::recordInputEvent), TALWYN_RESULT_CAPTURE_STARTED);
    EXPECT_EQ(threadCount(), threadsBefore + 1);

    mouse.unplug();
    EXPECT_EQ(closeDevice(), TALWYN_RESULT_OK);
    EXPECT_EQ(threadCount(), threadsBefore);
    EXPECT_TRUE(inputEvents().entries().empty());
    EXPECT_EQ(capture(devlib::testing::recordInputEvent), TALWYN_RESULT_NO_DEVICE);

    mouse.plug();
    ASSERT_EQ(capture(devlib::testing::recordInputEvent), TALWYN_RESULT_CAPTURE_STARTED);
    mouse.firmware().pressDpi();
    ASSERT_TRUE(inputEvents().waitFor(1));
    EXPECT_EQ(inputEvents().entries().front().code, 2);
}

TEST_F(LibraryKernelTest, FirmwareUpdateSwitchesToTheBootloaderProductAndBack) {
    ASSERT_EQ(onProgress(devlib::testing::recordProgress), TALWYN_RESULT_OK);
    std::vector<uint8_t> image(2048);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(i * 7);
    ASSERT_EQ(updateFirmware(static_cast<uint32_t>(image.size()), image.data()), TALWYN_RESULT_OK);
    ASSERT_TRUE(progressReports().waitFor(7, std::chrono::seconds(30)));
    EXPECT_EQ(progressReports().entries(),
              (std::vector<Progress>{{1, 1}, {1, 3}, {1, 4}, {1, 4}, {1, 54}, {1, 100}, {96, 105}}));
    EXPECT_TRUE(wroteTo("PID_1328"));
    EXPECT_EQ(mouse.firmware().snapshot().mode, sim::Mode::Normal);
    EXPECT_TRUE(mouse.nodeOf(sim::InterfaceRole::Configuration).has_value());
    uint16_t version = 0;
    EXPECT_EQ(firmwareVersion(&version), TALWYN_RESULT_OK);
}

} // namespace
} // namespace talwyn::kernel_testing
