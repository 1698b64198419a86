#include "app/device_library.h"

namespace talwyn::app {

std::string_view deviceLibraryFileName() {
    return "Talwyn_pro_dll.so";
}

DeviceLibrary::DeviceLibrary(std::filesystem::path file) : file_(std::move(file)) {}

DeviceLibrary::~DeviceLibrary() {
    // The library's threads must stop before its code goes away.
    if (library_.isLoaded()) {
        closeDevice();
        library_.unload();
    }
}

bool DeviceLibrary::load() {
    if (library_.isLoaded()) {
        return ready();
    }
    // The exact file, never a search along the system's library path.
    library_.setFileName(QString::fromStdString(std::filesystem::absolute(file_).string()));
    if (!library_.load()) {
        error_ = library_.errorString();
        return false;
    }
    auto* capture = reinterpret_cast<CaptureFunction>(library_.resolve("Capture_cb_data"));
    auto* close = reinterpret_cast<CloseFunction>(library_.resolve("Close_device"));
    if (capture == nullptr || close == nullptr) {
        error_ = QStringLiteral("%1 lacks %2")
                     .arg(library_.fileName(), capture == nullptr ? QStringLiteral("Capture_cb_data")
                                                                  : QStringLiteral("Close_device"));
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
