// The "set" commands: one setting of a profile in the mouse, through the
// device library.

#include "library_host.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <memory>
#include <string>
#include <vector>

namespace talwynctl {
namespace {

// "KIND:KEY:RELEASE:DELAY", each a number (0x prefix for hex).
ButtonEvent parseEvent(const std::string& text) {
    std::array<unsigned long, 4> fields{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t end = i + 1 < fields.size() ? text.find(':', start) : text.size();
        if (end == std::string::npos)
            throw CommandFailure{"event " + text + ": expected KIND:KEY:RELEASE:DELAY"};
        const std::string field = text.substr(start, end - start);
        try {
            std::size_t used = 0;
            fields[i] = std::stoul(field, &used, 0);
            if (used != field.size())
                throw std::invalid_argument(field);
        } catch (const std::exception&) {
            throw CommandFailure{"event " + text + ": \"" + field + "\" is not a number"};
        }
        start = end + 1;
    }
    requireRange("event kind", static_cast<long>(fields[0]), 0, 255);
    requireRange("event key", static_cast<long>(fields[1]), 0, 0xFFFF);
    requireOnOff("event release", static_cast<int>(std::min(fields[2], 2ul)));
    requireRange("event delay", static_cast<long>(std::min(fields[3], 0x1000000ul)), 0, 0xFFFFFF);
    ButtonEvent event{};
    event.kind = static_cast<uint8_t>(fields[0]);
    event.key = static_cast<uint16_t>(fields[1]);
    event.release = static_cast<uint8_t>(fields[2]);
    event.delay = static_cast<uint32_t>(fields[3]);
    return event;
}

LightingColors parseColours(const std::string& hex) {
    LightingColors colours{};
    if (hex.size() != 2 * sizeof colours.bytes)
        throw CommandFailure{"colours must be 48 hexadecimal digits (24 bytes), got " +
                             std::to_string(hex.size())};
    for (std::size_t i = 0; i < sizeof colours.bytes; ++i) {
        const char* first = hex.data() + 2 * i;
        if (std::from_chars(first, first + 2, colours.bytes[i], 16).ptr != first + 2)
            throw CommandFailure{"colours: \"" + hex.substr(2 * i, 2) + "\" is not a hexadecimal byte"};
    }
    return colours;
}

struct ButtonArgs {
    int profile = 0;
    int button = 0;
    int type = 0;
    int sub = 0;
    int value = 0;
    std::vector<std::string> events;
};

void setButton(const ButtonArgs& args) {
    requireProfile(args.profile);
    requireRange("button", args.button, 1, 255);
    requireRange("type", args.type, 0, 255);
    requireRange("sub", args.sub, 0, 255);
    requireRange("value", args.value, 0, 0xFFFF);
    requireRange("number of events", static_cast<long>(args.events.size()), 0, TALWYN_MAX_BUTTON_EVENTS);
    auto settings = std::make_unique<ButtonSettings>();
    settings->button = args.button;
    settings->functionType = args.type;
    settings->sub = static_cast<uint8_t>(args.sub);
    settings->value = static_cast<uint16_t>(args.value);
    settings->macroByte = static_cast<uint8_t>(args.value & 0xFF);
    settings->eventCount = static_cast<uint16_t>(args.events.size());
    for (std::size_t i = 0; i < args.events.size(); ++i)
        settings->events[i] = parseEvent(args.events[i]);
    const DeviceLibrary library;
    using ButtonFn = uint8_t(TALWYN_CDECL*)(int32_t, const ButtonSettings*);
    library.call<ButtonFn>("Set_button_settings", TALWYN_RESULT_OK, args.profile, settings.get());
}

void checkOnOff(const char* name, int on) {
    requireOnOff(name, on);
}

void checkReportRate(const char*, int hz) {
    if (hz != 125 && hz != 250 && hz != 500 && hz != 1000)
        throw CommandFailure{"report rate " + std::to_string(hz) + " Hz is not 125, 250, 500 or 1000"};
}

void checkResponseTime(const char*, int time) {
    if (time < 2 || time > 12 || time % 2 != 0)
        throw CommandFailure{"response time " + std::to_string(time) + " is not an even number from 2 to 12"};
}

// "set NAME PROFILE VALUE": one export that takes the profile and a checked value.
struct ProfileValueCommand {
    const char* name;
    const char* valueName;
    const char* exportName;
    const char* help;
    void (*check)(const char* name, int value);
};

constexpr ProfileValueCommand kProfileValueCommands[] = {
    {"lod", "on", "Set_lod", "Lift-off distance option on (1) or off (0)", checkOnOff},
    {"angle-snapping", "on", "Set_angle_snapping", "Angle snapping on (1) or off (0)", checkOnOff},
    {"polling-rate", "hz", "Set_polling_rate", "Report rate: 125, 250, 500 or 1000 Hz", checkReportRate},
    {"response-time", "time", "Set_button_response_time", "Button response time: 2, 4, ... 12",
     checkResponseTime},
};

void addSetCommands(CLI::App& app) {
    CLI::App* set = app.add_subcommand("set", "Change one setting of a profile in the mouse");
    set->require_subcommand(1);

    for (const ProfileValueCommand& c : kProfileValueCommands) {
        auto profile = std::make_shared<int>();
        auto value = std::make_shared<int>();
        CLI::App* cmd = set->add_subcommand(c.name, c.help);
        cmd->add_option("profile", *profile)->required();
        cmd->add_option(c.valueName, *value)->required();
        cmd->callback([c, profile, value] {
            requireProfile(*profile);
            c.check(c.name, *value);
            DeviceLibrary().call<IntInt>(c.exportName, TALWYN_RESULT_OK, *profile, *value);
        });
    }

    auto dpiProfile = std::make_shared<int>();
    auto dpiNumbers = std::make_shared<std::vector<int>>();
    CLI::App* dpi = set->add_subcommand("dpi", "Resolution settings: FIRST SECOND and ten values");
    dpi->add_option("profile", *dpiProfile)->required();
    dpi->add_option("values", *dpiNumbers, "FIRST SECOND V0 ... V9")->required()->expected(12);
    dpi->callback([dpiProfile, dpiNumbers] {
        requireProfile(*dpiProfile);
        const std::vector<int>& n = *dpiNumbers;
        requireRange("first", n[0], 0, 255);
        requireRange("second", n[1], 0, 255);
        DpiSettings settings{static_cast<uint8_t>(n[0]), static_cast<uint8_t>(n[1]), {}};
        for (std::size_t i = 0; i < 10; ++i) {
            requireRange("resolution value", n[2 + i], 0, 0xFFFF);
            settings.values[i] = static_cast<uint16_t>(n[2 + i]);
        }
        using DpiFn = uint8_t(TALWYN_CDECL*)(int32_t, DpiSettings);
        DeviceLibrary().call<DpiFn>("Set_dpi_settings", TALWYN_RESULT_OK, *dpiProfile, settings);
    });

    struct Lighting {
        int profile = 0, mode = 0, brightness = 0, flag = 0, step = 0;
        std::string colours;
    };
    auto light = std::make_shared<Lighting>();
    CLI::App* lighting = set->add_subcommand("lighting", "Lighting: MODE HEX24 BRIGHTNESS FLAG STEP");
    lighting->add_option("profile", light->profile)->required();
    lighting->add_option("mode", light->mode)->required();
    lighting->add_option("colors", light->colours, "24 colour bytes as 48 hex digits")->required();
    lighting->add_option("brightness", light->brightness)->required();
    lighting->add_option("flag", light->flag)->required();
    lighting->add_option("step", light->step)->required();
    lighting->callback([light] {
        requireProfile(light->profile);
        requireRange("mode", light->mode, 0, 255);
        requireRange("brightness", light->brightness, 0, 100);
        requireOnOff("flag", light->flag);
        requireRange("step", light->step, 0, 255);
        const LightingColors colours = parseColours(light->colours);
        using LightFn = uint8_t(TALWYN_CDECL*)(int32_t, int32_t, LightingColors, int32_t, int32_t, int32_t);
        DeviceLibrary().call<LightFn>("Update_lighting_settings", TALWYN_RESULT_OK, light->profile,
                                      light->mode, colours, light->brightness, light->flag, light->step);
    });

    auto buttonArgs = std::make_shared<ButtonArgs>();
    CLI::App* button = set->add_subcommand("button", "Button function: BUTTON TYPE SUB VALUE");
    button->add_option("profile", buttonArgs->profile)->required();
    button->add_option("button", buttonArgs->button)->required();
    button->add_option("type", buttonArgs->type, "function type 16-25 or 255")->required();
    button->add_option("sub", buttonArgs->sub)->required();
    button->add_option("value", buttonArgs->value, "key code, resolution or (macros) the macro byte")
        ->required();
    button->add_option("--event", buttonArgs->events, "macro event KIND:KEY:RELEASE:DELAY, repeatable");
    button->callback([buttonArgs] { setButton(*buttonArgs); });
}

const CommandRegistrar registrar(addSetCommands);

} // namespace
} // namespace talwynctl
