#include "app/mouse_connection.h"

#include "app/device_events.h"
#include "app/device_owner.h"
#include "app/interface_path.h"
#include "app/main_texts.h"
#include "device/user_texts.h"
#include "platform/device_notifier.h"

namespace talwyn::app {

MouseConnection::MouseConnection(Parts parts) : parts_(std::move(parts)) {}

MouseConnection::~MouseConnection() {
    DeviceEventRelay::setListener({});
}

void MouseConnection::listenToEvents() {
    // Events arrive on the library's reader thread; they are handled on this one.
    DeviceEventRelay::setListener([this](uint8_t code, std::optional<uint8_t> data) {
        uiQueue_.post([this, code, data] { onEvent(code, data); });
    });
    if (parts_.library.load()) {
        parts_.library.capture(DeviceEventRelay::callback());
    }
}

void MouseConnection::watchPlugging() {
    platform::DeviceNotifier& notifier = parts_.notifier;
    QObject::connect(&notifier, &platform::DeviceNotifier::deviceArrived, &parts_.receiver,
                     [this](const QString& path) { onArrived(path); });
    QObject::connect(&notifier, &platform::DeviceNotifier::deviceRemoved, &parts_.receiver,
                     [this](const QString& path) { onRemoved(path); });
    if (!notifier.start()) {
        parts_.warn(QString::fromUtf16(kRegistrationFailed));
    }
}

void MouseConnection::onArrived(const QString& interfacePath) {
    if (!isTalwynInterfacePath(interfacePath)) {
        return;
    }
    parts_.device.arrive(
        &parts_.receiver,
        [this](std::optional<int> number) {
            showFirmwareVersion(QString::fromStdString(number ? device::firmwareVersionText(*number)
                                                              : device::kNoFirmwareVersion));
        },
        parts_.slotInUse);
}

void MouseConnection::onRemoved(const QString& interfacePath) {
    if (!isTalwynInterfacePath(interfacePath)) {
        return;
    }
    parts_.device.remove(&parts_.receiver,
                         [this] { showFirmwareVersion(QString::fromLatin1(device::kNoFirmwareVersion)); });
}

void MouseConnection::onEvent(uint8_t code, std::optional<uint8_t> data) {
    const auto change = interpretDeviceEvent(code, data);
    if (!change) {
        return;
    }
    parts_.profiles.current().activeDpiLevel = change->activeDpiLevel;
    if (change->indicator) {
        parts_.pages.sensor->setActiveLevelIndicator(*change->indicator);
    }
}

void MouseConnection::showFirmwareVersion(const QString& text) {
    parts_.pages.support->setFirmwareVersionText(text);
}

} // namespace talwyn::app
