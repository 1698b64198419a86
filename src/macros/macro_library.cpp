#include "macros/macro_library.h"

#include "macros/next_id.h"

namespace talwyn {

CMacro& MacroLibrary::append(CMacro macro) {
    macros_.push_back(std::make_unique<CMacro>(std::move(macro)));
    return *macros_.back();
}

void MacroLibrary::remove(size_t index) {
    if (index < macros_.size())
        macros_.erase(macros_.begin() + static_cast<std::ptrdiff_t>(index));
}

const CMacro* MacroLibrary::find(int32_t id) const {
    for (const auto& macro : macros_)
        if (macro->macroId == id)
            return macro.get();
    return nullptr;
}

int32_t MacroLibrary::nextMacroId() const {
    std::vector<int32_t> ids;
    ids.reserve(macros_.size());
    for (const auto& macro : macros_)
        ids.push_back(macro->macroId);
    return nextFreeId(ids, kFirstMacroId);
}

std::optional<MacroData> MacroLibrary::makeProfileMacro(int32_t id) const {
    const CMacro* source = find(id);
    if (source == nullptr)
        return std::nullopt;
    MacroData copy{source->name, id, {}};
    copy.events.reserve(source->events.size());
    for (const CEventItem& event : source->events)
        copy.events.push_back({event.type, event.code, event.flag, event.delay});
    return copy;
}

} // namespace talwyn
