#pragma once
// The library as one object: the command channel with its lock, input
// capture, device listeners and the firmware update, over injected services
// so tests drive it against the simulated mouse without real pauses. The
// exported C functions forward to one process-wide instance.

#include "devlib/capture.h"
#include "devlib/command_channel.h"
#include "devlib/device_listener.h"
#include "devlib/firmware_worker.h"
#include "talwyn_pro_dll.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace talwyn::devlib {

inline constexpr uint16_t kLibraryVersion = 10;

struct LibraryServices {
    hid::HidBackend& backend;
    hid::Sleeper& sleeper;                // command pauses and the firmware worker's waits
    hid::StoppableSleeper& readerSleeper; // the input reader's pause after each report
    InputSource& input;
    std::function<std::unique_ptr<hid::DeviceMonitor>()> makeMonitor;
};

class LibraryState {
public:
    explicit LibraryState(LibraryServices services);
    // Stops every thread of the library before anything is released.
    ~LibraryState();
    LibraryState(const LibraryState&) = delete;
    LibraryState& operator=(const LibraryState&) = delete;

    CommandChannel& channel() { return channel_; }

    int32_t openConfig(uint16_t productId);
    int32_t openCompliant();
    int32_t closeConfig();
    uint8_t deviceStatus(uint16_t* status);
    uint8_t firmwareVersion(uint16_t* version);
    uint8_t bootloaderVersion(uint16_t* version);
    uint8_t closeDevice();

    int32_t capture(EventCallback callback) { return capture_.start(callback); }
    int32_t setDeviceChangeCallback(DeviceChangeCallback callback);
    int32_t startDeviceListener();

    int32_t setProgressCallback(ProgressCallback callback);
    uint8_t updateFirmware(uint32_t size, const uint8_t* image);

private:
    void stopListeners();
    void reportProgress(FirmwareStatus status, uint32_t value);

    LibraryServices services_;
    CommandChannel channel_;
    Capture capture_;
    std::atomic<DeviceChangeCallback> deviceChangeCallback_{nullptr};
    std::atomic<ProgressCallback> progressCallback_{nullptr};
    std::mutex listenersMutex_;
    std::vector<std::unique_ptr<DeviceListener>> listeners_;
    std::mutex firmwareMutex_;
    std::unique_ptr<FirmwareWorker> firmware_;
};

} // namespace talwyn::devlib
