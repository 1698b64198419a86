#pragma once
// Chooses the file each macro of a library is saved to. A name that can be a
// file name is used as it is; a macro whose name collides with an earlier one
// is renamed by appending "1" until it is unique. Any other name (empty, "."
// or "..", separators, reserved or control characters, too long) gets a
// made-safe, numbered file name while the macro keeps its name, so no file is
// ever written outside the macro folder.

#include "macros/macro.h"

#include <string>
#include <string_view>
#include <unordered_set>

namespace talwyn {

inline constexpr std::u16string_view kMacroFileExtension = u".macro";

// True when `stem` followed by ".macro" is a plain file name on every
// platform the library may move to.
bool isPortableFileStem(std::u16string_view stem);

class MacroFileNamer {
public:
    // File name (with extension) for the next macro of the save; may rename
    // the macro as described above.
    std::u16string fileNameFor(CMacro& macro);
    // Marks the file "<stem>.macro" as in use by something else, so no macro
    // of the save is written over it.
    void reserve(std::u16string_view stem) { used_.insert(foldCase(stem)); }

private:
    static std::u16string foldCase(std::u16string_view text);
    bool taken(std::u16string_view stem) const;
    std::u16string claim(std::u16string stem);

    // Case-folded stems already handed out: the files must stay distinct on
    // case-insensitive file systems too.
    std::unordered_set<std::u16string> used_;
};

} // namespace talwyn
