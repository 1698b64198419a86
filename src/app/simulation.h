#pragma once
// --simulate: the simulated mouse inside the program, served on a socket so
// the device library and `talwyn-mouse-sim ctl` reach the same mouse.

#include "sim/sim_mouse.h"
#include "sim/sim_server.h"

#include <filesystem>
#include <string>

namespace talwyn::app {

class InProcessMouse {
public:
    InProcessMouse();
    ~InProcessMouse();
    InProcessMouse(const InProcessMouse&) = delete;
    InProcessMouse& operator=(const InProcessMouse&) = delete;

    // Serves the mouse on `socketPath` and points TALWYN_HID at it, so
    // everything that reads it afterwards (the program's device access, the
    // library once loaded) uses this mouse.
    bool start(const std::filesystem::path& socketPath, std::string* error);
    sim::SimMouse& mouse() { return mouse_; }

private:
    sim::SimMouse mouse_;
    sim::SimServer server_{mouse_};
};

// A socket path of this process's own under the user's runtime folder.
std::filesystem::path defaultSimulationSocket();

} // namespace talwyn::app
