#include "devlib/button_encoding.h"

#include "protocol/key_usage.h"

#include <algorithm>
#include <vector>

namespace talwyn::devlib {
namespace {

enum class FunctionType : int32_t {
    Code00 = 16,
    Code01 = 17,
    Key = 18,
    Macro = kFunctionTypeMacro,
    Code08 = 20,
    Code09 = 21,
    Code21 = 22,
    Code22 = 23,
    Media = 24,
    Shortcut = kFunctionTypeShortcut,
    Disabled = 255,
};

constexpr std::array<uint8_t, 7> kMediaUsages{0xCD, 0xB7, 0xB6, 0xB5, 0xE9, 0xEA, 0xE2};
constexpr uint8_t kMediaSubConfiguration = 7;
constexpr uint16_t kMediaValueConfiguration = 0x0183;
constexpr std::size_t kShortcutBlockBytes = 100;

constexpr ButtonEvent keyEvent(uint16_t key, uint8_t release, uint32_t delay) {
    ButtonEvent event{};
    event.kind = 1;
    event.key = key;
    event.release = release;
    event.delay = delay;
    return event;
}

constexpr uint8_t kPress = 0;
constexpr uint8_t kRelease = 1;

constexpr std::array kCtrlShiftEsc{keyEvent(0xA2, kPress, 5),   keyEvent(0xA0, kPress, 5),
                                   keyEvent(0x1B, kPress, 150), keyEvent(0xA2, kRelease, 5),
                                   keyEvent(0xA0, kRelease, 5), keyEvent(0x1B, kRelease, 150)};
constexpr std::array kWinL{keyEvent(0x5B, kPress, 5), keyEvent(0x4C, kPress, 150),
                           keyEvent(0x5B, kRelease, 5), keyEvent(0x4C, kRelease, 5)};

// Win+X, U, then `last` pressed and released.
constexpr std::array<ButtonEvent, 8> winXU(uint16_t last) {
    return {keyEvent(0x5B, kPress, 0),     keyEvent(0x58, kPress, 150), keyEvent(0x5B, kRelease, 0),
            keyEvent(0x58, kRelease, 150), keyEvent(0x55, kPress, 150), keyEvent(0x55, kRelease, 150),
            keyEvent(last, kPress, 150),   keyEvent(last, kRelease, 0)};
}
constexpr auto kWinXUU = winXU(0x55);
constexpr auto kWinXUS = winXU(0x53);
constexpr auto kWinXUH = winXU(0x48);

uint8_t macroSub(uint8_t sub) {
    switch (sub) {
    case 0:
        return 0x01;
    case 1:
        return 0xF1;
    case 2:
        return 0xF2;
    default:
        return sub;
    }
}

uint8_t onOffSub(uint8_t sub) {
    return sub == 0 ? 0xF1 : sub == 1 ? 0xF3 : 0x01;
}

uint8_t deviceKind(uint8_t kind) {
    switch (kind) {
    case 0x10:
        return 0x10;
    case 0x11:
        return 0x11;
    case 0x12:
        return 0x01;
    default:
        return 0x00;
    }
}

uint8_t hostKind(uint8_t kind) {
    switch (kind) {
    case 0x01:
        return 0x12;
    case 0x10:
        return 0x10;
    case 0x11:
        return 0x11;
    default:
        return 0x00;
    }
}

// Events as the mouse stores them, then the 7-byte terminator.
std::vector<uint8_t> encodeEvents(std::span<const ButtonEvent> events, bool translateKind) {
    std::vector<uint8_t> out;
    out.reserve((events.size() + 1) * kEventSize);
    for (const ButtonEvent& event : events) {
        const uint16_t usage = protocol::virtualKeyToUsage(event.key);
        out.push_back(translateKind ? deviceKind(event.kind) : event.kind);
        out.push_back(static_cast<uint8_t>(usage & 0xFF));
        out.push_back(static_cast<uint8_t>(usage >> 8));
        out.push_back(event.release);
        out.push_back(static_cast<uint8_t>(event.delay & 0xFF));
        out.push_back(static_cast<uint8_t>((event.delay >> 8) & 0xFF));
        out.push_back(static_cast<uint8_t>((event.delay >> 16) & 0xFF));
    }
    out.insert(out.end(), kEventSize, 0);
    return out;
}

protocol::DataBlock blockFrom(std::span<const uint8_t> bytes, std::size_t limit) {
    protocol::DataBlock block{};
    std::copy_n(bytes.begin(), std::min({bytes.size(), limit, block.size()}), block.begin());
    return block;
}

} // namespace

std::array<uint8_t, kEntrySize> DeviceButtonEntry::bytes() const {
    std::array<uint8_t, kEntrySize> out{code, sub, 0, 0, 0, 0, tail};
    protocol::putLe16(out, 2, value);
    protocol::putLe16(out, 4, value2);
    return out;
}

DeviceButtonEntry DeviceButtonEntry::parse(std::span<const uint8_t, kEntrySize> bytes) {
    return {bytes[0], bytes[1], protocol::getLe16(bytes, 2), protocol::getLe16(bytes, 4), bytes[6]};
}

std::span<const ButtonEvent> shortcutEvents(uint8_t sub) {
    switch (sub) {
    case 0:
        return kCtrlShiftEsc;
    case 2:
        return kWinL;
    case 3:
        return kWinXUU;
    case 4:
        return kWinXUS;
    case 5:
        return kWinXUH;
    default:
        return {};
    }
}

EncodedButton encodeButton(const ButtonSettings& settings) {
    EncodedButton out;
    DeviceButtonEntry& entry = out.entry;
    const uint8_t sub = settings.sub;
    switch (static_cast<FunctionType>(settings.functionType)) {
    case FunctionType::Code00:
        entry = {0x00, sub};
        break;
    case FunctionType::Code01:
        entry = {0x01, sub};
        break;
    case FunctionType::Key:
        entry = {0x02, sub, protocol::virtualKeyToUsage(settings.value)};
        break;
    case FunctionType::Macro: {
        entry = {kCodeMacro, macroSub(sub), settings.macroByte, settings.eventCount};
        const std::size_t count = std::min<std::size_t>(settings.eventCount, TALWYN_MAX_BUTTON_EVENTS);
        out.data = blockFrom(encodeEvents({settings.events, count}, true), protocol::kDataBlockSize);
        break;
    }
    case FunctionType::Code08:
        entry = {0x08, onOffSub(sub)};
        break;
    case FunctionType::Code09:
        if (sub == 2)
            entry = {0x0C, 0x01, settings.value, settings.value};
        else
            entry = {0x09, onOffSub(sub)};
        break;
    case FunctionType::Code21:
        entry = {0x21, 0x01};
        break;
    case FunctionType::Code22:
        entry = {0x22, 0x01};
        break;
    case FunctionType::Media:
        if (sub < kMediaUsages.size())
            entry = {0x20, kMediaUsages[sub]};
        else if (sub == kMediaSubConfiguration)
            entry = {0x20, 0x01, kMediaValueConfiguration};
        else
            entry = {0x20, 0x01};
        break;
    case FunctionType::Shortcut: {
        const auto events = shortcutEvents(sub);
        entry = {kCodeShortcut, 0x01, static_cast<uint16_t>(sub <= 5 ? sub : 0),
                 static_cast<uint16_t>(events.size())};
        out.data = blockFrom(encodeEvents(events, false), kShortcutBlockBytes);
        break;
    }
    case FunctionType::Disabled:
        entry = {0xFF, 0x01};
        break;
    default:
        entry = {0x00, 0x01};
        break;
    }
    return out;
}

ButtonSettings decodeButtonEntry(const DeviceButtonEntry& entry, int32_t buttonNumber) {
    ButtonSettings s{};
    s.button = buttonNumber;
    s.functionType = static_cast<int32_t>(FunctionType::Code00);
    s.sub = entry.sub;
    s.eventCount = entry.value2;
    auto set = [&s](FunctionType type, uint8_t sub, uint16_t value = 0) {
        s.functionType = static_cast<int32_t>(type);
        s.sub = sub;
        s.value = value;
    };
    auto subOfOnOff = [&entry]() -> uint8_t {
        return entry.sub == 0xF1 ? 0 : entry.sub == 0xF3 ? 1 : entry.sub;
    };
    switch (entry.code) {
    case 0x00:
        set(FunctionType::Code00, entry.sub);
        break;
    case 0x01:
        set(FunctionType::Code01, entry.sub);
        break;
    case 0x02:
        set(FunctionType::Key, entry.sub, protocol::usageToVirtualKey(entry.value));
        break;
    case kCodeMacro: {
        const uint8_t sub = entry.sub == 0x01 ? 0 : entry.sub == 0xF1 ? 1 : entry.sub == 0xF2 ? 2 : entry.sub;
        set(FunctionType::Macro, sub, entry.value);
        // The events are copied into the record, so their count must fit it.
        s.eventCount = std::min<uint16_t>(entry.value2, TALWYN_MAX_BUTTON_EVENTS);
        break;
    }
    case 0x08:
        set(FunctionType::Code08, subOfOnOff());
        break;
    case 0x09:
        set(FunctionType::Code09, subOfOnOff());
        break;
    case 0x0C:
        set(FunctionType::Code09, 2, entry.value);
        break;
    case kCodeShortcut: {
        const bool known = entry.value == 0 || (entry.value >= 2 && entry.value <= 5);
        set(FunctionType::Shortcut, known ? static_cast<uint8_t>(entry.value) : entry.sub);
        break;
    }
    case 0x20: {
        const auto it = std::find(kMediaUsages.begin(), kMediaUsages.end(), entry.sub);
        uint8_t sub = entry.sub;
        if (it != kMediaUsages.end())
            sub = static_cast<uint8_t>(it - kMediaUsages.begin());
        else if (entry.value == kMediaValueConfiguration)
            sub = kMediaSubConfiguration;
        set(FunctionType::Media, sub);
        break;
    }
    case 0x21:
        set(FunctionType::Code21, entry.sub);
        break;
    case 0x22:
        set(FunctionType::Code22, entry.sub);
        break;
    case kCodeRunProgram:
        set(FunctionType::Shortcut, 6, entry.value);
        break;
    case kCodeOpenBrowser:
        set(FunctionType::Shortcut, 1, entry.value);
        break;
    case 0xFF:
        set(FunctionType::Disabled, entry.sub);
        break;
    default:
        set(FunctionType::Code00, 1);
        break;
    }
    return s;
}

void decodeMacroEvents(std::span<const uint8_t, protocol::kDataBlockSize> block, ButtonSettings& settings) {
    const std::size_t count = std::min<std::size_t>(settings.eventCount, TALWYN_MAX_BUTTON_EVENTS);
    for (std::size_t i = 0; i < count; ++i) {
        const auto raw = block.subspan(i * kEventSize, kEventSize);
        ButtonEvent& event = settings.events[i];
        event = ButtonEvent{};
        event.kind = hostKind(raw[0]);
        event.key = protocol::usageToVirtualKey(protocol::getLe16(raw, 1));
        event.release = raw[3];
        event.delay = static_cast<uint32_t>(raw[4] | (raw[5] << 8) | (raw[6] << 16));
    }
}

} // namespace talwyn::devlib
