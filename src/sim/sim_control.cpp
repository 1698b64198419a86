#include "sim/sim_control.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <optional>

namespace talwyn::sim {

namespace {

using nlohmann::json;

std::optional<int> parseCount(const std::string& text, int max) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0 || value > max)
        return std::nullopt;
    return value;
}

// Arguments come off the socket as any bytes: text that is not UTF-8 is
// answered with replacement characters instead of ending the daemon.
std::string oneLine(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

ControlResult error(const std::string& message) {
    return {false, oneLine(json{{"error", message}})};
}
ControlResult done(json extra = json::object()) {
    extra["ok"] = true;
    return {true, oneLine(extra)};
}

constexpr int kMaxFaultCount = 1000000;

ControlResult pressCommand(SimMouse& mouse, const std::vector<std::string>& args) {
    if (args.size() == 2 && args[1] == "dpi") {
        mouse.pressDpi();
        return done({{"activeDpiLevel", mouse.snapshot().activeDpiLevel}});
    }
    if (args.size() == 3 && args[1] == "launch") {
        const auto button = parseCount(args[2], 255);
        std::string reason;
        if (!button)
            return error("press launch: BUTTON must be a number 1 to 6");
        if (!mouse.pressLaunch(*button, &reason))
            return error("press launch: " + reason);
        return done();
    }
    return error("usage: press dpi | press launch BUTTON");
}

ControlResult faultCommand(SimMouse& mouse, const std::vector<std::string>& args) {
    if (args.size() == 3 && args[1] == "busy") {
        const auto n = parseCount(args[2], kMaxFaultCount);
        if (!n)
            return error("fault busy: N must be a count");
        mouse.injectBusy(*n);
        return done();
    }
    if (args.size() == 4 && args[1] == "error" && (args[2] == "retryable" || args[2] == "fatal")) {
        const auto n = parseCount(args[3], kMaxFaultCount);
        if (!n)
            return error("fault error: N must be a count");
        mouse.injectFailures(args[2] == "fatal" ? hid::ErrorClass::Fatal : hid::ErrorClass::Retryable, *n);
        return done();
    }
    return error("usage: fault busy N | fault error retryable|fatal N");
}

} // namespace

std::string stateJson(const FirmwareState& state) {
    json images = json::array();
    for (const auto& image : state.images)
        images.push_back(toHex(image));
    return json{{"present", state.present},
                {"mode", state.mode == Mode::Normal ? "normal" : "bootloader"},
                {"activeSlot", state.activeSlot},
                {"activeDpiLevel", state.activeDpiLevel},
                {"firmwareVersion", state.firmwareVersion},
                {"bootloaderVersion", state.bootloaderVersion},
                {"surfaceValue", state.surfaceValue},
                {"images", images}}
        .dump();
}

ControlResult runControl(SimMouse& mouse, const std::vector<std::string>& args) {
    if (args.empty())
        return error("no command");
    const std::string& command = args[0];
    if (command == "state" && args.size() == 1)
        return {true, stateJson(mouse.snapshot())};
    if (command == "plug" && args.size() == 1) {
        mouse.plug();
        return done();
    }
    if (command == "unplug" && args.size() == 1) {
        mouse.unplug();
        return done();
    }
    if (command == "press")
        return pressCommand(mouse, args);
    if (command == "surface" && args.size() == 2) {
        const auto value = parseCount(args[1], 255);
        if (!value)
            return error("surface: VALUE must be 0 to 255");
        mouse.setSurfaceValue(static_cast<uint8_t>(*value));
        return done();
    }
    if (command == "fault")
        return faultCommand(mouse, args);
    if (command == "notify" && args.size() == 3 && (args[1] == "arrival" || args[1] == "removal")) {
        mouse.notify(args[1] == "arrival" ? hid::DeviceChange::Arrival : hid::DeviceChange::Removal, args[2]);
        return done();
    }
    return error("unknown command: " + command);
}

} // namespace talwyn::sim
