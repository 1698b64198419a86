#include "hid/udev_monitor.h"

#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace talwyn::hid {

namespace {

std::vector<std::string_view> splitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const auto slash = path.find('/');
        if (slash != 0)
            parts.push_back(path.substr(0, slash));
        if (slash == std::string_view::npos)
            break;
        path.remove_prefix(slash + 1);
    }
    return parts;
}

bool isHex(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(),
                                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

// "0003:22D4:1329.0005": bus, vendor, product, instance.
struct HidName {
    std::string_view vendor, product, instance;
};

std::optional<HidName> parseHidName(std::string_view part) {
    if (part.size() != 19 || part[4] != ':' || part[9] != ':' || part[14] != '.')
        return std::nullopt;
    HidName name{part.substr(5, 4), part.substr(10, 4), part.substr(15, 4)};
    if (!isHex(part.substr(0, 4)) || !isHex(name.vendor) || !isHex(name.product) || !isHex(name.instance))
        return std::nullopt;
    return name;
}

// "1-2:1.0" (bus-port:configuration.interface): the interface number.
std::optional<int> parseUsbInterface(std::string_view part) {
    const auto colon = part.find(':');
    const auto dot = part.rfind('.');
    if (colon == std::string_view::npos || dot == std::string_view::npos || dot < colon ||
        dot + 1 == part.size())
        return std::nullopt;
    int number = 0;
    for (char c : part.substr(dot + 1)) {
        if (!std::isdigit(static_cast<unsigned char>(c)) || number > 255)
            return std::nullopt;
        number = number * 10 + (c - '0');
    }
    return number;
}

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

struct UdevDeleter {
    void operator()(udev* u) const { udev_unref(u); }
    void operator()(udev_monitor* m) const { udev_monitor_unref(m); }
    void operator()(udev_device* d) const { udev_device_unref(d); }
};

} // namespace

std::optional<std::string> windowsInterfacePath(std::string_view devpath) {
    std::optional<HidName> hid;
    std::optional<int> usbInterface;
    for (std::string_view part : splitPath(devpath)) {
        if (auto name = parseHidName(part)) {
            hid = name;
            break; // the components below the HID device are its own nodes
        }
        if (auto number = parseUsbInterface(part))
            usbInterface = number;
    }
    if (!hid)
        return std::nullopt;
    std::string path = "\\\\?\\HID#VID_" + upper(hid->vendor) + "&PID_" + upper(hid->product);
    if (usbInterface) {
        char mi[8];
        std::snprintf(mi, sizeof mi, "&MI_%02X", *usbInterface);
        path += mi;
    }
    path += "#7&" + upper(hid->instance) + "&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    return path;
}

bool UdevMonitor::start(Callback callback) {
    stop();
    std::unique_ptr<udev, UdevDeleter> context(udev_new());
    if (!context)
        return false;
    std::unique_ptr<udev_monitor, UdevDeleter> monitor(udev_monitor_new_from_netlink(context.get(), "udev"));
    if (!monitor || udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor.get()) < 0)
        return false;
    wake_ = UniqueFd(::eventfd(0, EFD_CLOEXEC));
    if (!wake_)
        return false;
    thread_ = std::jthread([context = std::move(context), monitor = std::move(monitor), wake = wake_.get(),
                            callback = std::move(callback)] {
        pollfd fds[2] = {{udev_monitor_get_fd(monitor.get()), POLLIN, 0}, {wake, POLLIN, 0}};
        while (::poll(fds, 2, -1) >= 0 || errno == EINTR) {
            if (fds[1].revents != 0)
                return;
            if ((fds[0].revents & POLLIN) == 0)
                continue;
            std::unique_ptr<udev_device, UdevDeleter> device(udev_monitor_receive_device(monitor.get()));
            if (!device)
                continue;
            const char* action = udev_device_get_action(device.get());
            const char* devpath = udev_device_get_devpath(device.get());
            if (!action || !devpath)
                continue;
            const std::string_view what(action);
            if (what != "add" && what != "remove")
                continue;
            if (auto path = windowsInterfacePath(devpath))
                callback({what == "add" ? DeviceChange::Arrival : DeviceChange::Removal, *path});
        }
    });
    return true;
}

void UdevMonitor::stop() {
    if (thread_.joinable()) {
        const uint64_t one = 1;
        [[maybe_unused]] auto n = ::write(wake_.get(), &one, sizeof one);
        thread_.join();
    }
    wake_.reset();
}

} // namespace talwyn::hid
