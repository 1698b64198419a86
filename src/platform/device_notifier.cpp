#include "platform/device_notifier.h"

namespace talwyn::platform {

MonitorDeviceNotifier::MonitorDeviceNotifier(std::unique_ptr<hid::DeviceMonitor> monitor, QObject* parent)
    : DeviceNotifier(parent), monitor_(std::move(monitor)) {}

MonitorDeviceNotifier::~MonitorDeviceNotifier() {
    // No notice may be posted to this object once it starts to die.
    if (started_) {
        monitor_->stop();
    }
}

bool MonitorDeviceNotifier::start() {
    if (started_) {
        return true;
    }
    if (!monitor_ || !queue_.valid()) {
        return false;
    }
    started_ = monitor_->start(
        [this](const hid::DeviceNotice& notice) { queue_.post([this, notice] { deliver(notice); }); });
    return started_;
}

std::unique_ptr<DeviceNotifier> makeDeviceNotifier(QObject* parent) {
    return std::make_unique<MonitorDeviceNotifier>(hid::makeDeviceMonitorFromEnvironment(), parent);
}

void MonitorDeviceNotifier::deliver(const hid::DeviceNotice& notice) {
    const QString path = QString::fromStdString(notice.interfacePath);
    switch (notice.change) {
    case hid::DeviceChange::Arrival:
        emit deviceArrived(path);
        break;
    case hid::DeviceChange::Removal:
        emit deviceRemoved(path);
        break;
    }
}

} // namespace talwyn::platform
