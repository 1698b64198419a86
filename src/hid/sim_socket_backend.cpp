#include "hid/sim_socket_backend.h"

#include "hid/sim_wire.h"
#include "hid/unique_fd.h"

#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>

namespace talwyn::hid {

namespace {

using wire::MessageType;

const Result kDaemonGone = Result::failure(ErrorClass::Fatal, ENODEV);

// One request, one reply on an open connection.
std::optional<std::vector<uint8_t>> exchange(int fd, const std::vector<uint8_t>& request) {
    if (!wire::sendFrame(fd, request))
        return std::nullopt;
    return wire::receiveFrame(fd);
}

class SimSocketDevice final : public HidDevice {
public:
    SimSocketDevice(UniqueFd fd, std::string path) : fd_(std::move(fd)), path_(std::move(path)) {}

    Result sendFeatureReport(std::span<const uint8_t> data) override {
        Result r =
            call(wire::Writer().u8(static_cast<uint8_t>(MessageType::SetFeature)).bytes(data).take(), {});
        if (r.ok())
            r.bytes = data.size();
        return r;
    }

    Result getFeatureReport(std::span<uint8_t> buffer) override {
        if (buffer.empty())
            return Result::failure(ErrorClass::Fatal, EINVAL);
        return call(wire::Writer()
                        .u8(static_cast<uint8_t>(MessageType::GetFeature))
                        .u32(static_cast<uint32_t>(buffer.size()))
                        .u8(buffer[0])
                        .take(),
                    buffer);
    }

    Result readInputReport(std::span<uint8_t> buffer, int timeoutMs) override {
        return call(wire::Writer()
                        .u8(static_cast<uint8_t>(MessageType::ReadInput))
                        .i32(timeoutMs)
                        .u32(static_cast<uint32_t>(buffer.size()))
                        .take(),
                    buffer);
    }

    // Not under the call mutex, which a waiting read holds: shutting the
    // connection down wakes that read, which then fails as the daemon gone.
    void cancelInput() override { ::shutdown(fd_.get(), SHUT_RDWR); }

    const std::string& path() const override { return path_; }

private:
    Result call(const std::vector<uint8_t>& request, std::span<uint8_t> out) {
        std::lock_guard lock(mutex_);
        const auto reply = exchange(fd_.get(), request);
        if (!reply)
            return kDaemonGone;
        std::span<const uint8_t> data;
        Result result = wire::decodeReply(*reply, &data);
        if (result.ok()) {
            const std::size_t n = std::min(data.size(), out.size());
            std::copy_n(data.begin(), n, out.begin());
            result.bytes = out.empty() ? result.bytes : n;
        }
        return result;
    }

    std::mutex mutex_;
    UniqueFd fd_;
    std::string path_;
};

} // namespace

std::vector<DeviceInfo> SimSocketBackend::enumerate(uint16_t vendorId, uint16_t productId) {
    UniqueFd fd(wire::connectTo(socketPath_));
    if (!fd)
        return {};
    const auto reply = exchange(
        fd.get(),
        wire::Writer().u8(static_cast<uint8_t>(MessageType::Enumerate)).u16(vendorId).u16(productId).take());
    if (!reply)
        return {};
    std::span<const uint8_t> data;
    if (!wire::decodeReply(*reply, &data).ok())
        return {};
    wire::Reader r(data);
    return wire::readDeviceInfos(r).value_or(std::vector<DeviceInfo>{});
}

std::unique_ptr<HidDevice> SimSocketBackend::open(const std::string& path, Result* error) {
    UniqueFd fd(wire::connectTo(socketPath_));
    auto fail = [error](Result r) -> std::unique_ptr<HidDevice> {
        if (error)
            *error = r;
        return nullptr;
    };
    if (!fd)
        return fail(kDaemonGone);
    const auto reply =
        exchange(fd.get(), wire::Writer().u8(static_cast<uint8_t>(MessageType::Open)).text(path).take());
    if (!reply)
        return fail(kDaemonGone);
    const Result result = wire::decodeReply(*reply, nullptr);
    if (!result.ok())
        return fail(result);
    return std::make_unique<SimSocketDevice>(std::move(fd), path);
}

bool SimSocketMonitor::start(Callback callback) {
    stop();
    UniqueFd fd(wire::connectTo(socketPath_));
    if (!fd ||
        !wire::sendFrame(fd.get(), wire::Writer().u8(static_cast<uint8_t>(MessageType::Subscribe)).take()))
        return false;
    // The daemon confirms the subscription before any notice, so no notice
    // sent after start() returns is missed.
    const auto confirmation = wire::receiveFrame(fd.get());
    if (!confirmation || !wire::decodeReply(*confirmation, nullptr).ok())
        return false;
    fd_ = fd.get();
    thread_ = std::jthread([fd = std::move(fd), callback = std::move(callback)] {
        while (auto frame = wire::receiveFrame(fd.get())) {
            wire::Reader r(*frame);
            const uint8_t change = r.u8();
            const auto rest = r.rest();
            if (!r.ok() || change > static_cast<uint8_t>(DeviceChange::Removal))
                continue;
            callback({static_cast<DeviceChange>(change), std::string(rest.begin(), rest.end())});
        }
    });
    return true;
}

void SimSocketMonitor::stop() {
    if (thread_.joinable()) {
        ::shutdown(fd_, SHUT_RDWR); // wakes the reader, which then ends
        thread_.join();
    }
    fd_ = -1;
}

bool sendSimControl(const std::string& socketPath, const std::vector<std::string>& args, std::string& reply) {
    UniqueFd fd(wire::connectTo(socketPath));
    if (!fd) {
        reply = "cannot reach the simulated mouse at " + socketPath + ": " + std::strerror(errno);
        return false;
    }
    wire::Writer w;
    w.u8(static_cast<uint8_t>(MessageType::Control));
    for (const auto& arg : args)
        w.text(arg).u8(0);
    const auto frame = exchange(fd.get(), w.take());
    if (!frame) {
        reply = "the simulated mouse closed the connection";
        return false;
    }
    std::span<const uint8_t> data;
    const Result result = wire::decodeReply(*frame, &data);
    reply.assign(data.begin(), data.end());
    return result.ok();
}

} // namespace talwyn::hid
