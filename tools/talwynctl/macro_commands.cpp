// talwynctl macros show: the macro library of a folder as JSON.

#include "command_registry.h"

#include "macros/macro_files.h"
#include "profiles/utf16.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>

namespace talwynctl {
namespace {

using Json = nlohmann::ordered_json;

Json rectJson(const talwyn::MacroRect& r) {
    return {{"left", r.left}, {"top", r.top}, {"right", r.right}, {"bottom", r.bottom}};
}

Json macroJson(const talwyn::CMacro& macro) {
    Json events = Json::array();
    for (const talwyn::CEventItem& e : macro.events)
        events.push_back({{"type", e.type},
                          {"code", e.code},
                          {"flag", e.flag},
                          {"delay", e.delay},
                          {"rowRect", rectJson(e.rowRect)},
                          {"selected", e.selected},
                          {"eventId", e.eventId}});
    return {{"macroId", macro.macroId},
            {"name", talwyn::toUtf8(macro.name)},
            {"viewRect", rectJson(macro.viewRect)},
            {"events", events}};
}

std::string fileLine(const std::filesystem::path& file, talwyn::MacroFileStatus status) {
    return file.string() + ": " + std::string(talwyn::describe(status));
}

// Prints what loaded; every listed file that did not load is one line on
// stderr and makes the command fail.
void showLibrary(const std::string& folder) {
    talwyn::MacroLibrary library;
    const talwyn::MacroLoadReport report = talwyn::MacroFolder(folder).load(library);
    if (report.list != talwyn::MacroFileStatus::Ok)
        throw CommandFailure{
            fileLine(std::filesystem::path(folder) / talwyn::kMacroListFileName, report.list)};

    Json macros = Json::array();
    for (size_t i = 0; i < library.size(); ++i)
        macros.push_back(macroJson(library.at(i)));
    std::cout << macros.dump(2) << '\n';

    if (report.skipped.empty())
        return;
    std::string lines;
    for (const talwyn::SkippedMacroFile& skipped : report.skipped)
        lines += (lines.empty() ? "" : "\n") + fileLine(skipped.path, skipped.status);
    throw CommandFailure{lines};
}

void addMacroCommands(CLI::App& app) {
    CLI::App* macros = app.add_subcommand("macros", "Inspect a macro library folder");
    macros->require_subcommand(1);

    auto folder = std::make_shared<std::string>();
    CLI::App* show = macros->add_subcommand("show", "Print the macro library stored in DIR as JSON");
    show->add_option("DIR", *folder, "Folder holding macroList.dat and the *.macro files")->required();
    show->callback([folder] { showLibrary(*folder); });
}

const CommandRegistrar registrar(addMacroCommands);

} // namespace
} // namespace talwynctl
