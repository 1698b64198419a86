#include "platform/folders.h"

#include "profiles/file_system.h"

namespace talwyn::platform {

std::filesystem::path SystemFolders::programFolder() const {
    return talwyn::programFolder();
}

std::filesystem::path SystemFolders::appDataFolder() const {
    return talwyn::appDataFolder();
}

} // namespace talwyn::platform
