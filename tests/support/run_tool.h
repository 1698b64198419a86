#pragma once
// Runs one of the built command-line tools the way a user would, capturing
// its exit code and both output streams.

#include "support/child_process.h"
#include "support/scratch_folder.h"

#include <filesystem>
#include <string>
#include <vector>

namespace talwyn::testing {

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs build/bin/<tool> with `args`; its output goes through files in `scratch`.
inline ToolRun runTool(const std::string& tool, const std::vector<std::string>& args,
                       const std::filesystem::path& scratch) {
    std::vector<std::string> argv{std::string(TALWYN_BIN_DIR) + "/" + tool};
    argv.insert(argv.end(), args.begin(), args.end());
    const auto out = scratch / "stdout";
    const auto err = scratch / "stderr";
    const int exitCode = ChildProcess({std::move(argv), environmentWith({}), out, err}).wait();
    return {exitCode, readText(out), readText(err)};
}

} // namespace talwyn::testing
