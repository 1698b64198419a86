#pragma once
// The control commands of the simulated mouse (`talwyn-mouse-sim ctl`):
//   state | plug | unplug | press dpi | press launch BUTTON | surface VALUE |
//   fault busy N | fault error retryable|fatal N |
//   fault firmware enter|restart|start|finish [TIMES] | fault firmware block K [TIMES] |
//   fault firmware none | notify arrival|removal PATH | wirelog FILE
// `wirelog` appends every later wire line to FILE, stamped with its moment.
// Each answers one line of JSON.

#include "sim/sim_mouse.h"

#include <string>
#include <vector>

namespace talwyn::sim {

struct ControlResult {
    bool ok = false;
    std::string json; // one line; {"error": ...} when not ok
};

ControlResult runControl(SimMouse& mouse, const std::vector<std::string>& args);

// The `state` answer.
std::string stateJson(const FirmwareState& state);

} // namespace talwyn::sim
