#include "platform/pointer/kde_pointer_settings.h"

#include "platform/pointer/kde_config_file.h"
#include "protocol/device_ids.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QHash>

#include <system_error>

namespace talwyn::platform {

namespace {

namespace fs = std::filesystem;

// Plasma's speed and profile in kcminputrc: 1 is flat, 2 adaptive.
constexpr int kLibinputProfileFlat = 1;
constexpr int kLibinputProfileAdaptive = 2;
// KGlobalSettings' change kind "settings changed" and its category "mouse".
constexpr int kSettingsChanged = 3;
constexpr int kMouseSettings = 0;
constexpr qint64 kMaxSysfsValueBytes = 256;

QString readSysfsValue(const fs::path& file) {
    QFile in(QString::fromStdString(file.string()));
    if (!in.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(in.read(kMaxSysfsValueBytes)).trimmed();
}

int readHexId(const fs::path& file) {
    bool ok = false;
    const int id = readSysfsValue(file).toInt(&ok, 16);
    return ok ? id : -1;
}

bool isAdaptive(const PointerRequest& request) {
    return request.acceleration.acceleration != 0;
}

QString speedText(const PointerRequest& request) {
    return QString::number(desktopSpeedFor(request), 'f', 2);
}

QString boolText(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

QStringList libinputGroup(const InputDevice& device) {
    return {QStringLiteral("Libinput"), QString::number(device.vendor), QString::number(device.product),
            device.name};
}

using ChangedKeys = QHash<QString, QByteArrayList>;

// KConfig's own change notice, which KConfigWatcher-based readers (KWin among them) follow.
void sendConfigChanged(QDBusConnection& bus, const QString& file, const ChangedKeys& changed) {
    QDBusMessage signal = QDBusMessage::createSignal(
        QLatin1Char('/') + file, QStringLiteral("org.kde.kconfig.notify"), QStringLiteral("ConfigChanged"));
    signal << QVariant::fromValue(changed);
    bus.send(signal);
}

void setKWinDeviceProperty(QDBusConnection& bus, const InputDevice& device, const QString& property,
                           const QVariant& value) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.KWin"), QStringLiteral("/org/kde/KWin/InputDevice/") + device.node,
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"));
    call << QStringLiteral("org.kde.KWin.InputDevice") << property
         << QVariant::fromValue(QDBusVariant(value));
    call.setAutoStartService(false);
    bus.send(call);
}

} // namespace

std::vector<InputDevice> talwynInputDevices(const fs::path& inputClassFolder) {
    std::vector<InputDevice> devices;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(inputClassFolder, error)) {
        const QString node = QString::fromStdString(entry.path().filename().string());
        if (!node.startsWith(QLatin1String("event"))) {
            continue;
        }
        const fs::path device = entry.path() / "device";
        InputDevice found{node, readHexId(device / "id" / "vendor"), readHexId(device / "id" / "product"),
                          readSysfsValue(device / "name")};
        if (found.vendor == protocol::kVendorId && found.product == protocol::kProductIdNormal &&
            !found.name.isEmpty()) {
            devices.push_back(std::move(found));
        }
    }
    std::sort(devices.begin(), devices.end(),
              [](const InputDevice& a, const InputDevice& b) { return a.node < b.node; });
    return devices;
}

KdePointerSettings::KdePointerSettings(fs::path configFolder, fs::path inputClassFolder, Notifier notify)
    : configFolder_(std::move(configFolder)), inputClassFolder_(std::move(inputClassFolder)),
      notify_(std::move(notify)) {}

void KdePointerSettings::apply(const PointerRequest& request) {
    KdeConfigFile globals(configFolder_ / "kdeglobals");
    const QStringList kde{QStringLiteral("KDE")};
    globals.set(kde, QStringLiteral("DoubleClickInterval"), QString::number(request.doubleClickMs));
    // Plasma scrolls by lines only; "one screen per notch" has no place there.
    if (request.wheelLines && *request.wheelLines != kWheelPageScroll) {
        globals.set(kde, QStringLiteral("WheelScrollLines"), QString::number(*request.wheelLines));
    }

    KdeConfigFile input(configFolder_ / "kcminputrc");
    const QStringList mouse{QStringLiteral("Mouse")};
    input.set(mouse, QStringLiteral("XLbInptPointerAcceleration"), speedText(request));
    input.set(mouse, QStringLiteral("XLbInptAccelProfileFlat"), boolText(!isAdaptive(request)));
    std::vector<InputDevice> written;
    for (const InputDevice& device : talwynInputDevices(inputClassFolder_)) {
        const QStringList group = libinputGroup(device);
        if (input.set(group, QStringLiteral("PointerAcceleration"), speedText(request)) &&
            input.set(
                group, QStringLiteral("PointerAccelerationProfile"),
                QString::number(isAdaptive(request) ? kLibinputProfileAdaptive : kLibinputProfileFlat))) {
            written.push_back(device);
        }
    }
    if (globals.save() && input.save() && notify_) {
        notify_(request, written);
    }
}

void notifyPlasma(const PointerRequest& request, const std::vector<InputDevice>& devices) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    qDBusRegisterMetaType<ChangedKeys>();
    QDBusMessage mouseChanged =
        QDBusMessage::createSignal(QStringLiteral("/KGlobalSettings"),
                                   QStringLiteral("org.kde.KGlobalSettings"), QStringLiteral("notifyChange"));
    mouseChanged << kSettingsChanged << kMouseSettings;
    bus.send(mouseChanged);
    sendConfigChanged(bus, QStringLiteral("kdeglobals"),
                      {{QStringLiteral("KDE"), {"DoubleClickInterval", "WheelScrollLines"}}});
    ChangedKeys input{{QStringLiteral("Mouse"), {"XLbInptPointerAcceleration", "XLbInptAccelProfileFlat"}}};
    for (const InputDevice& device : devices) {
        // KConfig names a nested group by its parts joined with 0x1D.
        input.insert(libinputGroup(device).join(QChar(0x1D)),
                     {"PointerAcceleration", "PointerAccelerationProfile"});
        setKWinDeviceProperty(bus, device, QStringLiteral("pointerAcceleration"), desktopSpeedFor(request));
        setKWinDeviceProperty(bus, device, QStringLiteral("pointerAccelerationProfileFlat"),
                              !isAdaptive(request));
    }
    sendConfigChanged(bus, QStringLiteral("kcminputrc"), input);
}

fs::path desktopConfigFolder() {
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    if (!configHome.isEmpty()) {
        return fs::path(configHome.toStdString());
    }
    return fs::path(QDir::homePath().toStdString()) / ".config";
}

} // namespace talwyn::platform
