#pragma once
// The simulated mouse as the Linux kernel shows it, inside a umockdev test
// bed: the USB device with its interfaces, one HID device per interface with
// its report descriptor, and one hidraw node per HID device. Feature-report
// ioctls, reads and the raw-info and descriptor queries of the hidraw nodes
// are answered by the simulated mouse, so hidapi and libudev run unchanged
// against the same firmware model the other tests use.
//
// Runs only under umockdev-wrapper (the preload library redirects /sys, /dev
// and the uevent socket into the test bed).

#include "sim/sim_mouse.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

typedef struct _UMockdevTestbed UMockdevTestbed;
typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;

namespace talwyn::kernel_testing {

// The hidraw requests the handler answers.
enum class HidrawRequest { RawInfo, DescriptorSize, Descriptor, SetFeature, GetFeature, Other };

struct IoctlRecord {
    std::string node;
    HidrawRequest request;
    int error; // errno the caller got, 0 on success
};

class KernelMouse {
public:
    explicit KernelMouse(sim::SimOptions options = {});
    ~KernelMouse();
    KernelMouse(const KernelMouse&) = delete;
    KernelMouse& operator=(const KernelMouse&) = delete;

    sim::SimMouse& firmware() { return mouse_; }

    // Plugging and pulling the cable: the nodes appear or go, with uevents.
    void plug();
    void unplug();

    // The hidraw node of an interface role of the present mouse ("/dev/hidraw1").
    std::optional<std::string> nodeOf(sim::InterfaceRole role) const;
    // The sysfs path (without "/sys") of a node's hidraw device.
    std::optional<std::string> devpathOf(const std::string& node) const;

    // The next `count` feature-report ioctls (set or get) fail with `error`
    // before they reach the mouse, as a stalled or garbled transfer does.
    void failFeatureIoctls(int error, int count);
    std::vector<IoctlRecord> ioctls() const;

    // Another USB HID device with one hidraw node; returns its hidraw devpath.
    std::string addOtherDevice(uint16_t vendorId, uint16_t productId, int interfaceNumber);
    void removeDevice(const std::string& hidrawDevpath);

private:
    struct Node;
    struct Client;

    static int onConnected(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self);
    static int onVanished(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self);
    static int onIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self);
    static int onRead(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self);

    void connect(UMockdevIoctlClient* client);
    void answerIoctl(UMockdevIoctlClient* client);
    std::optional<int> injectedFailure();
    void record(const std::string& node, HidrawRequest request, int error);

    // Makes the test bed show what the firmware currently exposes.
    void syncTopology();
    void removeMouseLocked();
    void addMouseLocked(const std::vector<sim::SimInterface>& interfaces);
    std::string addHidDeviceLocked(const std::string& interfaceDevpath, uint16_t vendorId, uint16_t productId,
                                   int interfaceNumber, const std::vector<uint8_t>& descriptor);
    std::string addHidrawLocked(const std::string& hidDevpath, std::vector<uint8_t> descriptor,
                                std::optional<sim::InterfaceRole> role, uint16_t vendorId,
                                uint16_t productId);
    void removeTreeLocked(const std::vector<std::string>& devpathsDeepestFirst);
    int freeMinorLocked() const;
    // Copies the firmware's input reports into the event node.
    void pumpInput(std::stop_token stop);

    sim::SimMouse mouse_;
    UMockdevTestbed* testbed_ = nullptr;
    UMockdevIoctlBase* handler_ = nullptr;
    std::string root_;

    mutable std::mutex mutex_;                                     // guards everything below
    std::map<std::string, std::shared_ptr<Node>> nodes_;           // by "/dev/hidrawN"
    std::vector<std::string> mouseDevpaths_;                       // deepest first, empty when unplugged
    std::vector<std::string> mouseSimPaths_;                       // the firmware's interfaces shown now
    std::map<std::string, std::vector<std::string>> otherDevices_; // hidraw devpath -> its tree
    std::map<UMockdevIoctlClient*, Client> clients_;
    std::set<std::string> detachLater_; // removed nodes still attached
    std::vector<IoctlRecord> ioctls_;
    int failError_ = 0;
    int failCount_ = 0;
    int nextHidInstance_ = 1;
    int nextDeviceNumber_ = 2;
    uint64_t noticesSeen_ = 0;
    std::condition_variable synced_;

    std::jthread topologyThread_;
    std::jthread inputThread_;
};

} // namespace talwyn::kernel_testing
