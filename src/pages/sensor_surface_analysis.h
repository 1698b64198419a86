#pragma once
// The surface analysis as the program runs it: the SensorSQAT pop-up chain
// starts and counts down the measurement, then the result is read from the mouse.

#include "pages/popup_dlg.h"
#include "pages/sensor_dlg.h"

namespace talwyn::pages {

class PopDlgSurfaceAnalysis final : public SurfaceAnalysis {
public:
    // `services.device` carries the pop-ups' start and the read to the mouse;
    // it and the other services must outlive this object.
    explicit PopDlgSurfaceAnalysis(const PopupServices& services) : services_(services) {}

    controls::ModalResult runSteps(QWidget* parent) override;
    void readValue(QObject* receiver, std::function<void(int value)> show) override;

private:
    PopupServices services_;
};

} // namespace talwyn::pages
