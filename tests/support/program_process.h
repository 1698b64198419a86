#pragma once
// talwyn-pro as a child process of a test.

#include "support/child_process.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace talwyn::testing {

// The program with its own environment, stopped when the test ends.
class ProgramProcess {
public:
    // Runs talwyn-pro (the built one unless `executable` names another copy)
    // with `arguments`; `environment` entries replace the display (X11 and
    // Wayland), platform, XDG and TALWYN_HID variables of this process.
    ProgramProcess(std::vector<std::string> arguments, const std::vector<std::string>& environment,
                   const std::filesystem::path& output,
                   const std::filesystem::path& executable = std::string(TALWYN_BIN_DIR) + "/talwyn-pro")
        : process_({withProgram(executable, std::move(arguments)),
                    environmentWith(environment, {"TALWYN_HID=", "DISPLAY=", "WAYLAND_DISPLAY=",
                                                  "QT_QPA_PLATFORM=", "XDG_"}),
                    output, output.string() + ".err"}) {}

    // Waits for the program to end by itself; its exit code, or -1.
    int wait() { return process_.wait(); }
    // The exit code once the program has ended by itself; does not wait.
    std::optional<int> exitCode() { return process_.exitCode(); }
    bool started() const { return process_.started(); }

private:
    static std::vector<std::string> withProgram(const std::filesystem::path& executable,
                                                std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), executable.string());
        return arguments;
    }

    ChildProcess process_;
};

} // namespace talwyn::testing
