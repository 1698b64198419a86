// Unloading the shipped library while its reader, listener and firmware
// worker run: every thread is stopped before the code goes away.

#include "callback_recorder.h"
#include "sim/sim_mouse.h"
#include "sim/sim_server.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

namespace talwyn::devlib::testing {
namespace {

std::size_t threadCount() {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
        ++n;
    return n;
}

template <typename Function> Function bind(void* library, const char* name) {
    void* address = dlsym(library, name);
    EXPECT_NE(address, nullptr) << name;
    Function function;
    std::memcpy(&function, &address, sizeof function);
    return function;
}

TEST(DevlibUnload, StopsEveryThreadOfTheLibraryFirst) {
    const std::filesystem::path scratch = std::filesystem::path(TALWYN_TEST_TMP) / "devlib_unload";
    std::filesystem::create_directories(scratch);
    const std::filesystem::path socket = scratch / "mouse.sock";
    // Runtimes that add a helper thread on the first thread start (sanitizers)
    // have done so before counting.
    std::thread([] {}).join();
    const std::size_t threadsBefore = threadCount();
    {
        sim::SimMouse mouse;
        sim::SimServer server(mouse);
        std::string error;
        ASSERT_TRUE(server.start(socket, &error)) << error;
        ASSERT_EQ(setenv("TALWYN_HID", ("sim:" + socket.string()).c_str(), 1), 0);

        const std::string path = std::string(TALWYN_BIN_DIR) + "/Talwyn_pro_dll.so";
        void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
        inputEvents().reset();
        progressReports().reset();
        using CaptureFn = int32_t(TALWYN_STDCALL*)(EventCallback);
        using ListenerFn = int32_t(TALWYN_CDECL*)();
        using ProgressFn = int32_t(TALWYN_STDCALL*)(ProgressCallback);
        using UpdateFn = uint8_t(TALWYN_CDECL*)(uint32_t, const uint8_t*);
        EXPECT_EQ(bind<CaptureFn>(library, "Capture_cb_data")(recordInputEvent),
                  TALWYN_RESULT_CAPTURE_STARTED);
        mouse.pressDpi();
        EXPECT_TRUE(inputEvents().waitFor(1));
        EXPECT_EQ(bind<ListenerFn>(library, "Start_device_listener")(), TALWYN_RESULT_OK);
        // Without a mouse the worker searches for most of a minute.
        mouse.unplug();
        EXPECT_EQ(bind<ProgressFn>(library, "Firmware_update_progress")(recordProgress), TALWYN_RESULT_OK);
        const uint8_t image[16] = {};
        EXPECT_EQ(bind<UpdateFn>(library, "Update_firmware")(sizeof image, image), TALWYN_RESULT_OK);
        EXPECT_TRUE(progressReports().waitFor(1));

        EXPECT_EQ(dlclose(library), 0);
        EXPECT_EQ(dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr) << "the library stayed loaded";
        unsetenv("TALWYN_HID");
        EXPECT_EQ(progressReports().entries().size(), 1u) << "the worker reported after it was stopped";
    }
    EXPECT_EQ(threadCount(), threadsBefore);
}

} // namespace
} // namespace talwyn::devlib::testing
