#pragma once
// What a test of the running program sees: its windows on the test's X
// server, its output files, and the simulated mouse it announces.
// Include it last: Xlib's macros (None, Bool, ...) would break headers after it.

#include "support/read_file.h"
#include "support/wait_for.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "support/x11_windows.h"

namespace talwyn::testing {

using platform::testing::findWindow;
using platform::testing::findWindowWhere;
using platform::testing::ScreenRect;

// The address the program's in-process simulated mouse announces on its output.
inline std::optional<std::string> announcedSocket(const std::filesystem::path& output) {
    static constexpr std::string_view kAnnouncement = "Simulated mouse on ";
    const std::string text = readFile(output);
    const auto at = text.find(kAnnouncement);
    const auto end = text.find('\n', at);
    if (at == std::string::npos || end == std::string::npos) {
        return std::nullopt;
    }
    return text.substr(at + kAnnouncement.size(), end - at - kAnnouncement.size());
}

} // namespace talwyn::testing
