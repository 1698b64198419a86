#pragma once
// The device library, loaded at run time by file name from the program
// folder. Only two of its entry points are used: the event capture and the
// device close. A library that is missing or lacks either entry point leaves
// the program running without device events; nothing is ever called through
// a null pointer.

#include "devlib_host/shared_library.h"
#include "talwyn_pro_dll.h"

#include <QString>

#include <filesystem>

namespace talwyn::app {

using devlib_host::deviceLibraryFileName;

class DeviceLibrary {
public:
    using CaptureFunction = int32_t(TALWYN_CDECL*)(EventCallback);
    using CloseFunction = uint8_t(TALWYN_CDECL*)();

    // Result of capture() when the library offers no capture.
    static constexpr int32_t kNotAvailable = -1;

    explicit DeviceLibrary(std::filesystem::path file);
    ~DeviceLibrary();
    DeviceLibrary(const DeviceLibrary&) = delete;
    DeviceLibrary& operator=(const DeviceLibrary&) = delete;

    // Loads the library and binds both entry points; true when both are bound.
    bool load();
    bool ready() const { return capture_ != nullptr && close_ != nullptr; }
    // Why load() failed; empty after a successful load.
    QString errorText() const { return error_; }

    // Capture_cb_data(callback), or kNotAvailable.
    int32_t capture(EventCallback callback);
    // Close_device(); false when the library offers none.
    bool closeDevice();

private:
    std::filesystem::path file_;
    devlib_host::SharedLibrary library_;
    CaptureFunction capture_ = nullptr;
    CloseFunction close_ = nullptr;
    QString error_;
};

} // namespace talwyn::app
