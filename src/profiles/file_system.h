#pragma once
// Small file-system operations shared by the profile and macro files.

#include <cstdint>
#include <filesystem>
#include <span>

namespace talwyn {

// When `path` does not exist, creates its folders: a last component holding a
// "." is taken for a file name and left out; every missing prefix is created
// from the left. Failures are ignored (the following write reports them).
void ensureFolderFor(const std::filesystem::path& path);

// Writes `bytes` to a new temporary file of its own beside `path`, then
// renames it over `path`: readers see the old or the new contents whole, a
// failed write leaves the old file as it was, and saves of one path that run
// at the same time never share a temporary file. False when anything failed.
bool replaceFile(const std::filesystem::path& path, std::span<const uint8_t> bytes);

// Deletes every entry of `folder` (sub-folders with their contents) and keeps
// `folder`. False when something could not be removed.
bool clearFolder(const std::filesystem::path& folder);

// clearFolder, then `folder` itself.
bool removeFolder(const std::filesystem::path& folder);

// The user's data folder: $XDG_DATA_HOME when it is an absolute path, else
// $HOME/.local/share. Not created here.
std::filesystem::path appDataFolder();

// The folder holding the running executable.
std::filesystem::path programFolder();

} // namespace talwyn
