// Commands over the device library: versions and the profiles of the mouse.

#include "library_host.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <vector>

namespace talwynctl {
namespace {

using nlohmann::json;

json buttonJson(const ButtonSettings& button) {
    json events = json::array();
    const std::size_t count = std::min<std::size_t>(button.eventCount, TALWYN_MAX_BUTTON_EVENTS);
    if (button.functionType == 19) {
        for (std::size_t i = 0; i < count; ++i) {
            const ButtonEvent& e = button.events[i];
            events.push_back({{"kind", e.kind}, {"key", e.key}, {"release", e.release}, {"delay", e.delay}});
        }
    }
    return {{"button", button.button},
            {"functionType", button.functionType},
            {"sub", button.sub},
            {"value", button.value},
            {"macroByte", button.macroByte},
            {"eventCount", button.eventCount},
            {"subCopy", button.subCopy},
            {"events", events}};
}

json profileJson(const ProfileSettings& s, const ButtonDataSet& data) {
    json buttons = json::array();
    for (const ButtonSettings& button : s.buttonSettings)
        buttons.push_back(buttonJson(button));
    return {{"profileNumber", s.profileNumber},
            {"pollingRate", s.pollingRate},
            {"responseTime", s.responseTime},
            {"angleSnapping", s.angleSnapping},
            {"liftOffOption", s.liftOffOption},
            {"dpi",
             {{"first", s.dpiSettings.first},
              {"second", s.dpiSettings.second},
              {"values",
               std::vector<uint16_t>(std::begin(s.dpiSettings.values), std::end(s.dpiSettings.values))}}},
            {"lightingMode", s.lightingMode},
            {"colors", hexOf(s.colors.bytes, sizeof s.colors.bytes)},
            {"brightness", s.brightness},
            {"lightingFlag", s.lightingFlag},
            {"lightingStep", s.lightingStep},
            {"buttons", buttons},
            {"dataLengths", std::vector<uint16_t>(std::begin(data.lengths), std::end(data.lengths))}};
}

void info() {
    const DeviceLibrary library;
    uint16_t status = 0;
    library.call<VersionOut>("Get_device_status", TALWYN_RESULT_OK, &status);
    uint16_t firmware = 0;
    uint16_t bootloader = 0;
    uint16_t dll = 0;
    library.call<VersionOut>("Get_fw_version", TALWYN_RESULT_OK, &firmware);
    library.call<VersionOut>("Get_bl_version", TALWYN_RESULT_OK, &bootloader);
    library.call<DllVersionOut>("Get_dll_version", TALWYN_RESULT_OK, &dll);
    std::cout << json{{"deviceStatus", status},
                      {"firmware", firmware},
                      {"bootloader", bootloader},
                      {"library", dll}}
              << '\n';
}

void readProfile(int profile) {
    requireProfile(profile);
    const DeviceLibrary library;
    auto settings = std::make_unique<ProfileSettings>();
    auto data = std::make_unique<ButtonDataSet>();
    using ReadFn = uint8_t(TALWYN_CDECL*)(int32_t, ProfileSettings*, ButtonDataSet*);
    library.call<ReadFn>("Read_profile_data", TALWYN_RESULT_OK, profile, settings.get(), data.get());
    std::cout << profileJson(*settings, *data).dump(2) << '\n';
}

void addProfileCommands(CLI::App& app) {
    auto profile = std::make_shared<int>();
    CLI::App* read = app.add_subcommand("read-profile", "Print a profile of the mouse as JSON");
    read->add_option("profile", *profile)->required();
    read->callback([profile] { readProfile(*profile); });

    auto current = std::make_shared<std::optional<int>>();
    CLI::App* currentCmd =
        app.add_subcommand("current-profile", "Print the active profile, or make N active");
    currentCmd->add_option("profile", *current);
    currentCmd->callback([current] {
        const DeviceLibrary library;
        if (*current) {
            requireProfile(**current);
            library.call<IntOnly>("Set_current_profile_id", TALWYN_RESULT_OK, **current);
            return;
        }
        uint8_t active = 0;
        library.call<ByteOut>("Get_current_profile_id", TALWYN_RESULT_OK, &active);
        std::cout << int(active) << '\n';
    });

    CLI::App* profiles = app.add_subcommand("profiles", "Profiles of the mouse");
    profiles->require_subcommand(1);
    profiles->add_subcommand("count", "Print the number of profiles in the mouse")->callback([] {
        uint8_t count = 0;
        DeviceLibrary().call<ByteOut>("Get_number_of_profiles_in_mouse", TALWYN_RESULT_OK, &count);
        std::cout << int(count) << '\n';
    });

    auto copy = std::make_shared<std::array<int, 2>>();
    CLI::App* copyCmd = app.add_subcommand("copy-profile", "Copy profile S onto profile T in the mouse");
    copyCmd->add_option("source", (*copy)[0])->required();
    copyCmd->add_option("target", (*copy)[1])->required();
    copyCmd->callback([copy] {
        requireProfile((*copy)[0]);
        requireProfile((*copy)[1]);
        DeviceLibrary().call<IntInt>("Copy_profile_data", TALWYN_RESULT_OK, (*copy)[0], (*copy)[1]);
    });

    auto reset = std::make_shared<int>();
    CLI::App* resetCmd = app.add_subcommand("reset-profile", "Reset profile N of the mouse to its defaults");
    resetCmd->add_option("profile", *reset)->required();
    resetCmd->callback([reset] {
        requireProfile(*reset);
        DeviceLibrary().call<IntOnly>("Reset_profile_default", TALWYN_RESULT_OK, *reset);
    });

    auto sync = std::make_shared<int>();
    CLI::App* syncCmd = app.add_subcommand("sync-profile", "Send the synchronise command for N (1 to 6)");
    syncCmd->add_option("number", *sync)->required();
    syncCmd->callback([sync] {
        requireRange("number", *sync, 1, 6);
        DeviceLibrary().call<IntOnly>("Sync_profile", TALWYN_RESULT_OK, *sync);
    });

    app.add_subcommand("reset-factory", "Reset the whole mouse to its factory settings")->callback([] {
        DeviceLibrary().call<NoArgs>("Reset_factory_default", TALWYN_RESULT_OK);
    });
}

const CommandRegistrar registrar([](CLI::App& app) {
    app.add_subcommand("info", "Print device status and firmware, bootloader and library versions")
        ->callback(info);
    addProfileCommands(app);
});

} // namespace
} // namespace talwynctl
