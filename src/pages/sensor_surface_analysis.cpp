#include "pages/sensor_surface_analysis.h"

#include "device/device_commands.h"

namespace talwyn::pages {

controls::ModalResult PopDlgSurfaceAnalysis::runSteps(QWidget* parent) {
    CPopDlg first(PopMode::SensorSqat1, services_, parent);
    return first.runModal();
}

int PopDlgSurfaceAnalysis::readValue() {
    uint8_t value = 0; // stays 0 when the request cannot be sent
    if (services_.link != nullptr) {
        device::ReadSurfaceAnalysis(*services_.link, value);
    }
    return value;
}

} // namespace talwyn::pages
