// Commands over the device library: talwynctl loads Talwyn_pro_dll.so from
// its own folder, like any host, and calls its exports.

#include "command_registry.h"

#include "devlib_host/shared_library.h"
#include "talwyn_pro_dll.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace talwynctl {
namespace {

using nlohmann::json;

// The library beside the tool, its exports bound by name.
class DeviceLibrary {
public:
    DeviceLibrary() {
        const auto folder = std::filesystem::read_symlink("/proc/self/exe").parent_path();
        if (!library_.load(folder / talwyn::devlib_host::deviceLibraryFileName()))
            throw CommandFailure{library_.file().string() + ": cannot be loaded (" + library_.error() + ")"};
    }

    template <typename Function> Function bind(const char* name) const {
        const auto function = library_.bind<Function>(name);
        if (!function)
            throw CommandFailure{library_.file().filename().string() + " has no export " + name};
        return function;
    }

    // Calls an export and fails the command unless it answered `expected`.
    template <typename Function, typename... Args>
    void call(const char* name, int expected, Args... args) const {
        const int status = static_cast<int>(bind<Function>(name)(args...));
        if (status != expected)
            throw CommandFailure{std::string(name) + " failed with status " + std::to_string(status)};
    }

private:
    talwyn::devlib_host::SharedLibrary library_;
};

using IntInt = uint8_t(TALWYN_CDECL*)(int32_t, int32_t);
using IntOnly = uint8_t(TALWYN_CDECL*)(int32_t);
using NoArgs = uint8_t(TALWYN_CDECL*)();
using ByteOut = uint8_t(TALWYN_CDECL*)(uint8_t*);
using VersionOut = uint8_t(TALWYN_CDECL*)(uint16_t*);
using DllVersionOut = int32_t(TALWYN_CDECL*)(uint16_t*);

void requireRange(const std::string& what, long value, long low, long high) {
    if (value < low || value > high)
        throw CommandFailure{what + " " + std::to_string(value) + " is out of range " + std::to_string(low) +
                             " to " + std::to_string(high)};
}

void requireProfile(int profile) {
    requireRange("profile", profile, 1, 5);
}

void requireOnOff(const std::string& what, int value) {
    requireRange(what, value, 0, 1);
}

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

std::string hexOf(const uint8_t* bytes, std::size_t n) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        out.push_back(kDigits[bytes[i] >> 4]);
        out.push_back(kDigits[bytes[i] & 0xF]);
    }
    return out;
}

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

// Waits for callbacks from the library's threads and prints them in order.
class CallbackQueue {
public:
    void push(json line) {
        {
            std::lock_guard lock(mutex_);
            lines_.push_back(std::move(line));
        }
        ready_.notify_one();
    }
    json pop() {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return !lines_.empty(); });
        json line = std::move(lines_.front());
        lines_.pop_front();
        return line;
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<json> lines_;
};

CallbackQueue& callbacks() {
    static CallbackQueue queue;
    return queue;
}

int32_t TALWYN_STDCALL onEvent(const uint8_t* code, const uint8_t* data, const int32_t* length) {
    json line{{"code", *code}, {"length", *length}};
    if (*code == TALWYN_EVENT_RUN_PROGRAM || *code == TALWYN_EVENT_OPEN_BROWSER) {
        const auto n = static_cast<std::size_t>(std::clamp<int32_t>(*length, 0, 1024));
        line["data"] = hexOf(data, n);
    } else {
        line["data"] = *data;
    }
    callbacks().push(std::move(line));
    return 0;
}

int32_t TALWYN_STDCALL onDeviceChange(const uint8_t* change) {
    callbacks().push(json{{"change", *change}});
    return 0;
}

int32_t TALWYN_STDCALL onProgress(const uint8_t* status, const uint32_t* value) {
    callbacks().push(json{{"status", *status}, {"value", *value}});
    return 0;
}

// Prints `count` lines (0: until interrupted).
void printCallbacks(int count) {
    for (int printed = 0; count == 0 || printed < count; ++printed)
        std::cout << callbacks().pop() << std::endl;
}

void events(int count) {
    requireRange("count", count, 0, 1'000'000);
    const DeviceLibrary library;
    using CaptureFn = int32_t(TALWYN_STDCALL*)(EventCallback);
    library.call<CaptureFn>("Capture_cb_data", TALWYN_RESULT_CAPTURE_STARTED, onEvent);
    printCallbacks(count);
    library.bind<NoArgs>("Close_device")();
}

void listen(int count) {
    requireRange("count", count, 0, 1'000'000);
    const DeviceLibrary library;
    using ChangeFn = int32_t(TALWYN_STDCALL*)(DeviceChangeCallback);
    using StartFn = int32_t(TALWYN_CDECL*)();
    library.call<ChangeFn>("Device_change_message", TALWYN_RESULT_OK, onDeviceChange);
    library.call<StartFn>("Start_device_listener", TALWYN_RESULT_OK);
    printCallbacks(count);
}

std::vector<uint8_t> readFirmwareFile(const std::string& file) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec)
        failWithFile(file, "cannot be read");
    if (size > TALWYN_FIRMWARE_MAX_SIZE)
        failWithFile(file, std::to_string(size) + " bytes, larger than the " +
                               std::to_string(TALWYN_FIRMWARE_MAX_SIZE) + " bytes a firmware image may have");
    std::vector<uint8_t> image(static_cast<std::size_t>(size));
    std::ifstream in(file, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size())))
        failWithFile(file, "cannot be read");
    return image;
}

void drawProgress(uint32_t percent) {
    constexpr int kWidth = 40;
    const int filled = static_cast<int>(std::min<uint32_t>(percent, 100) * kWidth / 100);
    std::cerr << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] " << percent
              << '%' << std::flush;
}

void firmwareUpdate(const std::string& file) {
    const std::vector<uint8_t> image = readFirmwareFile(file);
    const DeviceLibrary library;
    using ProgressFn = int32_t(TALWYN_STDCALL*)(ProgressCallback);
    using UpdateFn = uint8_t(TALWYN_CDECL*)(uint32_t, const uint8_t*);
    library.call<ProgressFn>("Firmware_update_progress", TALWYN_RESULT_OK, onProgress);
    library.call<UpdateFn>("Update_firmware", TALWYN_RESULT_OK, static_cast<uint32_t>(image.size()),
                           image.data());
    for (;;) {
        const json line = callbacks().pop();
        const int status = line["status"];
        const uint32_t value = line["value"];
        if (status == TALWYN_FW_PROGRESS) {
            drawProgress(value);
            continue;
        }
        std::cerr << '\n';
        if (status == TALWYN_FW_NEW_VERSION) {
            std::cout << value << '\n';
            return;
        }
        const auto code = static_cast<uint8_t>(status);
        throw CommandFailure{"firmware update failed with status 0x" + hexOf(&code, 1) + " (value " +
                             std::to_string(value) + ")"};
    }
}

void addSetCommands(CLI::App& app) {
    CLI::App* set = app.add_subcommand("set", "Change one setting of a profile in the mouse");
    set->require_subcommand(1);

    struct OnOff {
        const char* name;
        const char* exportName;
        const char* help;
    };
    for (const OnOff& c :
         {OnOff{"lod", "Set_lod", "Lift-off distance option on (1) or off (0)"},
          OnOff{"angle-snapping", "Set_angle_snapping", "Angle snapping on (1) or off (0)"}}) {
        auto profile = std::make_shared<int>();
        auto on = std::make_shared<int>();
        CLI::App* cmd = set->add_subcommand(c.name, c.help);
        cmd->add_option("profile", *profile)->required();
        cmd->add_option("on", *on)->required();
        cmd->callback([c, profile, on] {
            requireProfile(*profile);
            requireOnOff(c.name, *on);
            DeviceLibrary().call<IntInt>(c.exportName, TALWYN_RESULT_OK, *profile, *on);
        });
    }

    auto rate = std::make_shared<std::array<int, 2>>();
    CLI::App* pollingRate = set->add_subcommand("polling-rate", "Report rate: 125, 250, 500 or 1000 Hz");
    pollingRate->add_option("profile", (*rate)[0])->required();
    pollingRate->add_option("hz", (*rate)[1])->required();
    pollingRate->callback([rate] {
        requireProfile((*rate)[0]);
        const int hz = (*rate)[1];
        if (hz != 125 && hz != 250 && hz != 500 && hz != 1000)
            throw CommandFailure{"report rate " + std::to_string(hz) + " Hz is not 125, 250, 500 or 1000"};
        DeviceLibrary().call<IntInt>("Set_polling_rate", TALWYN_RESULT_OK, (*rate)[0], hz);
    });

    auto response = std::make_shared<std::array<int, 2>>();
    CLI::App* responseTime = set->add_subcommand("response-time", "Button response time: 2, 4, ... 12");
    responseTime->add_option("profile", (*response)[0])->required();
    responseTime->add_option("time", (*response)[1])->required();
    responseTime->callback([response] {
        requireProfile((*response)[0]);
        const int time = (*response)[1];
        if (time < 2 || time > 12 || time % 2 != 0)
            throw CommandFailure{"response time " + std::to_string(time) +
                                 " is not an even number from 2 to 12"};
        DeviceLibrary().call<IntInt>("Set_button_response_time", TALWYN_RESULT_OK, (*response)[0], time);
    });

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
    addSetCommands(app);
    addProfileCommands(app);

    auto eventCount = std::make_shared<int>(0);
    CLI::App* eventsCmd = app.add_subcommand("events", "Print the mouse's input events, one JSON line each");
    eventsCmd->add_option("--count", *eventCount, "stop after K events (default: run until interrupted)");
    eventsCmd->callback([eventCount] { events(*eventCount); });

    auto changeCount = std::make_shared<int>(0);
    CLI::App* listenCmd = app.add_subcommand("listen", "Print device changes, one JSON line each");
    listenCmd->add_option("--count", *changeCount, "stop after K changes (default: run until interrupted)");
    listenCmd->callback([changeCount] { listen(*changeCount); });

    auto file = std::make_shared<std::string>();
    CLI::App* firmware = app.add_subcommand("firmware-update", "Write a firmware image into the mouse");
    firmware->add_option("file", *file)->required();
    firmware->callback([file] { firmwareUpdate(*file); });
});

} // namespace
} // namespace talwynctl
