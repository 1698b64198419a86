#include "devlib/library_state.h"

#include <system_error>

namespace talwyn::devlib {
namespace {

constexpr std::size_t kFirmwareVersionOffset = 16;
constexpr std::size_t kBootloaderVersionOffset = 18;
constexpr uint16_t kStatusPresent = 1;
constexpr uint16_t kStatusAbsent = 255;

} // namespace

LibraryState::LibraryState(LibraryServices services)
    : services_(std::move(services)), channel_(services_.backend, services_.sleeper),
      capture_(channel_, services_.input, services_.readerSleeper) {}

LibraryState::~LibraryState() {
    // Listeners first: a removal notice may still run closeDevice().
    stopListeners();
    std::unique_ptr<FirmwareWorker> worker;
    {
        std::lock_guard guard(firmwareMutex_);
        worker = std::move(firmware_);
    }
    worker.reset();
    capture_.stop();
}

int32_t LibraryState::openConfig(uint16_t productId) {
    std::lock_guard guard(channel_.libraryLock());
    return channel_.transport().openConfigInterface(productId) ? 1 : 0;
}

int32_t LibraryState::openCompliant() {
    std::lock_guard guard(channel_.libraryLock());
    return channel_.transport().openCompliantInterface() ? 1 : 0;
}

int32_t LibraryState::closeConfig() {
    std::lock_guard guard(channel_.libraryLock());
    channel_.transport().closeConfig();
    return kResultOk;
}

uint8_t LibraryState::deviceStatus(uint16_t* status) {
    std::lock_guard guard(channel_.libraryLock());
    const bool present = channel_.transport().ensureDevice();
    if (status)
        *status = present ? kStatusPresent : kStatusAbsent;
    return present ? kResultOk : kResultDeviceError;
}

uint8_t LibraryState::firmwareVersion(uint16_t* version) {
    std::lock_guard guard(channel_.libraryLock());
    if (!version)
        return kResultInvalidArgument;
    return channel_.readVersion(kFirmwareVersionOffset, *version);
}

uint8_t LibraryState::bootloaderVersion(uint16_t* version) {
    std::lock_guard guard(channel_.libraryLock());
    if (!version)
        return kResultInvalidArgument;
    return channel_.readVersion(kBootloaderVersionOffset, *version);
}

uint8_t LibraryState::closeDevice() {
    // Not under the library lock: the reader may be waiting for it to read a
    // launch button's data, and is joined here.
    capture_.stop();
    closeConfig();
    return kResultOk;
}

int32_t LibraryState::setDeviceChangeCallback(DeviceChangeCallback callback) {
    if (!callback)
        return kResultDeviceError;
    deviceChangeCallback_.store(callback);
    return kResultOk;
}

int32_t LibraryState::startDeviceListener() {
    auto monitor = services_.makeMonitor ? services_.makeMonitor() : nullptr;
    if (!monitor)
        return kResultDeviceError;
    auto listener = std::make_unique<DeviceListener>(std::move(monitor), [this](uint8_t code) {
        if (const DeviceChangeCallback callback = deviceChangeCallback_.load())
            callback(&code);
        if (code == kDeviceRemoved)
            closeDevice();
    });
    if (!listener->start())
        return kResultDeviceError;
    std::lock_guard guard(listenersMutex_);
    listeners_.push_back(std::move(listener));
    return kResultOk;
}

void LibraryState::stopListeners() {
    std::vector<std::unique_ptr<DeviceListener>> listeners;
    {
        std::lock_guard guard(listenersMutex_);
        listeners.swap(listeners_);
    }
    listeners.clear();
}

int32_t LibraryState::setProgressCallback(ProgressCallback callback) {
    if (!callback)
        return kResultDeviceError;
    progressCallback_.store(callback);
    return kResultOk;
}

void LibraryState::reportProgress(FirmwareStatus status, uint32_t value) {
    if (const ProgressCallback callback = progressCallback_.load()) {
        const auto code = static_cast<uint8_t>(status);
        callback(&code, &value);
    }
}

uint8_t LibraryState::updateFirmware(uint32_t size, const uint8_t* image) {
    if (size > kMaxFirmwareSize)
        return kResultInvalidArgument;
    std::optional<FirmwareImage> blocks;
    if (image)
        blocks = FirmwareImage::fromBytes({image, size});
    std::lock_guard guard(firmwareMutex_);
    // Busy while a worker runs, and also from inside its own callback, where
    // it cannot be joined.
    if (firmware_ && (!firmware_->finished() || firmware_->onWorkerThread()))
        return kResultDeviceError;
    firmware_.reset();
    FirmwareWorker::Services services{
        channel_.transport(), channel_.libraryLock(), services_.sleeper,
        [this](FirmwareStatus status, uint32_t value) { reportProgress(status, value); },
        [this]() -> std::optional<uint16_t> {
            uint16_t version = 0;
            return firmwareVersion(&version) == kResultOk ? std::optional(version) : std::nullopt;
        }};
    try {
        firmware_ = std::make_unique<FirmwareWorker>(std::move(services), std::move(blocks));
    } catch (const std::system_error&) {
        // As when the thread cannot start: nothing is reported.
    }
    return kResultOk;
}

} // namespace talwyn::devlib
