#include "profiles/file_system.h"

#include "support/scratch_folder.h"

#include <gtest/gtest.h>

namespace talwyn {
namespace {

namespace fs = std::filesystem;

TEST(FileSystem, EnsureFolderForWalksThePathFromTheLeft) {
    const struct {
        const char* what;
        std::string path;
        std::vector<std::string> folders; // expected to exist afterwards
        std::vector<std::string> absent;
    } cases[] = {
        {"file name cut off", "a/b/file.profile", {"a", "a/b"}, {"a/b/file.profile"}},
        {"no dot: everything is a folder", "c/d/e", {"c", "c/d", "c/d/e"}, {}},
        {"dot in a folder only", "f.g/h", {"f.g", "f.g/h"}, {}},
        {"dot file at top", "top.txt", {}, {"top.txt"}},
    };
    for (const auto& c : cases) {
        testing::ScratchFolder tmp;
        ensureFolderFor(tmp.path() / c.path);
        for (const auto& folder : c.folders)
            EXPECT_TRUE(fs::is_directory(tmp / folder)) << c.what << ": " << folder;
        for (const auto& missing : c.absent)
            EXPECT_FALSE(fs::exists(tmp / missing)) << c.what << ": " << missing;
    }
}

TEST(FileSystem, EnsureFolderForLeavesExistingPathsAlone) {
    testing::ScratchFolder tmp;
    testing::writeBytes(tmp / "existing", {1});
    ensureFolderFor(tmp / "existing");
    EXPECT_TRUE(fs::is_regular_file(tmp / "existing"));
    ensureFolderFor(tmp / "existing/below.x"); // a file in the way: ignored, no throw
    EXPECT_TRUE(fs::is_regular_file(tmp / "existing"));
}

TEST(FileSystem, ClearFolderKeepsTheFolderAndRemoveFolderDropsIt) {
    testing::ScratchFolder tmp;
    const auto root = tmp / "root";
    fs::create_directories(root / "sub/deep");
    testing::writeBytes(root / "a.bin", {1});
    testing::writeBytes(root / "sub/deep/b.bin", {2});
    fs::create_directory(tmp / "outside");
    testing::writeBytes(tmp / "outside/kept.bin", {3});
    fs::create_directory_symlink(tmp / "outside", root / "link");

    EXPECT_TRUE(clearFolder(root));
    EXPECT_TRUE(fs::is_directory(root));
    EXPECT_TRUE(fs::is_empty(root));
    EXPECT_TRUE(fs::exists(tmp / "outside/kept.bin")) << "a link is removed, not followed";

    testing::writeBytes(root / "c.bin", {4});
    EXPECT_TRUE(removeFolder(root));
    EXPECT_FALSE(fs::exists(root));
    EXPECT_TRUE(clearFolder(root)) << "nothing to clear";
}

TEST(FileSystem, AppDataFolderFollowsXdgDataHome) {
    testing::ScopedEnv home("HOME", "/home/someone");
    {
        testing::ScopedEnv data("XDG_DATA_HOME", "/data/home");
        EXPECT_EQ(appDataFolder(), fs::path("/data/home"));
    }
    for (const char* ignored : {static_cast<const char*>(nullptr), "", "relative/dir"}) {
        testing::ScopedEnv data("XDG_DATA_HOME", ignored);
        EXPECT_EQ(appDataFolder(), fs::path("/home/someone/.local/share"));
    }
}

TEST(FileSystem, ProgramFolderHoldsTheRunningTest) {
    const fs::path folder = programFolder();
    EXPECT_TRUE(folder.is_absolute());
    EXPECT_TRUE(fs::exists(folder / "profiles_tests"));
}

} // namespace
} // namespace talwyn
