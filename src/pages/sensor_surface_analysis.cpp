#include "pages/sensor_surface_analysis.h"

namespace talwyn::pages {

controls::ModalResult PopDlgSurfaceAnalysis::runSteps(QWidget* parent) {
    CPopDlg first(PopMode::SensorSqat1, services_, parent);
    return first.runModal();
}

void PopDlgSurfaceAnalysis::readValue(QObject* receiver, std::function<void(int value)> show) {
    if (services_.device == nullptr) {
        show(0);
        return;
    }
    services_.device->readSurfaceAnalysis(receiver, std::move(show));
}

} // namespace talwyn::pages
