#include "hid/forbidden_backend.h"

#include <cstdio>
#include <cstdlib>

namespace talwyn::hid {

namespace {

[[noreturn]] void refuse(const char* what) {
    std::fprintf(stderr, "TALWYN_HID=forbidden: %s reached for a device; tests must use the simulator\n",
                 what);
    std::fflush(stderr);
    std::abort();
}

} // namespace

std::vector<DeviceInfo> ForbiddenBackend::enumerate(uint16_t, uint16_t) {
    refuse("enumerate");
}

std::unique_ptr<HidDevice> ForbiddenBackend::open(const std::string&, Result*) {
    refuse("open");
}

bool ForbiddenMonitor::start(Callback) {
    refuse("device monitor");
}

} // namespace talwyn::hid
