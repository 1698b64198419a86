// talwyn-mouse-sim: the simulated Talwyn PRO as a daemon on a Unix socket,
// and the control client that plugs it, presses its buttons and injects faults.

#include "hid/sim_socket_backend.h"
#include "sim/firmware_image.h"
#include "sim/sim_mouse.h"
#include "sim/sim_server.h"

#include <CLI/CLI.hpp>

#include <csignal>
#include <fstream>
#include <iostream>
#include <pthread.h>

namespace {

uint16_t parseHexVersion(const std::string& text) {
    std::size_t used = 0;
    const unsigned long value = std::stoul(text, &used, 16);
    if (used != text.size() || value > 0xFFFF)
        throw CLI::ValidationError("version", "expected a 16-bit hexadecimal number: " + text);
    return static_cast<uint16_t>(value);
}

int serve(const std::string& socketPath, const std::string& logFile, const std::string& firmware,
          const std::string& bootloader, bool absent) {
    talwyn::sim::SimOptions options;
    options.firmwareVersion = parseHexVersion(firmware);
    options.bootloaderVersion = parseHexVersion(bootloader);
    options.present = !absent;

    // SIGTERM and SIGINT are taken by sigwait below; blocked before any
    // thread starts so none of them receives the signal instead.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    talwyn::sim::SimMouse mouse(options);
    if (!logFile.empty() && !mouse.setLogFile(logFile)) {
        std::cerr << "cannot open log file " << logFile << '\n';
        return 1;
    }
    talwyn::sim::SimServer server(mouse);
    std::string error;
    if (!server.start(socketPath, &error)) {
        std::cerr << error << '\n';
        return 1;
    }
    int received = 0;
    sigwait(&signals, &received);
    server.stop();
    return 0;
}

int writeImage(const std::string& version, std::size_t size, const std::string& output) {
    const std::vector<uint8_t> image = talwyn::sim::makeFirmwareImage(parseHexVersion(version), size);
    std::ofstream file(output, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    file.close();
    if (!file) {
        std::cerr << "cannot write " << output << '\n';
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"talwyn-mouse-sim: the simulated Talwyn PRO mouse"};
    app.require_subcommand(1);

    std::string socketPath, logFile, firmware = "0105", bootloader = "0100";
    bool absent = false;
    auto* serveCmd = app.add_subcommand("serve", "run the simulated mouse until SIGTERM");
    serveCmd->add_option("--socket", socketPath, "Unix socket to serve on")->required();
    serveCmd->add_option("--log", logFile, "wire log, appended");
    serveCmd->add_option("--firmware-version", firmware, "firmware version, hexadecimal");
    serveCmd->add_option("--bootloader-version", bootloader, "bootloader version, hexadecimal");
    serveCmd->add_flag("--absent", absent, "start unplugged");

    std::string ctlSocket;
    std::vector<std::string> command;
    auto* ctlCmd = app.add_subcommand("ctl", "send one control command, print its JSON answer");
    ctlCmd->add_option("--socket", ctlSocket, "socket of the running simulated mouse")->required();
    ctlCmd
        ->add_option("command", command,
                     "state | plug | unplug | press dpi | press launch BUTTON | "
                     "surface VALUE | fault busy N | fault error retryable|fatal N | "
                     "fault firmware enter|restart|start|finish [TIMES] | fault firmware block K [TIMES] | "
                     "fault firmware none | notify arrival|removal PATH | wirelog FILE")
        ->required();

    std::string imageVersion, imageFile;
    std::size_t imageSize = 0;
    auto* imageCmd = app.add_subcommand("image", "write a firmware image the simulated mouse installs");
    imageCmd->add_option("--version", imageVersion, "firmware version it installs, hexadecimal")->required();
    imageCmd->add_option("--size", imageSize, "size in bytes")->required();
    imageCmd->add_option("-o,--output", imageFile, "file to write")->required();

    try {
        app.parse(argc, argv);
        if (serveCmd->parsed())
            return serve(socketPath, logFile, firmware, bootloader, absent);
        if (imageCmd->parsed())
            return writeImage(imageVersion, imageSize, imageFile);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    std::string reply;
    const bool ok = talwyn::hid::sendSimControl(ctlSocket, command, reply);
    // The daemon answers JSON even for a refused command; only an unreachable
    // daemon gives plain text.
    (reply.starts_with("{") ? std::cout : std::cerr) << reply << '\n';
    return ok ? 0 : 1;
}
