#pragma once
// The device library loaded from an exact file, never searched for along
// the system's library path, with its exports bound by name.

#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

namespace talwyn::devlib_host {

// "Talwyn_pro_dll" with the platform's suffix for shared libraries.
std::string_view deviceLibraryFileName();

class SharedLibrary {
public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // Loads `file` (made absolute), unloading what was loaded before. False
    // with error() set when it cannot be loaded.
    bool load(const std::filesystem::path& file);
    void unload();
    bool loaded() const { return handle_ != nullptr; }
    // The file last given to load(), made absolute.
    const std::filesystem::path& file() const { return file_; }
    // Why the last load() failed; empty after a successful one.
    const std::string& error() const { return error_; }

    // The export `name` as a function pointer, or null.
    template <typename Function> Function bind(const char* name) const {
        Function function = nullptr;
        if (void* address = symbol(name))
            std::memcpy(&function, &address, sizeof function);
        return function;
    }

private:
    void* symbol(const char* name) const;

    void* handle_ = nullptr;
    std::filesystem::path file_;
    std::string error_;
};

} // namespace talwyn::devlib_host
