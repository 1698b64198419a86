#pragma once
// talwyn-pro as a child process of a test.

#include "support/child_process.h"

#include <filesystem>
#include <string>
#include <vector>

namespace talwyn::testing {

// The program with its own environment, stopped when the test ends.
class ProgramProcess {
public:
    // Runs talwyn-pro with `arguments`; `environment` entries replace the
    // display, platform, XDG and TALWYN_HID variables of this process.
    ProgramProcess(std::vector<std::string> arguments, const std::vector<std::string>& environment,
                   const std::filesystem::path& output)
        : process_({withProgram(std::move(arguments)),
                    environmentWith(environment, {"TALWYN_HID=", "DISPLAY=", "QT_QPA_PLATFORM=", "XDG_"}),
                    output, output.string() + ".err"}) {}

    // Waits for the program to end by itself; its exit code, or -1.
    int wait() { return process_.wait(); }
    bool started() const { return process_.started(); }

private:
    static std::vector<std::string> withProgram(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), std::string(TALWYN_BIN_DIR) + "/talwyn-pro");
        return arguments;
    }

    ChildProcess process_;
};

} // namespace talwyn::testing
