#pragma once
// Access to HID interfaces, independent of the OS and of whether the mouse is
// real or simulated. Every device-facing layer (the program's device link, the
// device library, the command-line tool) goes through this interface.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace talwyn::hid {

struct DeviceInfo {
    // Interface path as the host sees it (a hidraw node, or the simulator's
    // Windows-style interface path).
    std::string path;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t releaseNumber = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    int interfaceNumber = -1;
};

// Transient failures are worth a retry (the device was busy or a transfer
// was garbled); fatal ones are not.
enum class ErrorClass { None, Retryable, Fatal };

struct Result {
    ErrorClass error = ErrorClass::None;
    int osError = 0;       // errno (or the simulator's code) for diagnostics
    std::size_t bytes = 0; // bytes transferred on success

    bool ok() const { return error == ErrorClass::None; }
    static Result success(std::size_t n) { return {ErrorClass::None, 0, n}; }
    static Result failure(ErrorClass c, int os) { return {c, os, 0}; }
};

// Classifies an errno the way the transport's retry rules expect.
ErrorClass classifyErrno(int err);

class HidDevice {
public:
    virtual ~HidDevice() = default;
    // data[0] is the report ID.
    virtual Result sendFeatureReport(std::span<const uint8_t> data) = 0;
    // buffer[0] holds the report ID on entry; on success the report fills buffer.
    virtual Result getFeatureReport(std::span<uint8_t> buffer) = 0;
    // Waits at most timeoutMs (-1: forever) for one input report. Returns
    // success with bytes == 0 when the time ran out.
    virtual Result readInputReport(std::span<uint8_t> buffer, int timeoutMs) = 0;
    // Safe from any thread while a read runs: ends a waiting readInputReport
    // now and makes every later one return at once. The device is not meant
    // for input after it (the simulator's link is not usable at all).
    virtual void cancelInput() = 0;
    virtual const std::string& path() const = 0;
};

class HidBackend {
public:
    virtual ~HidBackend() = default;
    // vendorId/productId 0 match any.
    virtual std::vector<DeviceInfo> enumerate(uint16_t vendorId, uint16_t productId) = 0;
    virtual std::unique_ptr<HidDevice> open(const std::string& path, Result* error = nullptr) = 0;
};

// Device-interface arrival and removal notices, with paths spelled as on
// Windows (\\?\HID#VID_22D4&PID_1329&MI_00#...).
enum class DeviceChange { Arrival, Removal };
struct DeviceNotice {
    DeviceChange change;
    std::string interfacePath;
};

class DeviceMonitor {
public:
    using Callback = std::function<void(const DeviceNotice&)>;
    virtual ~DeviceMonitor() = default;
    // Starts delivering notices on the monitor's own thread; false when the
    // platform offers no notification source.
    virtual bool start(Callback callback) = 0;
    // Stops and joins the thread; no callback runs after it returns.
    virtual void stop() = 0;
};

// What TALWYN_HID selects: "hidapi" (default, real hardware), "sim:<socket
// path>" (the simulated mouse's daemon) or "forbidden" (tests: any device
// access aborts the process with a message, see forbidden_backend.h). An
// unknown value falls back to real hardware, as an unset variable does.
struct BackendSelection {
    enum class Kind { Hidapi, Sim, Forbidden } kind = Kind::Hidapi;
    std::string socketPath;
};
BackendSelection backendSelectionFromEnvironment();

std::unique_ptr<HidBackend> makeBackendFromEnvironment();
std::unique_ptr<DeviceMonitor> makeDeviceMonitorFromEnvironment();

} // namespace talwyn::hid
