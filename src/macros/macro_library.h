#pragma once
// The user's macro library: the ordered macros the macro page edits, their
// identifiers, and the copies a button takes of them.

#include "macros/macro.h"
#include "profiles/profile_data.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace talwyn {

class MacroLibrary {
public:
    // First identifier handed out; button functions below it are never macros.
    static constexpr int32_t kFirstMacroId = 16;

    size_t size() const { return macros_.size(); }
    bool empty() const { return macros_.empty(); }
    // Macros keep their address while the library changes around them, so
    // the editor can hold on to the one it shows.
    CMacro& at(size_t index) { return *macros_.at(index); }
    const CMacro& at(size_t index) const { return *macros_.at(index); }

    CMacro& append(CMacro macro);
    void remove(size_t index);
    void clear() { macros_.clear(); }

    // The macro with identifier `id`; nullptr when there is none.
    const CMacro* find(int32_t id) const;

    // One more than the largest identifier in the library, never below 16.
    int32_t nextMacroId() const;

    // A new profile macro copied from the library macro `id` (name, id and
    // every event in order); none when no macro has that identifier.
    std::optional<MacroData> makeProfileMacro(int32_t id) const;

private:
    std::vector<std::unique_ptr<CMacro>> macros_;
};

} // namespace talwyn
