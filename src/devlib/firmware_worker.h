#pragma once
// The firmware update: the image split into 1024-byte blocks, and the worker
// thread that brings the mouse into bootloader mode, transfers the blocks
// and waits for the mouse to come back.
//
// EnterBootloader        A1 3A 00 00 00 6E 91 27          (64 bytes)
// StartFirmwareTransfer  A1 03 .. 16: n, 17-20: image checksum (LE32)   (1041)
// SendFirmwareBlock      A0 06 k+12 chk16(LE) .. 16-1039: block k      (1041)
// FinishFirmwareTransfer A1 09                                          (1041)
// Each is answered by a 0xA1 reply of its own length; byte 1 = 1 accepts.

#include "devlib/config_transport.h"
#include "devlib/results.h"
#include "protocol/reports.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <vector>

namespace talwyn::devlib {

inline constexpr std::size_t kMaxFirmwareBlocks = 100;
inline constexpr std::size_t kMaxFirmwareSize = kMaxFirmwareBlocks * protocol::kDataBlockSize;

enum class FirmwareStatus : uint8_t {
    Progress = 0x01,
    NewVersion = 0x60,
    NoImage = 0x50,
    EnterBootloaderFailed = 0x51,
    NoBootloader = 0x52,
    StartFailed = 0x53,
    BlockFailed = 0x54,
    FinishFailed = 0x55,
    NoDevice = 0x56,
};

struct FirmwareImage {
    std::vector<protocol::DataBlock> blocks; // the last one zero-filled

    // Nothing when the image exceeds kMaxFirmwareSize.
    static std::optional<FirmwareImage> fromBytes(std::span<const uint8_t> bytes);
    // 32-bit sum of every byte of every block, the zero fill included.
    uint32_t checksum() const;
};

class FirmwareWorker {
public:
    struct Services {
        ConfigTransport& transport;
        std::recursive_mutex& libraryLock;
        hid::Sleeper& sleeper;
        std::function<void(FirmwareStatus, uint32_t)> report;
        // The firmware version as Get_fw_version stores it, or nothing.
        std::function<std::optional<uint16_t>()> readFirmwareVersion;
    };

    // Starts the thread (no image: it reports NoImage and ends); throws
    // std::system_error when it cannot start.
    FirmwareWorker(Services services, std::optional<FirmwareImage> image);
    // Cancels and joins.
    ~FirmwareWorker();
    FirmwareWorker(const FirmwareWorker&) = delete;
    FirmwareWorker& operator=(const FirmwareWorker&) = delete;

    // True from the last report on, so a host may start the next update as
    // soon as it has seen it.
    bool finished() const { return finished_.load(); }
    bool onWorkerThread() const { return std::this_thread::get_id() == thread_.get_id(); }
    // The worker stops at its next step without reporting further.
    void cancel() { cancelled_.store(true); }

private:
    enum class DeviceMode { Normal, Bootloader, None };

    void run();
    void update();
    bool transfer();
    DeviceMode findDeviceMode();
    bool waitForBootloader();
    bool waitForNormalMode();
    bool open(uint16_t productId);
    void closeConfig();
    void pause(std::chrono::milliseconds duration);
    void progress(uint32_t value);
    void fail(FirmwareStatus status, uint32_t value) { reportLast(status, value); }
    void reportLast(FirmwareStatus status, uint32_t value);
    // Writes `report`, pauses, reads a 0xA1 reply of the same length; the
    // reply's status byte, or nothing when the write or read failed.
    std::optional<uint8_t> exchange(std::span<const uint8_t> report, std::chrono::milliseconds retryPause,
                                    std::chrono::milliseconds pauseBeforeRead);
    bool accepted(std::span<const uint8_t> report, std::chrono::milliseconds retryPause,
                  std::chrono::milliseconds pauseBeforeRead);

    Services services_;
    std::optional<FirmwareImage> image_;
    uint32_t lastProgress_ = 0;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

} // namespace talwyn::devlib
