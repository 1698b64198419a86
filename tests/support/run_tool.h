#pragma once
// Runs one of the built command-line tools the way a user would, capturing
// its exit code and both output streams.

#include "support/scratch_folder.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace talwyn::testing {

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuoted(const std::string& arg) {
    std::string q = "'";
    for (char c : arg)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs build/bin/<tool> with `args`; its output goes through files in `scratch`.
inline ToolRun runTool(const std::string& tool, const std::vector<std::string>& args,
                       const std::filesystem::path& scratch) {
    std::string command = shellQuoted(std::string(TALWYN_BIN_DIR) + "/" + tool);
    for (const auto& arg : args)
        command += " " + shellQuoted(arg);
    const auto out = scratch / "stdout";
    const auto err = scratch / "stderr";
    command += " >" + shellQuoted(out.native()) + " 2>" + shellQuoted(err.native());
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readText(out), readText(err)};
}

} // namespace talwyn::testing
