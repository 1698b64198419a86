#include "app/device_library.h"

namespace talwyn::app {

DeviceLibrary::DeviceLibrary(std::filesystem::path file) : file_(std::move(file)) {}

DeviceLibrary::~DeviceLibrary() {
    // The library's threads must stop before its code goes away.
    if (library_.loaded()) {
        closeDevice();
        library_.unload();
    }
}

bool DeviceLibrary::load() {
    if (library_.loaded()) {
        return ready();
    }
    if (!library_.load(file_)) {
        error_ = QString::fromStdString(library_.error());
        return false;
    }
    auto capture = library_.bind<CaptureFunction>("Capture_cb_data");
    auto close = library_.bind<CloseFunction>("Close_device");
    if (capture == nullptr || close == nullptr) {
        error_ =
            QStringLiteral("%1 lacks %2")
                .arg(QString::fromStdString(library_.file().string()),
                     capture == nullptr ? QStringLiteral("Capture_cb_data") : QStringLiteral("Close_device"));
        library_.unload();
        return false;
    }
    capture_ = capture;
    close_ = close;
    error_.clear();
    return true;
}

int32_t DeviceLibrary::capture(EventCallback callback) {
    return capture_ != nullptr ? capture_(callback) : kNotAvailable;
}

bool DeviceLibrary::closeDevice() {
    if (close_ == nullptr) {
        return false;
    }
    close_();
    return true;
}

} // namespace talwyn::app
