#include "devlib/firmware_worker.h"

#include "protocol/commands.h"
#include "protocol/device_ids.h"

#include <algorithm>
#include <array>

namespace talwyn::devlib {
namespace {

using namespace std::chrono_literals;

constexpr std::array kBootloaderSearchPauses{0ms, 500ms, 1000ms, 1500ms, 2000ms};
constexpr std::array kStartRetryPauses{300ms, 600ms, 900ms, 1200ms, 1500ms};
constexpr std::array kBlockRetryPauses{0ms, 100ms, 200ms};
constexpr int kFirstBootloaderTries = 3;
constexpr auto kFirstBootloaderPause = 500ms;
constexpr int kAlternatingTries = 31;
constexpr auto kAlternatingPause = 1500ms;
// The mouse restarts into normal mode after the transfer; it is given a
// minute, polled every half second rather than in a tight loop.
constexpr auto kReturnPollPause = 500ms;
constexpr auto kReturnTimeout = 60s;

} // namespace

std::optional<FirmwareImage> FirmwareImage::fromBytes(std::span<const uint8_t> bytes) {
    if (bytes.size() > kMaxFirmwareSize)
        return std::nullopt;
    FirmwareImage image;
    for (std::size_t offset = 0; offset < bytes.size(); offset += protocol::kDataBlockSize) {
        protocol::DataBlock block{};
        const auto part = bytes.subspan(offset, std::min(protocol::kDataBlockSize, bytes.size() - offset));
        std::copy(part.begin(), part.end(), block.begin());
        image.blocks.push_back(block);
    }
    return image;
}

uint32_t FirmwareImage::checksum() const {
    uint32_t sum = 0;
    for (const protocol::DataBlock& block : blocks)
        for (uint8_t b : block)
            sum += b;
    return sum;
}

FirmwareWorker::FirmwareWorker(Services services, std::optional<FirmwareImage> image)
    : services_(std::move(services)), image_(std::move(image)), thread_([this] { run(); }) {}

FirmwareWorker::~FirmwareWorker() {
    cancel();
    if (thread_.joinable())
        thread_.join();
}

void FirmwareWorker::run() {
    update();
    image_.reset();
    finished_.store(true);
}

void FirmwareWorker::pause(std::chrono::milliseconds duration) {
    if (!cancelled_.load())
        services_.sleeper.sleep(duration);
}

void FirmwareWorker::reportLast(FirmwareStatus status, uint32_t value) {
    finished_.store(true);
    services_.report(status, value);
}

void FirmwareWorker::progress(uint32_t value) {
    lastProgress_ = value;
    services_.report(FirmwareStatus::Progress, value);
}

bool FirmwareWorker::open(uint16_t productId) {
    std::lock_guard lock(services_.libraryLock);
    return services_.transport.openConfigInterface(productId);
}

void FirmwareWorker::closeConfig() {
    std::lock_guard lock(services_.libraryLock);
    services_.transport.closeConfig();
}

std::optional<uint8_t> FirmwareWorker::exchange(std::span<const uint8_t> report,
                                                std::chrono::milliseconds retryPause,
                                                std::chrono::milliseconds pauseBeforeRead) {
    std::lock_guard lock(services_.libraryLock);
    ConfigTransport& transport = services_.transport;
    if (!transport.sendReport(report, retryPause))
        return std::nullopt;
    pause(pauseBeforeRead);
    std::vector<uint8_t> reply(report.size(), 0);
    reply[0] = protocol::kReportIdCommand;
    if (!transport.receiveReport(reply))
        return std::nullopt;
    return reply[1];
}

bool FirmwareWorker::accepted(std::span<const uint8_t> report, std::chrono::milliseconds retryPause,
                              std::chrono::milliseconds pauseBeforeRead) {
    return exchange(report, retryPause, pauseBeforeRead) == protocol::kReplyDone;
}

FirmwareWorker::DeviceMode FirmwareWorker::findDeviceMode() {
    closeConfig();
    if (open(protocol::kProductIdNormal))
        return DeviceMode::Normal;
    closeConfig();
    for (int attempt = 0; attempt < kFirstBootloaderTries && !cancelled_.load(); ++attempt) {
        if (open(protocol::kProductIdBootloader))
            return DeviceMode::Bootloader;
        pause(kFirstBootloaderPause);
    }
    // Alternate between the modes, bootloader first, while the mouse restarts.
    for (int n = kAlternatingTries - 1; n >= 0 && !cancelled_.load(); --n) {
        const bool bootloader = n % 2 == 0;
        if (open(bootloader ? protocol::kProductIdBootloader : protocol::kProductIdNormal))
            return bootloader ? DeviceMode::Bootloader : DeviceMode::Normal;
        pause(kAlternatingPause);
        closeConfig();
    }
    return DeviceMode::None;
}

bool FirmwareWorker::waitForBootloader() {
    for (auto wait : kBootloaderSearchPauses) {
        if (cancelled_.load())
            return false;
        if (open(protocol::kProductIdBootloader))
            return true;
        pause(wait);
    }
    return false;
}

bool FirmwareWorker::waitForNormalMode() {
    for (auto waited = 0ms; waited < kReturnTimeout && !cancelled_.load(); waited += kReturnPollPause) {
        if (open(protocol::kProductIdNormal))
            return true;
        pause(kReturnPollPause);
    }
    return false;
}

void FirmwareWorker::update() {
    if (!image_) {
        fail(FirmwareStatus::NoImage, 0);
        return;
    }
    progress(1);
    const DeviceMode mode = findDeviceMode();
    if (cancelled_.load())
        return;
    if (mode == DeviceMode::None) {
        fail(FirmwareStatus::NoDevice, 2);
        return;
    }
    if (mode == DeviceMode::Normal) {
        protocol::CommandReport enter = protocol::makeCommand(protocol::command::kEnterBootloader);
        std::copy(protocol::command::kBootloaderAccessCode.begin(),
                  protocol::command::kBootloaderAccessCode.end(), enter.begin() + 4);
        if (!accepted(enter, kFastRetryPause, 30ms)) {
            fail(FirmwareStatus::EnterBootloaderFailed, 1);
            return;
        }
        closeConfig();
        if (!waitForBootloader()) {
            if (!cancelled_.load())
                fail(FirmwareStatus::NoBootloader, 1);
            return;
        }
        progress(3);
        pause(1000ms);
    }
    if (!transfer() || cancelled_.load())
        return;
    if (!waitForNormalMode()) {
        if (!cancelled_.load())
            fail(FirmwareStatus::NoDevice, 2);
        return;
    }
    if (auto version = services_.readFirmwareVersion())
        reportLast(FirmwareStatus::NewVersion, *version);
}

bool FirmwareWorker::transfer() {
    const auto& blocks = image_->blocks;
    const auto count = static_cast<uint32_t>(blocks.size());

    protocol::BlockReport start =
        protocol::makeBlockReport(protocol::kReportIdCommand, protocol::command::kStartTransfer);
    start[16] = static_cast<uint8_t>(count);
    const uint32_t sum = image_->checksum();
    protocol::putLe16(start, 17, static_cast<uint16_t>(sum & 0xFFFF));
    protocol::putLe16(start, 19, static_cast<uint16_t>(sum >> 16));
    bool started = false;
    for (auto wait : kStartRetryPauses) {
        if (cancelled_.load())
            return false;
        if ((started = accepted(start, kCommandRetryPause, 50ms)))
            break;
        pause(wait);
    }
    if (!started) {
        fail(FirmwareStatus::StartFailed, 4);
        return false;
    }
    progress(4);

    for (uint32_t k = 0; k < count; ++k) {
        protocol::BlockReport block =
            protocol::makeBlockReport(protocol::kReportIdData, protocol::command::kFirmwareBlock, blocks[k]);
        block[2] = static_cast<uint8_t>(k + protocol::command::kFirstFirmwareBlock);
        protocol::putLe16(block, 3, protocol::checksum16(blocks[k]));
        bool sent = false;
        for (auto wait : kBlockRetryPauses) {
            if (cancelled_.load())
                return false;
            if ((sent = accepted(block, kCommandRetryPause, 20ms)))
                break;
            pause(wait);
        }
        if (!sent) {
            fail(FirmwareStatus::BlockFailed, lastProgress_);
            return false;
        }
        progress(4 + (100 * k) / count);
        pause(70ms);
    }

    pause(200ms);
    const protocol::BlockReport finish =
        protocol::makeBlockReport(protocol::kReportIdCommand, protocol::command::kFinishTransfer);
    if (exchange(finish, kCommandRetryPause, 10ms).value_or(0) != protocol::kReplyDone) {
        fail(FirmwareStatus::FinishFailed, lastProgress_);
        return false;
    }
    progress(100);
    return true;
}

} // namespace talwyn::devlib
