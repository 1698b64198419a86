#pragma once
// The state behind one hidraw node and one open of it, shared by the code that
// builds the device tree and the code that answers the node's requests.

#include "kernel/kernel_mouse.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace talwyn::kernel_testing {

inline constexpr uint16_t kBusUsb = 3;

struct KernelMouse::Node {
    std::string name; // "/dev/hidrawN"
    std::string devpath;
    std::vector<uint8_t> descriptor;
    std::optional<sim::InterfaceRole> role;
    std::string simPath;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    int writeEnd = -1; // our end of the node's FIFO, for input reports
    std::atomic<bool> removed{false};
};

struct KernelMouse::Client {
    std::shared_ptr<Node> node;
    std::optional<sim::SimHandle> handle;
};

} // namespace talwyn::kernel_testing
