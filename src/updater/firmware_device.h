#pragma once
// The mouse as the updater sees it, through the device library loaded at run
// time by file name. Every call may wait on the mouse: callers run them off
// the UI thread, one at a time, and never while an update runs.

#include "devlib_host/shared_library.h"
#include "talwyn_pro_dll.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

namespace talwyn::updater {

enum class MouseMode { Normal, Bootloader, Absent };

struct MouseProbe {
    MouseMode mode = MouseMode::Absent;
    std::optional<int> firmwareNumber; // normal mode only: 105 for 1.05
};

class FirmwareDevice {
public:
    // Called on the library's worker thread with each progress report.
    using ProgressHandler = std::function<void(uint8_t status, uint32_t value)>;

    virtual ~FirmwareDevice() = default;
    // Finds the mouse in normal mode (with its firmware version) or, failing
    // that, in bootloader mode.
    virtual MouseProbe probe() = 0;
    // Hands the image to the library's update; Update_firmware's result
    // (1 started). Progress goes to `handler` until a last report.
    virtual int startUpdate(const QByteArray& image, ProgressHandler handler) = 0;
};

class LibraryFirmwareDevice final : public FirmwareDevice {
public:
    explicit LibraryFirmwareDevice(std::filesystem::path libraryFile);
    ~LibraryFirmwareDevice() override;
    LibraryFirmwareDevice(const LibraryFirmwareDevice&) = delete;
    LibraryFirmwareDevice& operator=(const LibraryFirmwareDevice&) = delete;

    // Loads the library and binds what the updater uses; false with the reason.
    bool load(QString* error);

    MouseProbe probe() override;
    int startUpdate(const QByteArray& image, ProgressHandler handler) override;

private:
    struct Exports {
        uint8_t(TALWYN_CDECL* deviceStatus)(uint16_t*) = nullptr;
        uint8_t(TALWYN_CDECL* firmwareVersion)(uint16_t*) = nullptr;
        int32_t(TALWYN_CDECL* openBootloader)() = nullptr;
        int32_t(TALWYN_CDECL* closeConfig)() = nullptr;
        int32_t(TALWYN_STDCALL* setProgress)(ProgressCallback) = nullptr;
        uint8_t(TALWYN_CDECL* update)(uint32_t, const uint8_t*) = nullptr;
    };

    static int32_t TALWYN_STDCALL onProgress(const uint8_t* status, const uint32_t* value);

    std::filesystem::path file_;
    devlib_host::SharedLibrary library_;
    Exports exports_;
};

} // namespace talwyn::updater
