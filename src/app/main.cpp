// talwyn-pro: the configuration program of the Talwyn PRO mouse.

#include "app/program.h"
#include "app/simulation.h"
#include "platform/display_session.h"
#include "platform/process_memory.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFontDatabase>

#include <future>
#include <iostream>
#include <optional>
#include <vector>

int main(int argc, char** argv) {
    QElapsedTimer started;
    started.start();
    talwyn::platform::returnLargeBlocksOnFree();
    // A Wayland desktop gets its display picked here, never by the user.
    std::vector<QByteArray> arguments =
        talwyn::platform::argumentsWithPlatform(argc, argv, talwyn::platform::processEnvironment());
    std::vector<char*> argumentPointers;
    for (QByteArray& argument : arguments) {
        argumentPointers.push_back(argument.data());
    }
    int argumentCount = static_cast<int>(argumentPointers.size());
    argumentPointers.push_back(nullptr);
    QApplication application(argumentCount, argumentPointers.data());
    // The application name is the X11 window class and the desktop file name
    // the Wayland app id: both match the installed .desktop entry, so a
    // desktop shows the program's icon in its task switcher.
    QApplication::setApplicationName(QStringLiteral("Talwyn PRO Software"));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.orvane.TalwynPro"));
    // Closing the window hides it; only the tray's "Exit" ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Configures the Talwyn PRO gaming mouse."));
    parser.addHelpOption();
    const QCommandLineOption simulate(QStringLiteral("simulate"),
                                      QStringLiteral("Run against a simulated mouse inside the program."));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Render every page and pop-up into PNG files in <dir>, then end."),
        QStringLiteral("dir"));
    const QCommandLineOption startupReport(
        QStringLiteral("startup-report"),
        QStringLiteral("Print the time to the first painted window, then end."));
    parser.addOptions({simulate, screenshot, startupReport});
    parser.process(application); // may end the program: no thread runs yet
    // The font list is read on the other core while the window is built; its
    // first caption waits only for what is left of it. Joined before the
    // application goes.
    auto fontList = std::async(std::launch::async, [] { (void)QFontDatabase::families(); });

    talwyn::app::ProgramOptions options;
    options.simulate = parser.isSet(simulate);
    options.screenshotFolder = parser.value(screenshot).toStdString();
    options.startupReport = parser.isSet(startupReport);

    // Before anything reads TALWYN_HID: the program's device access and the library.
    std::optional<talwyn::app::InProcessMouse> mouse;
    if (options.simulate) {
        mouse.emplace();
        const auto socket = talwyn::app::defaultSimulationSocket();
        std::string error;
        if (!mouse->start(socket, &error)) {
            std::cerr << "cannot start the simulated mouse: " << error << '\n';
            return 1;
        }
        std::cout << "Simulated mouse on " << socket.string() << std::endl;
    }

    talwyn::app::Program program(options, started);
    return program.run();
}
