#include "sim/sim_mouse.h"

#include "protocol/commands.h"
#include "sim/library_protocol.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <utility>

namespace talwyn::sim {

namespace {

constexpr std::size_t kMaxQueuedInput = 64;
constexpr std::size_t kKeptNotices = 256;
constexpr char kHidClass[] = "#{4d1e55b2-f16f-11cf-88cb-001111000030}";

namespace off = protocol::image_offset;

constexpr std::size_t kValueByte = protocol::kPayloadOffset;
constexpr std::size_t kUploadPartSize = protocol::kDataBlockSize;

template <typename Predicate>
void waitFor(std::unique_lock<std::mutex>& lock, std::condition_variable_any& cv, int timeoutMs,
             std::stop_token stop, Predicate ready) {
    if (timeoutMs < 0)
        cv.wait(lock, stop, ready);
    else
        cv.wait_for(lock, stop, std::chrono::milliseconds(timeoutMs), ready);
}

// The event interface's collection: generic desktop, mouse.
constexpr protocol::Collection kEventsCollection{0x0001, 0x0002};

hid::DeviceInfo info(std::string path, uint16_t product, uint16_t release, protocol::Collection collection,
                     int interfaceNumber) {
    return {std::move(path),      protocol::kVendorId, product,        release,
            collection.usagePage, collection.usage,    interfaceNumber};
}

const char* roleName(InterfaceRole role) {
    switch (role) {
    case InterfaceRole::Events:
        return "event";
    case InterfaceRole::Configuration:
        return "configuration";
    case InterfaceRole::SecondVendor:
        return "second vendor";
    case InterfaceRole::Bootloader:
        return "bootloader";
    }
    return "unknown";
}

uint8_t levelCountOf(const Image& image) {
    return std::clamp<uint8_t>(image[off::kDpiLevelCount], 1, protocol::kImageDpiLevels);
}

} // namespace

std::vector<uint8_t> makeStatusReply(uint8_t status, std::size_t length) {
    std::vector<uint8_t> reply(std::max<std::size_t>(length, 2), 0);
    reply[0] = protocol::kReportIdCommand;
    reply[1] = status;
    return reply;
}

std::string toHex(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) {
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0xF]);
    }
    return out;
}

std::vector<SimInterface> interfacesFor(const FirmwareState& state) {
    if (!state.present)
        return {};
    const std::string prefix = "\\\\?\\HID#VID_22D4&PID_";
    if (state.mode == Mode::Bootloader) {
        const uint16_t bl = state.bootloaderVersion;
        return {{InterfaceRole::Bootloader,
                 info(prefix + "1328#6&3E4F5A6B&0&0000" + kHidClass, protocol::kProductIdBootloader, bl,
                      protocol::kConfigCollection, 0)}};
    }
    const uint16_t fw = state.firmwareVersion;
    return {
        {InterfaceRole::Events, info(prefix + "1329&MI_00#7&1A2B3C4D&0&0000" + kHidClass,
                                     protocol::kProductIdNormal, fw, kEventsCollection, 0)},
        {InterfaceRole::Configuration, info(prefix + "1329&MI_01&Col01#7&2C3D4E5F&0&0000" + kHidClass,
                                            protocol::kProductIdNormal, fw, protocol::kConfigCollection, 1)},
        {InterfaceRole::SecondVendor,
         info(prefix + "1329&MI_01&Col02#7&2C3D4E5F&0&0001" + kHidClass, protocol::kProductIdNormal, fw,
              protocol::kCompliantCollection, 1)},
    };
}

// The lock is held whenever a protocol handler runs, so the context calls the
// unlocked internals.
class SimMouse::Context final : public FirmwareContext {
public:
    explicit Context(SimMouse& mouse) : mouse_(mouse) {}
    FirmwareState& state() override { return mouse_.state_; }
    void note(const std::string& text) override { mouse_.noteLocked(text); }
    void switchMode(Mode mode) override { mouse_.reenumerate(mode, mouse_.state_.present); }
    void queueInputReport(const InputReport& report) override { mouse_.queueInput(report); }

private:
    SimMouse& mouse_;
};

SimMouse::SimMouse(SimOptions options) : library_(std::make_unique<LibraryProtocol>()) {
    state_.firmwareVersion = options.firmwareVersion;
    state_.bootloaderVersion = options.bootloaderVersion;
    state_.present = options.present;
    for (uint8_t slot = 0; slot < protocol::kProfileCount; ++slot)
        state_.images[slot] = factoryImage(slot);
    activateSlot(0);
    pendingStatus_ = makeStatusReply(protocol::kReplyDone);
}

SimMouse::~SimMouse() {
    shutdown();
}

std::vector<hid::DeviceInfo> SimMouse::enumerate(uint16_t vendorId, uint16_t productId) const {
    std::lock_guard lock(mutex_);
    std::vector<hid::DeviceInfo> found;
    for (const auto& iface : interfacesFor(state_)) {
        if ((vendorId == 0 || vendorId == iface.info.vendorId) &&
            (productId == 0 || productId == iface.info.productId))
            found.push_back(iface.info);
    }
    return found;
}

std::optional<SimHandle> SimMouse::open(const std::string& path, hid::Result* error) {
    std::lock_guard lock(mutex_);
    for (const auto& iface : interfacesFor(state_)) {
        if (iface.info.path == path)
            return SimHandle{path, iface.role, generation_};
    }
    if (error)
        *error = hid::Result::failure(hid::ErrorClass::Fatal, ENOENT);
    return std::nullopt;
}

bool SimMouse::handleIsLive(const SimHandle& handle) const {
    return state_.present && handle.generation == generation_;
}

hid::Result SimMouse::injectedFailure(const std::string& what, const SimHandle& handle) {
    FaultPlan& faults = state_.faults;
    if (faults.fatalFailures > 0) {
        --faults.fatalFailures;
        noteLocked("injected fatal failure of " + what + " " + handle.path);
        return hid::Result::failure(hid::ErrorClass::Fatal, ENODEV);
    }
    if (faults.retryableFailures > 0) {
        --faults.retryableFailures;
        noteLocked("injected retryable failure of " + what + " " + handle.path);
        return hid::Result::failure(hid::ErrorClass::Retryable, EPIPE);
    }
    return hid::Result::success(0);
}

hid::Result SimMouse::setFeature(const SimHandle& handle, std::span<const uint8_t> report) {
    std::lock_guard lock(mutex_);
    if (!handleIsLive(handle))
        return hid::Result::failure(hid::ErrorClass::Fatal, ENODEV);
    if (auto failed = injectedFailure("set_feature", handle); !failed.ok())
        return failed;
    if (report.empty()) {
        noteLocked("empty set_feature on " + handle.path);
        return hid::Result::failure(hid::ErrorClass::Fatal, EINVAL);
    }
    log("set_feature " + handle.path + " " + toHex(report));
    if (handle.role != InterfaceRole::Configuration && handle.role != InterfaceRole::Bootloader) {
        noteLocked(std::string("feature report on the ") + roleName(handle.role) + " interface refused");
        return hid::Result::failure(hid::ErrorClass::Fatal, EINVAL);
    }
    handleReport(handle, report);
    return hid::Result::success(report.size());
}

void SimMouse::handleReport(const SimHandle& handle, std::span<const uint8_t> report) {
    if (state_.mode == Mode::Normal && handleProgramReport(report))
        return;
    Context context(*this);
    ReportReply reply = library_->handle(context, handle.role, report);
    if (!reply.status.empty())
        pendingStatus_ = std::move(reply.status);
    if (!reply.block.empty())
        pendingBlock_ = std::move(reply.block);
    pendingMode_ = reply.modeAfterStatusRead;
}

// The program's own protocol; false for reports it leaves to the library.
bool SimMouse::handleProgramReport(std::span<const uint8_t> report) {
    const uint8_t id = report[0];
    const uint8_t command = report.size() > 1 ? report[1] : 0;
    const bool programCommand =
        id == protocol::kReportIdCommand &&
        (command == protocol::command::kReadActiveProfile || command == protocol::command::kActivateProfile ||
         command == protocol::command::kSurfaceAnalysis);
    const bool imageUpload = id == protocol::kReportIdData && command == protocol::command::kUploadImage;
    if (!programCommand && !imageUpload)
        return false;

    const std::size_t expected = programCommand ? protocol::kCommandReportSize : protocol::kBlockReportSize;
    if (report.size() != expected) {
        noteLocked("report " + toHex(report.first(2)) + " has " + std::to_string(report.size()) +
                   " bytes, expected " + std::to_string(expected));
        pendingStatus_ = makeStatusReply(protocol::kReplyFailed);
        return true;
    }

    std::vector<uint8_t> reply = makeStatusReply(protocol::kReplyDone);
    if (imageUpload) {
        const uint8_t slot = report[5];
        const uint8_t part = report[6];
        if (slot >= protocol::kProfileCount || part > 1) {
            noteLocked("image upload to slot " + std::to_string(slot) + " part " + std::to_string(part) +
                       " refused");
            reply[1] = protocol::kReplyFailed;
        } else {
            std::copy_n(report.begin() + 16, kUploadPartSize,
                        state_.images[slot].begin() + part * kUploadPartSize);
            if (report.back() != 0)
                noteLocked("last byte of an image upload is " + std::to_string(report.back()) +
                           ", expected 0");
        }
    } else if (command == protocol::command::kReadActiveProfile) {
        reply[kValueByte] = state_.activeSlot;
    } else if (command == protocol::command::kActivateProfile) {
        const uint8_t slot = report[5];
        if (slot >= protocol::kProfileCount) {
            noteLocked("activation of slot " + std::to_string(slot) + " refused");
            reply[1] = protocol::kReplyFailed;
        } else {
            activateSlot(slot);
        }
    } else if (report[2] == protocol::command::kSurfaceRead) {
        reply[kValueByte] = state_.surfaceValue;
    } else if (report[2] != protocol::command::kSurfaceStart) {
        noteLocked("unknown surface analysis step " + std::to_string(report[2]));
        reply[1] = protocol::kReplyFailed;
    }
    pendingStatus_ = std::move(reply);
    return true;
}

void SimMouse::activateSlot(uint8_t slot) {
    state_.activeSlot = slot;
    const Image& image = state_.images[slot];
    const int level = image[off::kActiveDpiLevel];
    state_.activeDpiLevel = static_cast<uint8_t>(std::clamp(level - 1, 0, levelCountOf(image) - 1));
}

hid::Result SimMouse::getFeature(const SimHandle& handle, std::span<uint8_t> buffer) {
    std::lock_guard lock(mutex_);
    if (!handleIsLive(handle))
        return hid::Result::failure(hid::ErrorClass::Fatal, ENODEV);
    if (auto failed = injectedFailure("get_feature", handle); !failed.ok())
        return failed;
    if (buffer.empty()) {
        noteLocked("empty get_feature on " + handle.path);
        return hid::Result::failure(hid::ErrorClass::Fatal, EINVAL);
    }
    if (handle.role != InterfaceRole::Configuration && handle.role != InterfaceRole::Bootloader) {
        noteLocked(std::string("get_feature on the ") + roleName(handle.role) + " interface refused");
        return hid::Result::failure(hid::ErrorClass::Fatal, EINVAL);
    }
    const uint8_t id = buffer[0];
    std::vector<uint8_t> reply;
    std::optional<Mode> switchTo;
    if (id == protocol::kReportIdCommand) {
        if (state_.faults.busyReplies > 0) {
            --state_.faults.busyReplies;
            reply = makeStatusReply(protocol::kReplyBusy);
        } else {
            reply = pendingStatus_;
            switchTo = std::exchange(pendingMode_, std::nullopt);
        }
    } else if (id == protocol::kReportIdData) {
        reply = pendingBlock_;
        if (reply.empty())
            reply.assign(1, protocol::kReportIdData);
    } else {
        noteLocked("get_feature of unknown report id " + toHex(buffer.first(1)));
        return hid::Result::failure(hid::ErrorClass::Fatal, EINVAL);
    }
    std::fill(buffer.begin(), buffer.end(), 0);
    std::copy_n(reply.begin(), std::min(reply.size(), buffer.size()), buffer.begin());
    buffer[0] = id;
    log("get_feature " + handle.path + " " + toHex(buffer));
    if (switchTo)
        reenumerate(*switchTo, state_.present);
    return hid::Result::success(buffer.size());
}

hid::Result SimMouse::readInput(const SimHandle& handle, std::span<uint8_t> buffer, int timeoutMs,
                                std::stop_token stop) {
    std::unique_lock lock(mutex_);
    auto ready = [&] {
        return shutdown_ || !handleIsLive(handle) ||
               (handle.role == InterfaceRole::Events && !inputQueue_.empty());
    };
    waitFor(lock, changed_, timeoutMs, stop, ready);
    if (!handleIsLive(handle))
        return hid::Result::failure(hid::ErrorClass::Fatal, ENODEV);
    if (handle.role != InterfaceRole::Events || inputQueue_.empty())
        return hid::Result::success(0);
    const InputReport report = inputQueue_.front();
    inputQueue_.pop_front();
    const std::size_t n = std::min(buffer.size(), report.size());
    std::copy_n(report.begin(), n, buffer.begin());
    log("input " + handle.path + " " + toHex(report));
    return hid::Result::success(n);
}

void SimMouse::plug() {
    std::lock_guard lock(mutex_);
    if (!state_.present)
        reenumerate(state_.mode, true);
}

void SimMouse::unplug() {
    std::lock_guard lock(mutex_);
    if (state_.present)
        reenumerate(state_.mode, false);
}

void SimMouse::reenumerate(Mode mode, bool present) {
    for (const auto& iface : interfacesFor(state_))
        postNotice(hid::DeviceChange::Removal, iface.info.path);
    state_.mode = mode;
    state_.present = present;
    ++generation_;
    inputQueue_.clear();
    pendingStatus_ = makeStatusReply(protocol::kReplyDone);
    pendingBlock_.clear();
    for (const auto& iface : interfacesFor(state_))
        postNotice(hid::DeviceChange::Arrival, iface.info.path);
    changed_.notify_all();
}

void SimMouse::pressDpi() {
    std::lock_guard lock(mutex_);
    if (!state_.present || state_.mode != Mode::Normal)
        return;
    const uint8_t count = levelCountOf(state_.images[state_.activeSlot]);
    state_.activeDpiLevel = static_cast<uint8_t>((state_.activeDpiLevel + 1) % count);
    queueInput({protocol::kReportIdInput, 0x02, state_.activeDpiLevel, 0, 0, 0, 0, 0, 0});
}

bool SimMouse::pressLaunch(int button, std::string* reason) {
    std::lock_guard lock(mutex_);
    auto fail = [reason](std::string why) {
        if (reason)
            *reason = std::move(why);
        return false;
    };
    if (!state_.present || state_.mode != Mode::Normal)
        return fail("the mouse is not present in normal mode");
    if (button < 1 || button > static_cast<int>(protocol::kImageButtonCount))
        return fail("button must be 1 to 6");
    const Image& image = state_.images[state_.activeSlot];
    const std::size_t at = protocol::image_offset::kButtonSlots + 7 * static_cast<std::size_t>(button - 1);
    const uint8_t kind = image[at];
    if (kind != 0x23 && kind != 0x24)
        return fail("button " + std::to_string(button) + " does not launch a program or a browser");
    queueInput({protocol::kReportIdInput, kind, image[at + 2], image[at + 3], static_cast<uint8_t>(button),
                static_cast<uint8_t>(state_.activeSlot + 1), 0, 0, 0});
    return true;
}

void SimMouse::sendInput(const InputReport& report) {
    std::lock_guard lock(mutex_);
    queueInput(report);
}

void SimMouse::queueInput(const InputReport& report) {
    if (inputQueue_.size() >= kMaxQueuedInput) {
        noteLocked("input queue full, oldest report dropped");
        inputQueue_.pop_front();
    }
    inputQueue_.push_back(report);
    changed_.notify_all();
}

void SimMouse::setSurfaceValue(uint8_t value) {
    std::lock_guard lock(mutex_);
    state_.surfaceValue = value;
}

void SimMouse::injectBusy(int count) {
    std::lock_guard lock(mutex_);
    state_.faults.busyReplies = std::max(0, count);
}

void SimMouse::injectFailures(hid::ErrorClass errorClass, int count) {
    std::lock_guard lock(mutex_);
    (errorClass == hid::ErrorClass::Fatal ? state_.faults.fatalFailures : state_.faults.retryableFailures) =
        std::max(0, count);
}

void SimMouse::injectFirmwareFault(FirmwareFault fault) {
    std::lock_guard lock(mutex_);
    fault.times = std::max(0, fault.times);
    state_.faults.firmware = fault;
}

void SimMouse::notify(hid::DeviceChange change, const std::string& path) {
    std::lock_guard lock(mutex_);
    postNotice(change, path);
}

void SimMouse::postNotice(hid::DeviceChange change, const std::string& path) {
    notices_.push_back({++noticeSequence_, hid::DeviceNotice{change, path}});
    if (notices_.size() > kKeptNotices)
        notices_.erase(notices_.begin());
    changed_.notify_all();
}

std::optional<std::pair<uint64_t, hid::DeviceNotice>> SimMouse::waitNotice(uint64_t after, int timeoutMs,
                                                                           std::stop_token stop) {
    std::unique_lock lock(mutex_);
    auto ready = [&] { return shutdown_ || noticeSequence_ > after; };
    waitFor(lock, changed_, timeoutMs, stop, ready);
    const auto next =
        std::find_if(notices_.begin(), notices_.end(), [after](const auto& n) { return n.first > after; });
    if (next == notices_.end())
        return std::nullopt;
    return *next;
}

uint64_t SimMouse::lastNoticeSequence() const {
    std::lock_guard lock(mutex_);
    return noticeSequence_;
}

FirmwareState SimMouse::snapshot() const {
    std::lock_guard lock(mutex_);
    return state_;
}

std::vector<SimInterface> SimMouse::interfaces() const {
    std::lock_guard lock(mutex_);
    return interfacesFor(state_);
}

std::vector<std::string> SimMouse::wireLog() const {
    std::lock_guard lock(mutex_);
    return wireLog_;
}

void SimMouse::clearWireLog() {
    std::lock_guard lock(mutex_);
    wireLog_.clear();
}

bool SimMouse::setLogFile(const std::filesystem::path& file, LogStamps stamps) {
    std::lock_guard lock(mutex_);
    logFile_ = std::ofstream(file, std::ios::app);
    logStamps_ = stamps;
    return logFile_.good();
}

void SimMouse::log(const std::string& line) {
    wireLog_.push_back(line);
    if (!logFile_.is_open())
        return;
    if (logStamps_ == LogStamps::Monotonic) {
        using namespace std::chrono;
        logFile_ << duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count() << ' ';
    }
    logFile_ << line << std::endl; // flushed per line so readers see it at once
}

void SimMouse::noteLocked(const std::string& text) {
    log("note " + text);
}

void SimMouse::shutdown() {
    std::lock_guard lock(mutex_);
    shutdown_ = true;
    changed_.notify_all();
}

} // namespace talwyn::sim
