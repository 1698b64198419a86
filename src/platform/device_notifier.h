#pragma once
// Arrival and removal of HID interfaces, delivered on the UI thread.

#include "hid/hid_backend.h"
#include "platform/owner_thread_queue.h"

#include <QObject>
#include <QString>

#include <memory>

namespace talwyn::platform {

class DeviceNotifier : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Starts the notices; false when the system offers no source of them.
    virtual bool start() = 0;

signals:
    // Interface paths spelled as \\?\HID#VID_22D4&PID_1329&MI_00#...
    void deviceArrived(const QString& interfacePath);
    void deviceRemoved(const QString& interfacePath);
};

// Turns the notices of a device monitor, which arrive on the monitor's own
// thread, into signals emitted on the thread this object lives in.
class MonitorDeviceNotifier final : public DeviceNotifier {
    Q_OBJECT
public:
    explicit MonitorDeviceNotifier(std::unique_ptr<hid::DeviceMonitor> monitor, QObject* parent = nullptr);
    ~MonitorDeviceNotifier() override;

    bool start() override;

private:
    void deliver(const hid::DeviceNotice& notice);

    std::unique_ptr<hid::DeviceMonitor> monitor_;
    OwnerThreadQueue queue_;
    bool started_ = false;
};

// The notices of the HID access TALWYN_HID selects: udev for real hardware,
// the simulated mouse's own notices in simulator mode.
std::unique_ptr<DeviceNotifier> makeDeviceNotifier(QObject* parent = nullptr);

} // namespace talwyn::platform
