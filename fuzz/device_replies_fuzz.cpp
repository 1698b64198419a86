// The device library against a mouse that answers with the fuzzer's bytes:
// feature-report replies to its commands, the profile and button-data
// blocks it reads back, input reports on its reader thread, and the
// firmware file a host hands it.
//
// Each reply or input report takes one control byte (0 retryable failure,
// 1 fatal failure, otherwise success) and then as many bytes as the report
// holds; when the input runs out, every transfer fails.

#include "devlib/firmware_worker.h"
#include "devlib/library_state.h"
#include "devlib/profile_commands.h"
#include "fuzz_support.h"
#include "protocol/device_ids.h"

#include <errno.h>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

using namespace talwyn;

class Replies {
public:
    explicit Replies(std::span<const uint8_t> data) : input_(data) {}
    hid::Result next(std::span<uint8_t> buffer) {
        std::lock_guard lock(mutex_);
        if (input_.empty()) {
            drained_.notify_all();
            return hid::Result::failure(hid::ErrorClass::Fatal, ENODEV);
        }
        const uint8_t control = input_.byte();
        if (control < 2)
            return hid::Result::failure(control == 0 ? hid::ErrorClass::Retryable : hid::ErrorClass::Fatal,
                                        EIO);
        const auto bytes = input_.take(buffer.size());
        std::copy(bytes.begin(), bytes.end(), buffer.begin());
        return hid::Result::success(bytes.size());
    }

    void waitUntilDrained() {
        std::unique_lock lock(mutex_);
        drained_.wait(lock, [this] { return input_.empty(); });
    }

private:
    std::mutex mutex_;
    std::condition_variable drained_;
    fuzz::FuzzBytes input_;
};

class FuzzDevice final : public hid::HidDevice {
public:
    FuzzDevice(Replies& replies, std::string path) : replies_(replies), path_(std::move(path)) {}
    hid::Result sendFeatureReport(std::span<const uint8_t> data) override {
        return hid::Result::success(data.size());
    }
    hid::Result getFeatureReport(std::span<uint8_t> buffer) override { return replies_.next(buffer); }
    hid::Result readInputReport(std::span<uint8_t> buffer, int) override { return replies_.next(buffer); }
    void cancelInput() override {} // reads never wait
    const std::string& path() const override { return path_; }

private:
    Replies& replies_;
    std::string path_;
};

class FuzzBackend final : public hid::HidBackend {
public:
    explicit FuzzBackend(Replies& replies) : replies_(replies) {}
    std::vector<hid::DeviceInfo> enumerate(uint16_t, uint16_t productId) override {
        return {{"config", protocol::kVendorId, productId, 0x105, protocol::kConfigCollection.usagePage,
                 protocol::kConfigCollection.usage, 1},
                {"compliant", protocol::kVendorId, productId, 0x105, protocol::kCompliantCollection.usagePage,
                 protocol::kCompliantCollection.usage, 1},
                {"events", protocol::kVendorId, productId, 0x105, 1, 2, 0}};
    }
    std::unique_ptr<hid::HidDevice> open(const std::string& path, hid::Result*) override {
        return std::make_unique<FuzzDevice>(replies_, path);
    }

private:
    Replies& replies_;
};

class NoSleep final : public hid::Sleeper, public hid::StoppableSleeper {
public:
    void sleep(std::chrono::milliseconds) override {}
    void sleep(std::chrono::milliseconds, std::stop_token) override {}
};

class NoMonitor final : public hid::DeviceMonitor {
public:
    bool start(Callback) override { return false; }
    void stop() override {}
};

int32_t TALWYN_STDCALL onEvent(const uint8_t*, const uint8_t*, const int32_t*) {
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzBytes input({data, size});
    const auto firmware = input.take(input.byte() * 64);
    (void)devlib::FirmwareImage::fromBytes(firmware);

    Replies replies(input.rest());
    FuzzBackend backend(replies);
    NoSleep sleeper;
    devlib::BackendInputSource source(backend);
    devlib::LibraryState library(
        {backend, sleeper, sleeper, source, [] { return std::make_unique<NoMonitor>(); }});
    library.openConfig(protocol::kProductIdNormal);
    uint16_t version = 0;
    library.firmwareVersion(&version);
    library.bootloaderVersion(&version);
    uint8_t profile = 0;
    devlib::getCurrentProfile(library.channel(), &profile);
    devlib::getProfileCount(library.channel(), &profile);
    ProfileSettings settings{};
    ButtonDataSet buttons{};
    devlib::readProfile(library.channel(), 1, &settings, &buttons);
    // The reader thread takes the remaining bytes as input reports, asking
    // for button data on launch events, until a read fails.
    if (library.capture(onEvent) == devlib::kResultCaptureStarted)
        replies.waitUntilDrained();
    library.closeDevice();
    return 0;
}
