#include "platform/launcher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace talwyn::platform {

bool DesktopLauncher::openAddress(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty()) {
        return false;
    }
    return QDesktopServices::openUrl(url);
}

bool DesktopLauncher::startProgram(const QString& program, const QString& argument) {
    const QFileInfo info(program);
    if (!info.isFile() || !info.isExecutable()) {
        return false;
    }
    return QProcess::startDetached(info.absoluteFilePath(), {argument}, info.absolutePath());
}

} // namespace talwyn::platform
