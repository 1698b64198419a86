#include "devlib/input_reader.h"

#include "protocol/device_ids.h"

namespace talwyn::devlib {
namespace {

using namespace std::chrono_literals;

// Events are delivered at most one per 80 ms; reports wait in the HID queue.
constexpr auto kPauseAfterReport = 80ms;

class BackendInputDevice final : public InputDevice {
public:
    explicit BackendInputDevice(std::unique_ptr<hid::HidDevice> device) : device_(std::move(device)) {}
    hid::Result read(std::span<uint8_t> buffer, std::chrono::milliseconds timeout) override {
        return device_->readInputReport(buffer, static_cast<int>(timeout.count()));
    }

private:
    std::unique_ptr<hid::HidDevice> device_;
};

} // namespace

std::unique_ptr<InputDevice> BackendInputSource::open() {
    // Like hid_open by vendor and product: the first interface enumerated.
    const auto interfaces = backend_.enumerate(protocol::kVendorId, protocol::kProductIdNormal);
    if (interfaces.empty())
        return nullptr;
    auto device = backend_.open(interfaces.front().path);
    return device ? std::make_unique<BackendInputDevice>(std::move(device)) : nullptr;
}

InputReader::InputReader(std::unique_ptr<InputDevice> device, Handler handler, hid::Sleeper& sleeper,
                         std::chrono::milliseconds pollTimeout)
    : device_(std::move(device)), handler_(std::move(handler)), sleeper_(sleeper), pollTimeout_(pollTimeout),
      thread_([this] { run(); }) {}

InputReader::~InputReader() {
    requestStop();
    if (thread_.joinable())
        thread_.join();
}

void InputReader::run() {
    Report report{};
    while (!stop_.load()) {
        // Cleared before every read so a short report never shows stale bytes.
        report.fill(0);
        report[0] = protocol::kReportIdInput;
        const hid::Result result = device_->read(report, pollTimeout_);
        if (stop_.load())
            break;
        if (!result.ok()) {
            sleeper_.sleep(kPauseAfterReport);
            continue;
        }
        if (result.bytes == 0)
            continue;
        handler_(report);
        sleeper_.sleep(kPauseAfterReport);
    }
    device_.reset();
}

} // namespace talwyn::devlib
