// talwynctl profile new|show|copy: profile files from the command line.

#include "command_registry.h"

#include "profiles/profile_file.h"
#include "profiles/utf16.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>

namespace talwynctl {
namespace {

using talwyn::ProfileData;
using Json = nlohmann::ordered_json;

ProfileData loadOrFail(const std::string& file) {
    ProfileData record;
    const talwyn::ProfileLoad result = talwyn::loadProfile(file, record);
    if (result != talwyn::ProfileLoad::Loaded)
        failWithFile(file, std::string(talwyn::describe(result)));
    return record;
}

void saveOrFail(const std::string& file, const ProfileData& record) {
    if (!talwyn::saveProfile(file, record))
        failWithFile(file, "cannot write file");
}

Json macroJson(const talwyn::MacroData& macro) {
    Json events = Json::array();
    for (const talwyn::CMacroEvent& event : macro.events)
        events.push_back(
            {{"type", event.type}, {"code", event.code}, {"flag", event.flag}, {"delay", event.delay}});
    return {{"name", talwyn::toUtf8(macro.name)}, {"macroId", macro.macroId}, {"events", events}};
}

// Keys are the record's field names.
Json profileJson(const ProfileData& p) {
    Json dpi = Json::array();
    for (const talwyn::DpiLevel& level : p.dpi)
        dpi.push_back({{"x", level.x}, {"y", level.y}});
    Json buttons = Json::array();
    for (const talwyn::ButtonAssignment& b : p.buttons)
        buttons.push_back({{"buttonIndex", b.buttonIndex},
                           {"function", b.function},
                           {"param", b.param},
                           {"defaultFunction", b.defaultFunction}});
    Json macros = Json::array();
    for (const talwyn::MacroData& macro : p.macros)
        macros.push_back(macroJson(macro));

    Json out;
    out["name"] = talwyn::toUtf8(p.name);
    out["enabled"] = p.enabled;
    out["reservedA"] = p.reservedA;
    out["reportInterval"] = p.reportInterval;
    out["doubleClickSpeed"] = p.doubleClickSpeed;
    out["scrollLines"] = p.scrollLines;
    out["scrollByLine"] = p.scrollByLine;
    out["scrollByPage"] = p.scrollByPage;
    out["accelEnabled"] = p.accelEnabled;
    out["dpiEntryFlag"] = p.dpiEntryFlag;
    out["reservedB"] = p.reservedB;
    out["dpiLevelCount"] = p.dpiLevelCount;
    out["activeDpiLevel"] = p.activeDpiLevel;
    out["dpi"] = dpi;
    out["pointerSpeed"] = p.pointerSpeed;
    out["rippleOff"] = p.rippleOff;
    out["angleSnapOff"] = p.angleSnapOff;
    out["liftOff"] = p.liftOff;
    out["surfaceQuality"] = p.surfaceQuality;
    out["lightColors"] = p.lightColors;
    out["lightBrightness"] = p.lightBrightness;
    out["lightZones"] = p.lightZones;
    out["lightEffect"] = p.lightEffect;
    out["reservedC"] = p.reservedC;
    out["reservedD"] = p.reservedD;
    out["reservedE"] = p.reservedE;
    out["pickerColor"] = p.pickerColor;
    out["buttons"] = buttons;
    out["macros"] = macros;
    return out;
}

void addProfileCommands(CLI::App& app) {
    // The device family adds "profile image" and may have created "profile" first.
    CLI::App* profile = nullptr;
    try {
        profile = app.get_subcommand("profile");
    } catch (const CLI::OptionNotFound&) {
        profile = app.add_subcommand("profile", "Create, show and copy *.profile files");
    }
    profile->require_subcommand(1);

    auto newFile = std::make_shared<std::string>();
    CLI::App* create =
        profile->add_subcommand("new", "Write a freshly constructed profile (name \"profile\")");
    create->add_option("FILE", *newFile, "Profile file to write")->required();
    create->callback([newFile] { saveOrFail(*newFile, ProfileData{}); });

    auto showFile = std::make_shared<std::string>();
    CLI::App* show = profile->add_subcommand("show", "Print a profile file as JSON");
    show->add_option("FILE", *showFile, "Profile file to read")->required();
    show->callback([showFile] { std::cout << profileJson(loadOrFail(*showFile)).dump(2) << '\n'; });

    auto copyFiles = std::make_shared<std::pair<std::string, std::string>>();
    CLI::App* copy = profile->add_subcommand("copy", "Load a profile file and save it again");
    copy->add_option("IN", copyFiles->first, "Profile file to read")->required();
    copy->add_option("OUT", copyFiles->second, "Profile file to write")->required();
    copy->callback([copyFiles] { saveOrFail(copyFiles->second, loadOrFail(copyFiles->first)); });
}

const CommandRegistrar registrar(addProfileCommands);

} // namespace
} // namespace talwynctl
