#include "app/simulation.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace talwyn::app {

InProcessMouse::InProcessMouse() = default;

InProcessMouse::~InProcessMouse() {
    mouse_.shutdown();
    server_.stop();
}

bool InProcessMouse::start(const std::filesystem::path& socketPath, std::string* error) {
    if (!server_.start(socketPath, error)) {
        return false;
    }
    const std::string selection = "sim:" + socketPath.string();
    qputenv("TALWYN_HID", QByteArray::fromStdString(selection));
    return true;
}

std::filesystem::path defaultSimulationSocket() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    }
    return std::filesystem::path(folder.toStdString()) /
           ("talwyn-pro-mouse-" + std::to_string(QCoreApplication::applicationPid()) + ".sock");
}

} // namespace talwyn::app
