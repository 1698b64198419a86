#pragma once
// The whole of a file a test's child process wrote; empty when it is missing.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace talwyn::testing {

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace talwyn::testing
