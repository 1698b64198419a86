#pragma once
// The macro library on disk: one "<name>.macro" file per macro and the list
// file "macroList.dat" naming them in library order, all in one folder.

#include "macros/macro.h"
#include "macros/macro_library.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace talwyn {

inline constexpr std::string_view kMacroListFileName = "macroList.dat";

// appDataFolder()/Orvane/TALWYN/Macros.
std::filesystem::path macroFolder();

enum class MacroFileStatus {
    Ok,
    Unreadable, // missing or cannot be opened
    Truncated,  // ends before the items it announces
};

// The reason shown to the user for a status other than Ok.
std::string_view describe(MacroFileStatus status);

// Saves one macro file atomically; false when it could not be written.
bool writeMacroFile(const CMacro& macro, const std::filesystem::path& path);

// Reads one macro file. All or nothing: on any status but Ok the macro is
// left exactly as it was.
MacroFileStatus readMacroFile(CMacro& macro, const std::filesystem::path& path);

// Writes the whole library into `folder`: every macro file, then the list
// file, each replacing its previous copy only once completely written; then
// removes whatever else the folder holds (files of deleted or renamed
// macros). File names come from MacroFileNamer, which may rename a macro
// whose name collides with an earlier one. False, with the previous list
// still in place, when a file could not be written or the folder path is
// shorter than 4 characters.
bool saveMacros(MacroLibrary& library, const std::filesystem::path& folder);

struct SkippedMacroFile {
    std::filesystem::path path;
    MacroFileStatus status;
};

struct MacroLoadReport {
    MacroFileStatus list = MacroFileStatus::Ok;
    std::vector<SkippedMacroFile> skipped;
};

// Replaces the library with the macros listed in `folder`'s list file, in
// list order. Each listed file is looked up by its file name in `folder`, so
// a library that was moved or copied still loads; a listed file that is
// missing or damaged is skipped and reported. When the list file itself is
// missing or damaged the library is left as it was.
MacroLoadReport loadMacros(MacroLibrary& library, const std::filesystem::path& folder);

} // namespace talwyn
