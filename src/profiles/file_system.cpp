#include "profiles/file_system.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
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

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// A fresh name in `folder`, hidden and independent of the target's name so
// that a long target name never makes it too long.
fs::path temporaryName(const fs::path& folder) {
    static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, kLetters.size() - 1);
    std::string name = ".save-";
    for (int i = 0; i < 12; ++i)
        name.push_back(kLetters[pick(random)]);
    return folder / (name + ".tmp");
}

// Creates a temporary file that did not exist before ("x": exclusive), so two
// writers never share one; retries the rare name that is taken.
FileHandle createTemporary(const fs::path& folder, fs::path& created) {
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        created = temporaryName(folder);
        if (FileHandle file{std::fopen(created.c_str(), "wbx")})
            return file;
        if (errno != EEXIST)
            break;
    }
    return nullptr;
}

} // namespace

bool replaceFile(const fs::path& path, std::span<const uint8_t> bytes) {
    if (!path.has_filename())
        return false;
    fs::path temporary;
    FileHandle file =
        createTemporary(path.parent_path().empty() ? fs::path(".") : path.parent_path(), temporary);
    if (!file)
        return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    written = std::fclose(file.release()) == 0 && written;
    std::error_code ec;
    if (written)
        fs::rename(temporary, path, ec);
    if (!written || ec) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

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
