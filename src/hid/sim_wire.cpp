#include "hid/sim_wire.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace talwyn::hid::wire {

Writer& Writer::u8(uint8_t v) {
    buffer_.push_back(v);
    return *this;
}

Writer& Writer::u16(uint16_t v) {
    return u8(static_cast<uint8_t>(v)).u8(static_cast<uint8_t>(v >> 8));
}

Writer& Writer::u32(uint32_t v) {
    return u16(static_cast<uint16_t>(v)).u16(static_cast<uint16_t>(v >> 16));
}

Writer& Writer::bytes(std::span<const uint8_t> data) {
    buffer_.insert(buffer_.end(), data.begin(), data.end());
    return *this;
}

Writer& Writer::text(const std::string& s) {
    return bytes({reinterpret_cast<const uint8_t*>(s.data()), s.size()});
}

bool Reader::take(std::size_t n) {
    if (!ok_ || data_.size() - pos_ < n) {
        ok_ = false;
        return false;
    }
    return true;
}

uint8_t Reader::u8() {
    return take(1) ? data_[pos_++] : 0;
}

uint16_t Reader::u16() {
    if (!take(2))
        return 0;
    const uint16_t v = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
}

uint32_t Reader::u32() {
    const uint32_t low = u16();
    const uint32_t high = u16();
    return ok_ ? (low | (high << 16)) : 0;
}

std::string Reader::text(std::size_t length) {
    if (!take(length))
        return {};
    std::string s(reinterpret_cast<const char*>(data_.data() + pos_), length);
    pos_ += length;
    return s;
}

std::span<const uint8_t> Reader::rest() {
    auto r = data_.subspan(pos_);
    pos_ = data_.size();
    return r;
}

namespace {

// Moves all `size` bytes through `transfer` (one send or recv), resuming
// after signals; false when the peer went away or the socket failed.
template <typename Byte, typename Transfer>
bool transferAll(Byte* data, std::size_t size, Transfer transfer) {
    while (size > 0) {
        const ssize_t n = transfer(data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool writeAll(int fd, const uint8_t* data, std::size_t size) {
    return transferAll(data, size,
                       [fd](const uint8_t* p, std::size_t n) { return ::send(fd, p, n, MSG_NOSIGNAL); });
}

bool readAll(int fd, uint8_t* data, std::size_t size) {
    return transferAll(data, size, [fd](uint8_t* p, std::size_t n) { return ::recv(fd, p, n, 0); });
}

} // namespace

bool sendFrame(int fd, std::span<const uint8_t> payload) {
    if (payload.size() > kMaxFrame)
        return false;
    std::vector<uint8_t> frame = Writer().u32(static_cast<uint32_t>(payload.size())).take();
    frame.insert(frame.end(), payload.begin(), payload.end());
    return writeAll(fd, frame.data(), frame.size());
}

std::optional<std::vector<uint8_t>> receiveFrame(int fd) {
    uint8_t header[4];
    if (!readAll(fd, header, sizeof header))
        return std::nullopt;
    Reader r(header);
    const uint32_t length = r.u32();
    if (length > kMaxFrame)
        return std::nullopt;
    std::vector<uint8_t> payload(length);
    if (!readAll(fd, payload.data(), payload.size()))
        return std::nullopt;
    return payload;
}

std::vector<uint8_t> encodeReply(const Result& result, std::span<const uint8_t> data) {
    return Writer().u8(static_cast<uint8_t>(result.error)).i32(result.osError).bytes(data).take();
}

Result decodeReply(std::span<const uint8_t> payload, std::span<const uint8_t>* data) {
    Reader r(payload);
    const uint8_t error = r.u8();
    const int32_t osError = r.i32();
    if (!r.ok() || error > static_cast<uint8_t>(ErrorClass::Fatal))
        return Result::failure(ErrorClass::Fatal, EPROTO);
    const auto rest = r.rest();
    if (data)
        *data = rest;
    if (error != static_cast<uint8_t>(ErrorClass::None))
        return Result::failure(static_cast<ErrorClass>(error), osError);
    return Result::success(rest.size());
}

void writeDeviceInfos(Writer& w, const std::vector<DeviceInfo>& devices) {
    w.u16(static_cast<uint16_t>(devices.size()));
    for (const auto& d : devices) {
        w.u16(static_cast<uint16_t>(d.path.size())).text(d.path);
        w.u16(d.vendorId).u16(d.productId).u16(d.releaseNumber).u16(d.usagePage).u16(d.usage);
        w.i32(d.interfaceNumber);
    }
}

std::optional<std::vector<DeviceInfo>> readDeviceInfos(Reader& r) {
    const uint16_t count = r.u16();
    std::vector<DeviceInfo> devices;
    for (uint16_t i = 0; i < count && r.ok(); ++i) {
        DeviceInfo d;
        d.path = r.text(r.u16());
        d.vendorId = r.u16();
        d.productId = r.u16();
        d.releaseNumber = r.u16();
        d.usagePage = r.u16();
        d.usage = r.u16();
        d.interfaceNumber = r.i32();
        devices.push_back(std::move(d));
    }
    if (!r.ok())
        return std::nullopt;
    return devices;
}

int connectTo(const std::string& socketPath) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.empty() || socketPath.size() >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        return -1;
    }
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const int err = errno;
        ::close(fd);
        errno = err;
        return -1;
    }
    return fd;
}

} // namespace talwyn::hid::wire
