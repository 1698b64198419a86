// Talwyn PRO firmware updater: installs the firmware image of its folder
// into the mouse through the device library beside the program.
// Argument "1": the program found an update due; "2" or none: no update due.

#include "platform/ini_file.h"
#include "updater/firmware_device.h"
#include "updater/update_session.h"
#include "updater/updater_window.h"

#include <QApplication>
#include <QMessageBox>

#include <filesystem>

int main(int argc, char** argv) {
    using namespace talwyn::updater;
    QApplication app(argc, argv);
    const std::filesystem::path folder = QCoreApplication::applicationDirPath().toStdU16String();

    // The updater's folder lies inside the program's, where the library is.
    LibraryFirmwareDevice device(folder.parent_path() / talwyn::devlib_host::deviceLibraryFileName());
    QString error;
    if (!device.load(&error)) {
        QMessageBox::critical(nullptr, QString::fromLatin1(kUpdaterTitle),
                              QStringLiteral("The device library cannot be loaded: %1\n"
                                             "Reinstall Talwyn PRO Software, then start the updater again.")
                                  .arg(error));
        return 1;
    }
    talwyn::platform::FileIniReader ini;
    UpdateSession session(device, ini, folder, offerFromArguments(app.arguments().mid(1)));
    UpdaterWindow window(session);
    QObject::connect(&window, &QDialog::finished, &app, &QCoreApplication::quit);
    window.show();
    session.start();
    return app.exec();
}
