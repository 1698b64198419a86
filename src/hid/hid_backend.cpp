#include "hid/hid_backend.h"

#include "hid/forbidden_backend.h"
#include "hid/hidapi_backend.h"
#include "hid/sim_socket_backend.h"
#include "hid/udev_monitor.h"

#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace talwyn::hid {

namespace {

constexpr std::string_view kSimPrefix = "sim:";

} // namespace

BackendSelection backendSelectionFromEnvironment() {
    const char* value = std::getenv("TALWYN_HID");
    const std::string_view v = value ? value : "";
    if (v.starts_with(kSimPrefix))
        return {BackendSelection::Kind::Sim, std::string(v.substr(kSimPrefix.size()))};
    if (v == "forbidden")
        return {BackendSelection::Kind::Forbidden, {}};
    return {};
}

ErrorClass classifyErrno(int err) {
    switch (err) {
    case 0:
        return ErrorClass::None;
    case EAGAIN:
    case EBUSY:
    case ETIMEDOUT:
    case EPIPE:
    case EPROTO:
    case EIO:
        return ErrorClass::Retryable;
    default:
        return ErrorClass::Fatal;
    }
}

std::unique_ptr<HidBackend> makeBackendFromEnvironment() {
    const BackendSelection s = backendSelectionFromEnvironment();
    switch (s.kind) {
    case BackendSelection::Kind::Sim:
        return std::make_unique<SimSocketBackend>(s.socketPath);
    case BackendSelection::Kind::Forbidden:
        return std::make_unique<ForbiddenBackend>();
    case BackendSelection::Kind::Hidapi:
        break;
    }
    return std::make_unique<HidapiBackend>();
}

std::unique_ptr<DeviceMonitor> makeDeviceMonitorFromEnvironment() {
    const BackendSelection s = backendSelectionFromEnvironment();
    switch (s.kind) {
    case BackendSelection::Kind::Sim:
        return std::make_unique<SimSocketMonitor>(s.socketPath);
    case BackendSelection::Kind::Forbidden:
        return std::make_unique<ForbiddenMonitor>();
    case BackendSelection::Kind::Hidapi:
        break;
    }
    return std::make_unique<UdevMonitor>();
}

} // namespace talwyn::hid
