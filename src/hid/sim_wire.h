#pragma once
// The framed protocol between HID clients and the simulated mouse's daemon
// over a Unix stream socket.
//
// Frame: uint32 payload length (little-endian, at most kMaxFrame), payload.
// Request payloads start with a MessageType byte:
//   Enumerate  u16 vendor, u16 product
//   Open       path bytes               (binds the connection to that interface)
//   SetFeature report bytes
//   GetFeature u32 length, u8 report id
//   ReadInput  i32 timeout ms, u32 length
//   Control    arguments, each ended by a zero byte
//   Subscribe  (none)                   (the connection then only receives notices)
// Reply payload: u8 ErrorClass, i32 OS error, then data:
//   Enumerate  u16 count, per device: u16 path length, path, u16 vendor,
//              product, release, usage page, usage, i32 interface number
//   GetFeature / ReadInput  the report bytes
//   Control    one line of JSON
// Notice frames on a subscribed connection: u8 DeviceChange, path bytes.

#include "hid/hid_backend.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace talwyn::hid::wire {

inline constexpr uint32_t kMaxFrame = 1u << 20;

enum class MessageType : uint8_t {
    Enumerate = 1,
    Open = 2,
    SetFeature = 3,
    GetFeature = 4,
    ReadInput = 5,
    Control = 6,
    Subscribe = 7,
};

class Writer {
public:
    Writer& u8(uint8_t v);
    Writer& u16(uint16_t v);
    Writer& u32(uint32_t v);
    Writer& i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
    Writer& bytes(std::span<const uint8_t> data);
    Writer& text(const std::string& s);
    std::vector<uint8_t> take() { return std::move(buffer_); }

private:
    std::vector<uint8_t> buffer_;
};

// Reads stay inside the payload: a short payload makes ok() false and the
// values read zero.
class Reader {
public:
    explicit Reader(std::span<const uint8_t> data) : data_(data) {}
    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    int32_t i32() { return static_cast<int32_t>(u32()); }
    std::string text(std::size_t length);
    std::span<const uint8_t> rest();
    bool ok() const { return ok_; }

private:
    bool take(std::size_t n);
    std::span<const uint8_t> data_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

// Blocking frame I/O on a socket; false / nullopt when the peer is gone or
// the frame is malformed.
bool sendFrame(int fd, std::span<const uint8_t> payload);
std::optional<std::vector<uint8_t>> receiveFrame(int fd);

std::vector<uint8_t> encodeReply(const Result& result, std::span<const uint8_t> data = {});
// The result and its data; a malformed reply is a fatal failure.
Result decodeReply(std::span<const uint8_t> payload, std::span<const uint8_t>* data);

void writeDeviceInfos(Writer& w, const std::vector<DeviceInfo>& devices);
std::optional<std::vector<DeviceInfo>> readDeviceInfos(Reader& r);

// Connects to a Unix socket path; -1 on failure (errno set).
int connectTo(const std::string& socketPath);

} // namespace talwyn::hid::wire
