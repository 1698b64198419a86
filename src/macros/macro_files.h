#pragma once
// The macro library on disk: one "<name>.macro" file per macro and the list
// file "macroList.dat" naming them in library order, all in one folder.

#include "macros/macro.h"
#include "macros/macro_library.h"

#include <filesystem>
#include <set>
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

struct SkippedMacroFile {
    std::filesystem::path path;
    MacroFileStatus status;
};

struct MacroLoadReport {
    MacroFileStatus list = MacroFileStatus::Ok;
    std::vector<SkippedMacroFile> skipped;

    // Something the folder holds could not be read: a damaged list or a
    // macro file. A missing list is a library that was never saved.
    bool incomplete() const { return list == MacroFileStatus::Truncated || !skipped.empty(); }
};

// The folder a macro library is kept in. It remembers which files hold the
// library's macros (those it loaded or wrote), because a save may only ever
// remove those: a macro file that could not be loaded stays where it is.
class MacroFolder {
public:
    explicit MacroFolder(std::filesystem::path folder);

    const std::filesystem::path& path() const { return folder_; }

    // Replaces the library with the macros listed in the list file, in list
    // order. Each listed file is looked up by its file name in the folder, so
    // a library that was moved or copied still loads; a listed file that is
    // missing or damaged is skipped and reported. A damaged list gives every
    // entry that can be read from it, then every other macro file of the
    // folder that is intact. A missing list leaves the library as it was.
    MacroLoadReport load(MacroLibrary& library);

    // Writes the whole library: every macro file, then the list file, each
    // replacing its previous copy only once completely written; then removes
    // the files of deleted or renamed macros. File names come from
    // MacroFileNamer, which may rename a macro whose name collides with an
    // earlier one or with a file of the folder that the library does not
    // hold. False, with the previous list still in place, when a file could
    // not be written or the folder path is shorter than 4 characters.
    bool save(MacroLibrary& library);

private:
    std::vector<std::filesystem::path>
    unlistedMacroFiles(const std::set<std::filesystem::path>& listed) const;

    std::filesystem::path folder_;
    // File names in the folder that hold a macro of the library.
    std::set<std::filesystem::path> owned_;
};

} // namespace talwyn
