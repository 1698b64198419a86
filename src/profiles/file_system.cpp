#include "profiles/file_system.h"

#include <cstdlib>
#include <string>
#include <system_error>

namespace talwyn {

namespace fs = std::filesystem;

namespace {

constexpr char kSeparator = fs::path::preferred_separator;

void createIfMissing(const std::string& folder) {
    std::error_code ec;
    if (!folder.empty() && !fs::exists(folder, ec))
        fs::create_directory(folder, ec);
}

} // namespace

void ensureFolderFor(const fs::path& path) {
    std::error_code ec;
    if (fs::exists(path, ec))
        return;
    std::string remaining = path.native();
    const auto lastSeparator = remaining.rfind(kSeparator);
    const auto lastDot = remaining.rfind('.');
    if (lastDot != std::string::npos && (lastSeparator == std::string::npos || lastDot > lastSeparator))
        remaining.resize(lastSeparator == std::string::npos ? 0 : lastSeparator);
    for (auto at = remaining.find(kSeparator, 1); at != std::string::npos;
         at = remaining.find(kSeparator, at + 1))
        createIfMissing(remaining.substr(0, at));
    createIfMissing(remaining);
}

bool clearFolder(const fs::path& folder) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec)
        return ec == std::errc::no_such_file_or_directory;
    bool cleared = true;
    for (const fs::directory_entry& entry : it) {
        // remove_all deletes a link itself, never what it points to.
        fs::remove_all(entry.path(), ec);
        cleared = cleared && !ec;
    }
    return cleared;
}

bool removeFolder(const fs::path& folder) {
    std::error_code ec;
    fs::remove_all(folder, ec);
    return !ec;
}

fs::path appDataFolder() {
    if (const char* dataHome = std::getenv("XDG_DATA_HOME"); dataHome != nullptr) {
        fs::path folder(dataHome);
        if (folder.is_absolute())
            return folder;
    }
    const char* home = std::getenv("HOME");
    return fs::path(home != nullptr ? home : "") / ".local" / "share";
}

fs::path programFolder() {
    std::error_code ec;
    const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return fs::current_path(ec);
    return executable.parent_path();
}

} // namespace talwyn
