#include "sim/sim_server.h"

#include "hid/sim_wire.h"
#include "sim/sim_control.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace talwyn::sim {

namespace {

using hid::Result;
using hid::wire::MessageType;

constexpr uint32_t kMaxReportLength = 65536;

bool reply(int fd, const Result& result, std::span<const uint8_t> data = {}) {
    return hid::wire::sendFrame(fd, hid::wire::encodeReply(result, data));
}

const Result kNotOpen = Result::failure(hid::ErrorClass::Fatal, EBADF);
const Result kBadRequest = Result::failure(hid::ErrorClass::Fatal, EINVAL);

std::vector<std::string> splitArguments(std::span<const uint8_t> data) {
    std::vector<std::string> args;
    std::string current;
    for (uint8_t b : data) {
        if (b == 0) {
            args.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(static_cast<char>(b));
        }
    }
    return args;
}

} // namespace

bool SimServer::start(const std::filesystem::path& socketPath, std::string* error) {
    auto fail = [error](std::string why) {
        if (error)
            *error = std::move(why);
        return false;
    };
    const std::string path = socketPath.string();
    sockaddr_un address{};
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return fail("socket path too long: " + path);
    if (hid::UniqueFd probe(hid::wire::connectTo(path)); probe)
        return fail("a simulated mouse already serves " + path);
    std::error_code ignored;
    if (std::filesystem::is_socket(socketPath, ignored))
        std::filesystem::remove(socketPath, ignored); // stale: nobody answers on it

    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    listener_ = hid::UniqueFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!listener_ ||
        ::bind(listener_.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_.get(), 16) != 0) {
        const std::string reason = std::strerror(errno);
        listener_.reset();
        return fail("cannot listen on " + path + ": " + reason);
    }
    wake_ = hid::UniqueFd(::eventfd(0, EFD_CLOEXEC));
    socketPath_ = socketPath;
    acceptThread_ = std::jthread([this] { acceptLoop(); });
    return true;
}

void SimServer::stop() {
    if (acceptThread_.joinable()) {
        const uint64_t one = 1;
        [[maybe_unused]] auto n = ::write(wake_.get(), &one, sizeof one);
        acceptThread_.join();
    }
    {
        std::lock_guard lock(connectionsMutex_);
        for (auto& c : connections_) {
            c.thread.request_stop();
            ::shutdown(c.fd.get(), SHUT_RDWR);
        }
    }
    // Joined outside the lock: a finishing connection never takes it.
    for (auto& c : connections_) {
        if (c.thread.joinable())
            c.thread.join();
    }
    connections_.clear();
    if (listener_) {
        listener_.reset();
        std::error_code ignored;
        std::filesystem::remove(socketPath_, ignored);
    }
    wake_.reset();
}

void SimServer::acceptLoop() {
    for (;;) {
        // Besides the listener and the stop, the hang-up of every client: a
        // client that goes away ends its connection's wait at once, so no
        // wait has to wake now and then to look for it.
        std::vector<pollfd> fds{{listener_.get(), POLLIN, 0}, {wake_.get(), POLLIN, 0}};
        std::vector<Connection*> watched;
        {
            std::lock_guard lock(connectionsMutex_);
            for (Connection& c : connections_) {
                if (!c.hungUp) {
                    fds.push_back({c.fd.get(), POLLRDHUP, 0});
                    watched.push_back(&c);
                }
            }
        }
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents != 0)
            return;
        for (std::size_t i = 0; i < watched.size(); ++i) {
            if (fds[i + 2].revents != 0) {
                watched[i]->hungUp = true;
                watched[i]->thread.request_stop();
            }
        }
        reapFinished();
        if ((fds[0].revents & POLLIN) != 0)
            accept();
    }
}

void SimServer::accept() {
    hid::UniqueFd client(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (!client)
        return;
    std::lock_guard lock(connectionsMutex_);
    Connection& c = connections_.emplace_back();
    c.fd = std::move(client);
    c.thread = std::jthread([this, &c](std::stop_token stop) {
        serve(c, stop);
        // The peer learns at once that this connection is over; the
        // descriptor itself is closed when the connection is reaped.
        ::shutdown(c.fd.get(), SHUT_RDWR);
        c.done = true;
    });
}

void SimServer::reapFinished() {
    std::lock_guard lock(connectionsMutex_);
    connections_.remove_if([](Connection& c) {
        if (!c.done)
            return false;
        c.thread.join();
        return true;
    });
}

// A command that fails in an unforeseen way still gets its error answer; it
// must never end the connection thread, and with it the daemon.
ControlResult SimServer::runControlSafely(const std::vector<std::string>& args) {
    try {
        return runControl(mouse_, args);
    } catch (const std::exception&) {
        return {false, R"({"error":"command failed"})"};
    }
}

void SimServer::serve(Connection& connection, std::stop_token stop) {
    const int fd = connection.fd.get();
    std::optional<SimHandle> handle;
    while (auto frame = hid::wire::receiveFrame(fd)) {
        hid::wire::Reader r(*frame);
        const auto type = static_cast<MessageType>(r.u8());
        bool sent = true;
        switch (type) {
        case MessageType::Enumerate: {
            const uint16_t vendor = r.u16();
            const uint16_t product = r.u16();
            if (!r.ok()) {
                sent = reply(fd, kBadRequest);
                break;
            }
            hid::wire::Writer w;
            hid::wire::writeDeviceInfos(w, mouse_.enumerate(vendor, product));
            sent = reply(fd, Result::success(0), w.take());
            break;
        }
        case MessageType::Open: {
            const auto path = r.rest();
            Result error;
            handle = mouse_.open(std::string(path.begin(), path.end()), &error);
            sent = reply(fd, handle ? Result::success(0) : error);
            break;
        }
        case MessageType::SetFeature:
            sent = reply(fd, handle ? mouse_.setFeature(*handle, r.rest()) : kNotOpen);
            break;
        case MessageType::GetFeature: {
            const uint32_t length = r.u32();
            const uint8_t id = r.u8();
            if (!r.ok() || length == 0 || length > kMaxReportLength || !handle) {
                sent = reply(fd, handle ? kBadRequest : kNotOpen);
                break;
            }
            std::vector<uint8_t> buffer(length, 0);
            buffer[0] = id;
            const Result result = mouse_.getFeature(*handle, buffer);
            sent = reply(fd, result,
                         result.ok() ? std::span<const uint8_t>(buffer) : std::span<const uint8_t>());
            break;
        }
        case MessageType::ReadInput: {
            const int32_t timeout = r.i32();
            const uint32_t length = r.u32();
            if (!r.ok() || length > kMaxReportLength || !handle) {
                sent = reply(fd, handle ? kBadRequest : kNotOpen);
                break;
            }
            std::vector<uint8_t> buffer(length, 0);
            // A client that hangs up meanwhile stops the wait (see acceptLoop).
            const Result result = mouse_.readInput(*handle, buffer, timeout, stop);
            sent = reply(fd, result, std::span<const uint8_t>(buffer).first(result.ok() ? result.bytes : 0));
            break;
        }
        case MessageType::Control: {
            const ControlResult control = runControlSafely(splitArguments(r.rest()));
            const auto* text = reinterpret_cast<const uint8_t*>(control.json.data());
            sent = reply(fd, control.ok ? Result::success(0) : kBadRequest, {text, control.json.size()});
            break;
        }
        case MessageType::Subscribe: {
            uint64_t seen = mouse_.lastNoticeSequence();
            if (!reply(fd, Result::success(0)))
                return;
            while (!stop.stop_requested()) {
                const auto notice = mouse_.waitNotice(seen, -1, stop);
                if (!notice)
                    return; // stopped, or the mouse shut down
                seen = notice->first;
                hid::wire::Writer w;
                w.u8(static_cast<uint8_t>(notice->second.change)).text(notice->second.interfacePath);
                if (!hid::wire::sendFrame(fd, w.take()))
                    return;
            }
            return;
        }
        default:
            sent = reply(fd, kBadRequest);
            break;
        }
        if (!sent || stop.stop_requested())
            return;
    }
}

} // namespace talwyn::sim
