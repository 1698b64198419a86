#include "platform/folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace talwyn::platform {
namespace {

// Sets an environment variable for the length of a scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        ::setenv(name, value, 1);
    }
    ~ScopedEnv() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(SystemFolders, ProgramFolderHoldsTheRunningExecutable) {
    const SystemFolders folders;
    const std::filesystem::path self = std::filesystem::canonical("/proc/self/exe");
    EXPECT_EQ(folders.programFolder(), self.parent_path());
}

TEST(SystemFolders, AppDataFolderFollowsTheUsersDataHome) {
    const SystemFolders folders;
    {
        const ScopedEnv dataHome("XDG_DATA_HOME", "/srv/data-home");
        EXPECT_EQ(folders.appDataFolder(), std::filesystem::path("/srv/data-home"));
    }
    const ScopedEnv dataHome("XDG_DATA_HOME", "relative/ignored");
    const ScopedEnv home("HOME", "/home/player");
    EXPECT_EQ(folders.appDataFolder(), std::filesystem::path("/home/player/.local/share"));
}

} // namespace
} // namespace talwyn::platform
