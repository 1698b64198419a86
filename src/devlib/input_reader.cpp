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
    hid::Result read(std::span<uint8_t> buffer) override { return device_->readInputReport(buffer, -1); }
    void cancel() override { device_->cancelInput(); }

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

InputReader::InputReader(std::unique_ptr<InputDevice> device, Handler handler, hid::StoppableSleeper& sleeper)
    : device_(std::move(device)), handler_(std::move(handler)), sleeper_(sleeper),
      thread_([this](std::stop_token stop) { run(stop); }) {}

// The thread, declared last, is asked to stop and joined before anything it uses goes.
InputReader::~InputReader() = default;

void InputReader::run(std::stop_token stop) {
    {
        // Runs on the thread that asks for the stop, or here at once when
        // asked before; leaving this scope waits for a cancel under way, so
        // the device is never released under it.
        std::stop_callback cancelRead(stop, [this] { device_->cancel(); });
        Report report{};
        while (!stop.stop_requested()) {
            // Cleared before every read so a short report never shows stale bytes.
            report.fill(0);
            report[0] = protocol::kReportIdInput;
            const hid::Result result = device_->read(report);
            if (stop.stop_requested())
                break;
            if (result.ok() && result.bytes > 0)
                handler_(report);
            sleeper_.sleep(kPauseAfterReport, stop);
        }
    }
    device_.reset();
}

} // namespace talwyn::devlib
