#pragma once
// Where the program and the user's data live.

#include <filesystem>

namespace talwyn::platform {

class Folders {
public:
    virtual ~Folders() = default;
    // The folder holding the running program (skins, library, updater beside it).
    virtual std::filesystem::path programFolder() const = 0;
    // The user's application-data folder, the root of the slot files and macros.
    virtual std::filesystem::path appDataFolder() const = 0;
};

// The folders of this machine and user.
class SystemFolders final : public Folders {
public:
    std::filesystem::path programFolder() const override;
    std::filesystem::path appDataFolder() const override;
};

} // namespace talwyn::platform
