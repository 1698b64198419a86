#include "kernel/kernel_mouse.h"
#include "kernel/kernel_mouse_nodes.h"

#include <umockdev.h>

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <stdexcept>

namespace talwyn::kernel_testing {
namespace {

constexpr int kHidrawMajor = 243;
constexpr int kMaxHidrawNodes = 64;

// Mouse interface 0: the pointer collection that also carries the 9-byte
// event report (ID 3).
const std::vector<uint8_t> kEventDescriptor = {
    0x05, 0x01,       // Usage Page (Generic Desktop)
    0x09, 0x02,       // Usage (Mouse)
    0xA1, 0x01,       // Collection (Application)
    0x85, 0x03,       //   Report ID (3)
    0x06, 0x00, 0xFF, //   Usage Page (Vendor 0xFF00)
    0x09, 0x01,       //   Usage (1)
    0x15, 0x00,       //   Logical Minimum (0)
    0x26, 0xFF, 0x00, //   Logical Maximum (255)
    0x75, 0x08,       //   Report Size (8)
    0x95, 0x08,       //   Report Count (8)
    0x81, 0x02,       //   Input (Data, Variable, Absolute)
    0xC0,             // End Collection
};

// The configuration collection: command reports 0xA1 and block reports 0xA0.
const std::vector<uint8_t> kConfigurationCollection = {
    0x06, 0x01, 0xFF, // Usage Page (Vendor 0xFF01)
    0x09, 0x02,       // Usage (2)
    0xA1, 0x01,       // Collection (Application)
    0x15, 0x00,       //   Logical Minimum (0)
    0x26, 0xFF, 0x00, //   Logical Maximum (255)
    0x75, 0x08,       //   Report Size (8)
    0x85, 0xA1,       //   Report ID (0xA1)
    0x09, 0x01,       //   Usage (1)
    0x95, 0x3F,       //   Report Count (63)
    0xB1, 0x02,       //   Feature (Data, Variable, Absolute)
    0x85, 0xA0,       //   Report ID (0xA0)
    0x09, 0x01,       //   Usage (1)
    0x96, 0x10, 0x04, //   Report Count (1040)
    0xB1, 0x02,       //   Feature (Data, Variable, Absolute)
    0xC0,             // End Collection
};

// The second vendor collection, on the same interface as the configuration one.
const std::vector<uint8_t> kSecondVendorCollection = {
    0x06, 0x02, 0xFF, // Usage Page (Vendor 0xFF02)
    0x09, 0x01,       // Usage (1)
    0xA1, 0x01,       // Collection (Application)
    0x85, 0x05,       //   Report ID (5)
    0x09, 0x01,       //   Usage (1)
    0x15, 0x00,       //   Logical Minimum (0)
    0x26, 0xFF, 0x00, //   Logical Maximum (255)
    0x75, 0x08,       //   Report Size (8)
    0x95, 0x3F,       //   Report Count (63)
    0x81, 0x02,       //   Input (Data, Variable, Absolute)
    0xC0,             // End Collection
};

std::vector<uint8_t> joined(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", value & 0xFFFF);
    return text;
}

std::string upperHex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
    return text;
}

// NULL-terminated name/value arrays for umockdev_testbed_add_devicev.
class PairList {
public:
    PairList(std::initializer_list<std::pair<std::string, std::string>> pairs) {
        for (const auto& [name, value] : pairs) {
            strings_.push_back(name);
            strings_.push_back(value);
        }
        for (std::string& s : strings_)
            pointers_.push_back(s.data());
        pointers_.push_back(nullptr);
    }
    gchar** get() { return pointers_.data(); }

private:
    std::vector<std::string> strings_;
    std::vector<gchar*> pointers_;
};

std::string addDevice(UMockdevTestbed* testbed, const char* subsystem, const std::string& name,
                      const std::string& parentSyspath, PairList attributes, PairList properties) {
    gchar* syspath = umockdev_testbed_add_devicev(testbed, subsystem, name.c_str(),
                                                  parentSyspath.empty() ? nullptr : parentSyspath.c_str(),
                                                  attributes.get(), properties.get());
    if (!syspath)
        throw std::runtime_error("umockdev could not add " + name);
    std::string devpath(syspath + 4); // without "/sys"
    g_free(syspath);
    return devpath;
}

} // namespace

KernelMouse::KernelMouse(sim::SimOptions options) : mouse_(options) {
    const char* preload = std::getenv("LD_PRELOAD");
    if (!preload || !std::strstr(preload, "libumockdev-preload"))
        throw std::runtime_error("run this test under umockdev-wrapper");
    testbed_ = umockdev_testbed_new();
    gchar* root = umockdev_testbed_get_root_dir(testbed_);
    root_ = root;
    g_free(root);
    handler_ = umockdev_ioctl_base_new();
    g_signal_connect(handler_, "client-connected", G_CALLBACK(onConnected), this);
    g_signal_connect(handler_, "client-vanished", G_CALLBACK(onVanished), this);
    g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(onIoctl), this);
    g_signal_connect(handler_, "handle-read", G_CALLBACK(onRead), this);
    {
        std::lock_guard lock(mutex_);
        noticesSeen_ = mouse_.lastNoticeSequence();
        if (const auto interfaces = mouse_.interfaces(); !interfaces.empty())
            addMouseLocked(interfaces);
    }
    topologyThread_ = std::jthread([this](std::stop_token stop) {
        while (!stop.stop_requested()) {
            uint64_t seen = 0;
            {
                std::lock_guard lock(mutex_);
                seen = noticesSeen_;
            }
            if (!mouse_.waitNotice(seen, -1, stop))
                continue;
            syncTopology();
        }
    });
    inputThread_ = std::jthread([this](std::stop_token stop) { pumpInput(stop); });
}

KernelMouse::~KernelMouse() {
    topologyThread_.request_stop();
    inputThread_.request_stop();
    mouse_.shutdown();
    topologyThread_.join();
    inputThread_.join();
    {
        std::lock_guard lock(mutex_);
        for (auto& [name, node] : nodes_)
            ::close(node->writeEnd);
        nodes_.clear();
        clients_.clear();
    }
    g_object_unref(testbed_);
    g_object_unref(handler_);
}

void KernelMouse::plug() {
    mouse_.plug();
    syncTopology();
}

void KernelMouse::unplug() {
    mouse_.unplug();
    syncTopology();
}

// Follows the firmware's notices: a removal takes the shown mouse away, and
// once no notice is left the test bed gets what the firmware exposes now. A
// quick switch and back thus still yields fresh devices, as the kernel makes.
void KernelMouse::syncTopology() {
    std::unique_lock lock(mutex_);
    for (;;) {
        const uint64_t seen = noticesSeen_;
        lock.unlock();
        const auto notice = mouse_.waitNotice(seen, 0);
        lock.lock();
        if (!notice || notice->first <= noticesSeen_)
            break;
        noticesSeen_ = notice->first;
        const auto& [change, path] = notice->second;
        const bool shown =
            std::find(mouseSimPaths_.begin(), mouseSimPaths_.end(), path) != mouseSimPaths_.end();
        if (change == hid::DeviceChange::Removal && shown)
            removeMouseLocked();
    }
    lock.unlock();
    const auto interfaces = mouse_.interfaces();
    lock.lock();
    if (mouseDevpaths_.empty() && !interfaces.empty())
        addMouseLocked(interfaces);
    else if (interfaces.empty())
        removeMouseLocked();
    synced_.notify_all();
}

void KernelMouse::addMouseLocked(const std::vector<sim::SimInterface>& interfaces) {
    const auto& first = interfaces.front().info;
    const bool bootloader = first.productId == protocol::kProductIdBootloader;
    const uint16_t product = first.productId;
    const std::string usb =
        addDevice(testbed_, "usb", "pci0000:00/0000:00:14.0/usb1/1-1", "",
                  {{"idVendor", hex4(first.vendorId)},
                   {"idProduct", hex4(product)},
                   {"bcdDevice", hex4(first.releaseNumber)},
                   {"manufacturer", "Orvane"},
                   {"product", bootloader ? "Talwyn PRO Bootloader" : "Talwyn PRO"},
                   {"busnum", "1"},
                   {"devnum", std::to_string(nextDeviceNumber_)}},
                  {{"DEVTYPE", "usb_device"},
                   {"PRODUCT", hex4(first.vendorId) + "/" + hex4(product) + "/" + hex4(first.releaseNumber)},
                   {"BUSNUM", "001"},
                   {"DEVNUM", std::to_string(nextDeviceNumber_)}});
    ++nextDeviceNumber_;

    auto pathOf = [&](sim::InterfaceRole role) {
        for (const auto& i : interfaces)
            if (i.role == role)
                return i.info.path;
        return std::string();
    };
    struct Layout {
        int number;
        std::vector<uint8_t> descriptor;
        sim::InterfaceRole role;
    };
    std::vector<Layout> layout;
    if (bootloader) {
        layout.push_back({0, kConfigurationCollection, sim::InterfaceRole::Bootloader});
    } else {
        layout.push_back({0, kEventDescriptor, sim::InterfaceRole::Events});
        // Both vendor collections sit in one report descriptor, so the kernel
        // makes one hidraw node for them; report IDs tell them apart.
        layout.push_back({1, joined(kConfigurationCollection, kSecondVendorCollection),
                          sim::InterfaceRole::Configuration});
    }
    std::vector<std::string> tree;
    for (const Layout& l : layout) {
        const std::string interface =
            addDevice(testbed_, "usb", "1-1:1." + std::to_string(l.number), "/sys" + usb,
                      {{"bInterfaceNumber", "0" + std::to_string(l.number)}, {"bInterfaceClass", "03"}},
                      {{"DEVTYPE", "usb_interface"}, {"INTERFACE", "3/0/0"}});
        const std::string hidDevice =
            addHidDeviceLocked(interface, first.vendorId, product, l.number, l.descriptor);
        const std::string hidraw = addHidrawLocked(hidDevice, l.descriptor, l.role, first.vendorId, product);
        nodes_.at("/dev/" + hidraw.substr(hidraw.rfind('/') + 1))->simPath = pathOf(l.role);
        tree.insert(tree.end(), {hidraw, hidDevice, interface});
    }
    tree.push_back(usb);
    mouseDevpaths_ = tree;
    mouseSimPaths_.clear();
    for (const auto& i : interfaces)
        mouseSimPaths_.push_back(i.info.path);
}

std::string KernelMouse::addHidDeviceLocked(const std::string& interfaceDevpath, uint16_t vendorId,
                                            uint16_t productId, int interfaceNumber,
                                            const std::vector<uint8_t>& descriptor) {
    const std::string name =
        "0003:" + upperHex4(vendorId) + ":" + upperHex4(productId) + "." + upperHex4(nextHidInstance_++);
    const std::string hidDevice = addDevice(
        testbed_, "hid", name, "/sys" + interfaceDevpath, {},
        {{"DRIVER", "hid-generic"},
         {"HID_ID", "0003:0000" + upperHex4(vendorId) + ":0000" + upperHex4(productId)},
         {"HID_NAME", "Orvane Talwyn PRO"},
         {"HID_PHYS", "usb-0000:00:14.0-1/input" + std::to_string(interfaceNumber)},
         {"HID_UNIQ", ""},
         {"MODALIAS", "hid:b0003g0001v0000" + upperHex4(vendorId) + "p0000" + upperHex4(productId)}});
    std::vector<uint8_t> bytes = descriptor;
    umockdev_testbed_set_attribute_binary(testbed_, ("/sys" + hidDevice).c_str(), "report_descriptor",
                                          bytes.data(), static_cast<gint>(bytes.size()));
    return hidDevice;
}

std::string KernelMouse::addHidrawLocked(const std::string& hidDevpath, std::vector<uint8_t> descriptor,
                                         std::optional<sim::InterfaceRole> role, uint16_t vendorId,
                                         uint16_t productId) {
    const int minor = freeMinorLocked();
    const std::string name = "hidraw" + std::to_string(minor);
    const std::string node = "/dev/" + name;
    const std::string devpath = addDevice(
        testbed_, "hidraw", "hidraw/" + name, "/sys" + hidDevpath,
        {{"dev", std::to_string(kHidrawMajor) + ":" + std::to_string(minor)}},
        {{"DEVNAME", node}, {"MAJOR", std::to_string(kHidrawMajor)}, {"MINOR", std::to_string(minor)}});
    umockdev_testbed_set_attribute_link(testbed_, ("/sys" + devpath).c_str(), "device", "../..");

    // The node is a FIFO: reads and poll() on it are real, so input reports
    // written into it wake a reader the way the kernel's queue does.
    const std::string fifo = root_ + node;
    if (::mkfifo(fifo.c_str(), 0666) != 0)
        throw std::runtime_error("mkfifo " + fifo);
    auto entry = std::make_shared<Node>();
    entry->name = node;
    entry->devpath = devpath;
    entry->descriptor = std::move(descriptor);
    entry->role = role;
    entry->vendorId = vendorId;
    entry->productId = productId;
    entry->writeEnd = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (detachLater_.erase(node) > 0)
        umockdev_testbed_detach_ioctl(testbed_, node.c_str(), nullptr);
    GError* error = nullptr;
    if (entry->writeEnd < 0 || !umockdev_testbed_attach_ioctl(testbed_, node.c_str(), handler_, &error))
        throw std::runtime_error("cannot emulate " + node);
    nodes_[node] = std::move(entry);
    return devpath;
}

int KernelMouse::freeMinorLocked() const {
    for (int minor = 0; minor < kMaxHidrawNodes; ++minor)
        if (!nodes_.contains("/dev/hidraw" + std::to_string(minor)))
            return minor;
    throw std::runtime_error("no free hidraw minor");
}

void KernelMouse::removeMouseLocked() {
    removeTreeLocked(mouseDevpaths_);
    mouseDevpaths_.clear();
    mouseSimPaths_.clear();
}

// Children first, each with its "remove" uevent while its properties are still
// readable, as the kernel tears down an unplugged device.
void KernelMouse::removeTreeLocked(const std::vector<std::string>& devpathsDeepestFirst) {
    for (const std::string& devpath : devpathsDeepestFirst) {
        const auto node = std::find_if(nodes_.begin(), nodes_.end(),
                                       [&](const auto& entry) { return entry.second->devpath == devpath; });
        if (node != nodes_.end()) {
            Node& n = *node->second;
            n.removed = true;
            // Stays attached: a reader that wakes after the removal reaches
            // onRead and fails like a read on a node whose device is gone,
            // where a detached node would end the process. Detached when the
            // name is used again.
            detachLater_.insert(n.name);
            // Wakes a reader waiting in poll().
            const uint8_t wake = 0;
            [[maybe_unused]] auto written = ::write(n.writeEnd, &wake, 1);
            ::close(n.writeEnd);
            ::unlink((root_ + n.name).c_str());
            nodes_.erase(node);
        }
        umockdev_testbed_uevent(testbed_, ("/sys" + devpath).c_str(), "remove");
        umockdev_testbed_remove_device(testbed_, ("/sys" + devpath).c_str());
    }
}

std::string KernelMouse::addOtherDevice(uint16_t vendorId, uint16_t productId, int interfaceNumber) {
    std::lock_guard lock(mutex_);
    const std::string port = "1-" + std::to_string(2 + static_cast<int>(otherDevices_.size()));
    const std::string usb =
        addDevice(testbed_, "usb", "pci0000:00/0000:00:14.0/usb1/" + port, "",
                  {{"idVendor", hex4(vendorId)}, {"idProduct", hex4(productId)}, {"bcdDevice", "0100"}},
                  {{"DEVTYPE", "usb_device"}});
    const std::string interface =
        addDevice(testbed_, "usb", port + ":1." + std::to_string(interfaceNumber), "/sys" + usb,
                  {{"bInterfaceNumber", "0" + std::to_string(interfaceNumber)}, {"bInterfaceClass", "03"}},
                  {{"DEVTYPE", "usb_interface"}});
    const std::string hidDevice =
        addHidDeviceLocked(interface, vendorId, productId, interfaceNumber, kEventDescriptor);
    const std::string hidraw =
        addHidrawLocked(hidDevice, kEventDescriptor, std::nullopt, vendorId, productId);
    otherDevices_[hidraw] = {hidraw, hidDevice, interface, usb};
    return hidraw;
}

void KernelMouse::removeDevice(const std::string& hidrawDevpath) {
    std::lock_guard lock(mutex_);
    const auto device = otherDevices_.find(hidrawDevpath);
    if (device == otherDevices_.end())
        throw std::invalid_argument("not an added device: " + hidrawDevpath);
    removeTreeLocked(device->second);
    otherDevices_.erase(device);
}

std::optional<std::string> KernelMouse::nodeOf(sim::InterfaceRole role) const {
    std::lock_guard lock(mutex_);
    for (const auto& [name, node] : nodes_)
        if (node->role == role)
            return name;
    return std::nullopt;
}

std::optional<std::string> KernelMouse::devpathOf(const std::string& node) const {
    std::lock_guard lock(mutex_);
    const auto entry = nodes_.find(node);
    if (entry == nodes_.end())
        return std::nullopt;
    return entry->second->devpath;
}

} // namespace talwyn::kernel_testing
