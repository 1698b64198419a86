#include "library_host.h"

#include <filesystem>

namespace talwynctl {

DeviceLibrary::DeviceLibrary() {
    const auto folder = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    if (!library_.load(folder / talwyn::devlib_host::deviceLibraryFileName()))
        throw CommandFailure{library_.file().string() + ": cannot be loaded (" + library_.error() + ")"};
}

void requireRange(const std::string& what, long value, long low, long high) {
    if (value < low || value > high)
        throw CommandFailure{what + " " + std::to_string(value) + " is out of range " + std::to_string(low) +
                             " to " + std::to_string(high)};
}

void requireProfile(int profile) {
    requireRange("profile", profile, 1, 5);
}

void requireOnOff(const std::string& what, int value) {
    requireRange(what, value, 0, 1);
}

std::string hexOf(const uint8_t* bytes, std::size_t n) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        out.push_back(kDigits[bytes[i] >> 4]);
        out.push_back(kDigits[bytes[i] & 0xF]);
    }
    return out;
}

} // namespace talwynctl
