// How the simulated mouse's hidraw nodes answer: ioctls, reads and the input
// reports pumped into the event node.
#include "kernel/kernel_mouse.h"
#include "kernel/kernel_mouse_nodes.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <span>
#include <stdexcept>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <umockdev.h>
#include <unistd.h>

namespace talwyn::kernel_testing {
namespace {

HidrawRequest classify(unsigned long request) {
    if (_IOC_TYPE(request) != 'H')
        return HidrawRequest::Other;
    if (request == HIDIOCGRAWINFO)
        return HidrawRequest::RawInfo;
    if (request == HIDIOCGRDESCSIZE)
        return HidrawRequest::DescriptorSize;
    if (request == HIDIOCGRDESC)
        return HidrawRequest::Descriptor;
    if (_IOC_NR(request) == _IOC_NR(HIDIOCSFEATURE(0)))
        return HidrawRequest::SetFeature;
    if (_IOC_NR(request) == _IOC_NR(HIDIOCGFEATURE(0)))
        return HidrawRequest::GetFeature;
    return HidrawRequest::Other;
}

} // namespace

void KernelMouse::failFeatureIoctls(int error, int count) {
    std::lock_guard lock(mutex_);
    failError_ = error;
    failCount_ = count;
}

std::vector<IoctlRecord> KernelMouse::ioctls() const {
    std::lock_guard lock(mutex_);
    return ioctls_;
}

void KernelMouse::record(const std::string& node, HidrawRequest request, int error) {
    std::lock_guard lock(mutex_);
    ioctls_.push_back({node, request, error});
}

std::optional<int> KernelMouse::injectedFailure() {
    std::lock_guard lock(mutex_);
    if (failCount_ <= 0)
        return std::nullopt;
    --failCount_;
    return failError_;
}

void KernelMouse::pumpInput(std::stop_token stop) {
    sim::InputReport report{};
    while (!stop.stop_requested()) {
        const auto interfaces = mouse_.interfaces();
        const auto events =
            std::find_if(interfaces.begin(), interfaces.end(),
                         [](const sim::SimInterface& i) { return i.role == sim::InterfaceRole::Events; });
        std::optional<sim::SimHandle> handle;
        if (events != interfaces.end())
            handle = mouse_.open(events->info.path);
        if (!handle) {
            const uint64_t seen = mouse_.lastNoticeSequence();
            mouse_.waitNotice(seen, -1, stop);
            continue;
        }
        // Reads until the handle dies with the next re-enumeration.
        for (;;) {
            const hid::Result result = mouse_.readInput(*handle, report, -1, stop);
            if (!result.ok() || result.bytes == 0)
                break;
            std::lock_guard lock(mutex_);
            for (const auto& [name, node] : nodes_)
                if (node->role == sim::InterfaceRole::Events) [[maybe_unused]]
                    auto written = ::write(node->writeEnd, report.data(), report.size());
        }
    }
}

int KernelMouse::onConnected(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self) {
    static_cast<KernelMouse*>(self)->connect(client);
    return FALSE;
}

int KernelMouse::onVanished(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self) {
    auto* mouse = static_cast<KernelMouse*>(self);
    std::lock_guard lock(mouse->mutex_);
    mouse->clients_.erase(client);
    return FALSE;
}

void KernelMouse::connect(UMockdevIoctlClient* client) {
    const std::string devnode = umockdev_ioctl_client_get_devnode(client);
    std::shared_ptr<Node> node;
    {
        std::lock_guard lock(mutex_);
        const auto entry = nodes_.find(devnode);
        if (entry != nodes_.end())
            node = entry->second;
    }
    Client state{node, std::nullopt};
    if (node && node->role)
        state.handle = mouse_.open(node->simPath);
    std::lock_guard lock(mutex_);
    clients_[client] = std::move(state);
}

int KernelMouse::onIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self) {
    static_cast<KernelMouse*>(self)->answerIoctl(client);
    return TRUE;
}

void KernelMouse::answerIoctl(UMockdevIoctlClient* client) {
    Client state;
    {
        std::lock_guard lock(mutex_);
        const auto entry = clients_.find(client);
        if (entry != clients_.end())
            state = entry->second;
    }
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    const HidrawRequest kind = classify(request);
    const std::string nodeName = state.node ? state.node->name : umockdev_ioctl_client_get_devnode(client);
    auto finish = [&](long result, int error) {
        record(nodeName, kind, error);
        umockdev_ioctl_client_complete(client, result, error);
    };
    if (kind == HidrawRequest::Other) {
        finish(-1, ENOTTY);
        return;
    }
    if (!state.node || state.node->removed) {
        finish(-1, ENODEV);
        return;
    }
    const std::size_t size = kind == HidrawRequest::RawInfo          ? sizeof(hidraw_devinfo)
                             : kind == HidrawRequest::DescriptorSize ? sizeof(int)
                             : kind == HidrawRequest::Descriptor     ? sizeof(hidraw_report_descriptor)
                                                                     : _IOC_SIZE(request);
    UMockdevIoctlData* data =
        umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, size, nullptr);
    if (!data || static_cast<std::size_t>(data->data_len) < size || size == 0) {
        finish(-1, EFAULT);
        return;
    }
    const std::span<uint8_t> bytes(data->data, size);
    const Node& node = *state.node;
    switch (kind) {
    case HidrawRequest::RawInfo: {
        const hidraw_devinfo info{kBusUsb, static_cast<__s16>(node.vendorId),
                                  static_cast<__s16>(node.productId)};
        std::memcpy(bytes.data(), &info, sizeof info);
        finish(0, 0);
        return;
    }
    case HidrawRequest::DescriptorSize: {
        const int length = static_cast<int>(node.descriptor.size());
        std::memcpy(bytes.data(), &length, sizeof length);
        finish(0, 0);
        return;
    }
    case HidrawRequest::Descriptor: {
        uint32_t asked = 0;
        std::memcpy(&asked, bytes.data(), sizeof asked);
        if (asked > HID_MAX_DESCRIPTOR_SIZE) {
            finish(-1, EINVAL);
            return;
        }
        const std::size_t n = std::min<std::size_t>(asked, node.descriptor.size());
        std::copy_n(node.descriptor.begin(), n, bytes.begin() + offsetof(hidraw_report_descriptor, value));
        finish(0, 0);
        return;
    }
    case HidrawRequest::SetFeature:
    case HidrawRequest::GetFeature: {
        if (const auto error = injectedFailure()) {
            finish(-1, *error);
            return;
        }
        if (!state.handle) {
            finish(-1, EPIPE); // a device without these reports stalls the request
            return;
        }
        const hid::Result result = kind == HidrawRequest::SetFeature
                                       ? mouse_.setFeature(*state.handle, bytes)
                                       : mouse_.getFeature(*state.handle, bytes);
        if (result.ok())
            finish(static_cast<long>(result.bytes), 0);
        else
            finish(-1, result.osError);
        return;
    }
    case HidrawRequest::Other:
        break;
    }
}

// Reads of a live node go to its FIFO; a node whose device is gone fails
// them with EIO, as hidraw does after a disconnect.
int KernelMouse::onRead(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self) {
    auto* mouse = static_cast<KernelMouse*>(self);
    bool removed = true;
    {
        std::lock_guard lock(mouse->mutex_);
        const auto entry = mouse->clients_.find(client);
        if (entry != mouse->clients_.end() && entry->second.node)
            removed = entry->second.node->removed;
    }
    if (!removed)
        return FALSE;
    umockdev_ioctl_client_complete(client, -1, EIO);
    return TRUE;
}

} // namespace talwyn::kernel_testing
