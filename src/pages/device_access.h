#pragma once
// How pages reach the mouse: each request runs whole on the program's device
// worker, after every request made before it, and its answer comes back on
// the UI thread, only while `receiver` still exists. No call waits for the mouse.

#include <QObject>

#include <functional>
#include <optional>

namespace talwyn::pages {

class DeviceAccess {
public:
    virtual ~DeviceAccess() = default;

    // Discovery unless connected, then the firmware number (105 for 1.05);
    // none without a mouse.
    virtual void findFirmware(QObject* receiver, std::function<void(std::optional<int> number)> answer) = 0;
    // Discovery, then the start of the surface analysis; whether the mouse was
    // found (the link is closed when it was not).
    virtual void startSurfaceAnalysis(QObject* receiver, std::function<void(bool found)> answer) = 0;
    // The value the mouse measured; 0 when it could not be asked.
    virtual void readSurfaceAnalysis(QObject* receiver, std::function<void(int value)> answer) = 0;
};

} // namespace talwyn::pages
