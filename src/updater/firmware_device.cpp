#include "updater/firmware_device.h"

#include <mutex>

namespace talwyn::updater {

namespace {

// The library's progress callback carries no context: one handler per process.
std::mutex handlerMutex;
FirmwareDevice::ProgressHandler currentHandler;

template <typename Function>
bool bind(const devlib_host::SharedLibrary& library, const char* name, Function& target, QString* missing) {
    target = library.bind<Function>(name);
    if (target == nullptr && missing->isEmpty())
        *missing = QString::fromLatin1(name);
    return target != nullptr;
}

} // namespace

LibraryFirmwareDevice::LibraryFirmwareDevice(std::filesystem::path libraryFile)
    : file_(std::move(libraryFile)) {}

LibraryFirmwareDevice::~LibraryFirmwareDevice() {
    std::lock_guard lock(handlerMutex);
    currentHandler = nullptr;
}

bool LibraryFirmwareDevice::load(QString* error) {
    if (!library_.load(file_)) {
        *error = QString::fromStdString(library_.error());
        return false;
    }
    QString missing;
    bind(library_, "Get_device_status", exports_.deviceStatus, &missing);
    bind(library_, "Get_fw_version", exports_.firmwareVersion, &missing);
    bind(library_, "Open_x2bl_device", exports_.openBootloader, &missing);
    bind(library_, "Close_x2_device", exports_.closeConfig, &missing);
    bind(library_, "Firmware_update_progress", exports_.setProgress, &missing);
    bind(library_, "Update_firmware", exports_.update, &missing);
    if (!missing.isEmpty()) {
        *error = QStringLiteral("%1 lacks %2")
                     .arg(QString::fromStdU16String(library_.file().u16string()), missing);
        exports_ = {};
        return false;
    }
    return true;
}

MouseProbe LibraryFirmwareDevice::probe() {
    // A handle left open on the bootloader by an earlier update would pass for
    // a normal-mode mouse, so the search starts from nothing.
    exports_.closeConfig();
    uint16_t status = 0;
    if (exports_.deviceStatus(&status) == TALWYN_RESULT_OK && status == 1) {
        uint16_t version = 0;
        MouseProbe probe{MouseMode::Normal, std::nullopt};
        if (exports_.firmwareVersion(&version) == TALWYN_RESULT_OK)
            probe.firmwareNumber = version;
        return probe;
    }
    if (exports_.openBootloader() == 1) {
        exports_.closeConfig();
        return {MouseMode::Bootloader, std::nullopt};
    }
    return {};
}

int LibraryFirmwareDevice::startUpdate(const QByteArray& image, ProgressHandler handler) {
    {
        std::lock_guard lock(handlerMutex);
        currentHandler = std::move(handler);
    }
    exports_.setProgress(&LibraryFirmwareDevice::onProgress);
    return exports_.update(static_cast<uint32_t>(image.size()),
                           reinterpret_cast<const uint8_t*>(image.constData()));
}

int32_t TALWYN_STDCALL LibraryFirmwareDevice::onProgress(const uint8_t* status, const uint32_t* value) {
    if (status == nullptr || value == nullptr)
        return 0;
    std::lock_guard lock(handlerMutex);
    if (currentHandler)
        currentHandler(*status, *value);
    return 0;
}

} // namespace talwyn::updater
