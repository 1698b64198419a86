#include "sim/sim_control.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <optional>
#include <utility>

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

// Commands arrive as raw bytes: text that is not UTF-8 is shown with
// replacement characters rather than refused by the encoder.
std::string line(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

ControlResult error(const std::string& message) {
    return {false, line(json{{"error", message}})};
}
ControlResult done(json extra = json::object()) {
    extra["ok"] = true;
    return {true, line(extra)};
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

constexpr char kFirmwareFaultUsage[] =
    "usage: fault firmware enter|restart|start|finish [TIMES] | fault firmware block K [TIMES] | "
    "fault firmware none";

std::optional<FirmwareStep> firmwareStepNamed(const std::string& name) {
    static const std::pair<const char*, FirmwareStep> kSteps[] = {
        {"none", FirmwareStep::None},
        {"enter", FirmwareStep::EnterBootloader},
        {"restart", FirmwareStep::StayInNormalMode},
        {"start", FirmwareStep::StartTransfer},
        {"block", FirmwareStep::Block},
        {"finish", FirmwareStep::FinishTransfer},
    };
    for (const auto& [text, step] : kSteps)
        if (name == text)
            return step;
    return std::nullopt;
}

// fault firmware STEP [K] [TIMES]: the step is refused TIMES attempts (1 by default).
ControlResult firmwareFaultCommand(SimMouse& mouse, const std::vector<std::string>& args) {
    const auto step = args.size() >= 3 ? firmwareStepNamed(args[2]) : std::nullopt;
    if (!step)
        return error(kFirmwareFaultUsage);
    FirmwareFault fault{*step, 0, *step == FirmwareStep::None ? 0 : 1};
    std::size_t next = 3;
    if (*step == FirmwareStep::Block) {
        const auto block = next < args.size() ? parseCount(args[next], 255) : std::nullopt;
        if (!block)
            return error("fault firmware block: K must be a block index 0 to 255");
        fault.block = *block;
        ++next;
    }
    if (next < args.size() && *step != FirmwareStep::None) {
        const auto times = parseCount(args[next], kMaxFaultCount);
        if (!times)
            return error("fault firmware: TIMES must be a count");
        fault.times = *times;
        ++next;
    }
    if (next != args.size())
        return error(kFirmwareFaultUsage);
    mouse.injectFirmwareFault(fault);
    return done();
}

ControlResult faultCommand(SimMouse& mouse, const std::vector<std::string>& args) {
    if (args.size() >= 2 && args[1] == "firmware")
        return firmwareFaultCommand(mouse, args);
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
    return error("usage: fault busy N | fault error retryable|fatal N | fault firmware ...");
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
    if (command == "wirelog" && args.size() == 2) {
        if (!mouse.setLogFile(args[1], LogStamps::Monotonic))
            return error("wirelog: cannot open " + args[1]);
        return done();
    }
    if (command == "notify" && args.size() == 3 && (args[1] == "arrival" || args[1] == "removal")) {
        mouse.notify(args[1] == "arrival" ? hid::DeviceChange::Arrival : hid::DeviceChange::Removal, args[2]);
        return done();
    }
    return error("unknown command: " + command);
}

} // namespace talwyn::sim
