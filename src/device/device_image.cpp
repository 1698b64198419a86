#include "device/device_image.h"

#include "protocol/key_usage.h"

#include <algorithm>
#include <span>

namespace talwyn::device {

namespace {

namespace off = protocol::image_offset;
using protocol::kButtonSlotSize;
using protocol::kEventRecordSize;
using protocol::kImageButtonCount;
using protocol::kProfileImageSize;

struct ButtonKind {
    uint8_t kind;
    uint8_t value;
};

// Device kind and value per ProfileData function code (13 and 14 are filled
// in from the key and the macro).
ButtonKind buttonKindFor(uint8_t function) {
    switch (function) {
    case 0:
        return {0x00, 0x01};
    case 1:
        return {0x00, 0x02};
    case 2:
        return {0x00, 0x04};
    case 3:
        return {0x00, 0x10};
    case 4:
        return {0x00, 0x08};
    case 5:
        return {0x09, 0xF0};
    case 6:
        return {0x09, 0xF2};
    case 7:
        return {0x09, 0xF1};
    case 8:
        return {0x08, 0xF1};
    case 9:
        return {0x08, 0xF0};
    case 10:
        return {0x08, 0xF2};
    case 11:
        return {0x01, 0x01};
    case 12:
        return {0x01, 0xFF};
    case function_code::kSingleKey:
        return {protocol::kButtonKindKey, 0x00};
    case function_code::kMacro:
        return {protocol::kButtonKindMacro, 0x00};
    case function_code::kDisabled:
        return {0xFF, 0x00};
    case 32:
        return {0x09, 0xF3};
    default:
        return {0x00, 0x00};
    }
}

// Windows-1252 bytes 0x80..0x9F; 0 marks the five unassigned ones.
constexpr std::array<char16_t, 32> kCp1252High{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char toCp1252Byte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    const auto* hit = std::find(kCp1252High.begin(), kCp1252High.end(), c);
    if (c != 0 && hit != kCp1252High.end())
        return static_cast<char>(0x80 + (hit - kCp1252High.begin()));
    return '?';
}

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

class ImageWriter {
public:
    explicit ImageWriter(std::array<uint8_t, kProfileImageSize>& bytes) : bytes_(bytes) {}
    void u8(std::size_t at, uint8_t v) { bytes_[at] = v; }
    void u16(std::size_t at, uint16_t v) {
        bytes_[at] = static_cast<uint8_t>(v);
        bytes_[at + 1] = static_cast<uint8_t>(v >> 8);
    }
    void u24(std::size_t at, uint32_t v) {
        u16(at, static_cast<uint16_t>(v));
        bytes_[at + 2] = static_cast<uint8_t>(v >> 16);
    }
    void u32(std::size_t at, uint32_t v) {
        u16(at, static_cast<uint16_t>(v));
        u16(at + 2, static_cast<uint16_t>(v >> 16));
    }

private:
    std::array<uint8_t, kProfileImageSize>& bytes_;
};

struct Brightness {
    uint8_t percent;
    int quarters; // colour bytes of slots A and D are multiplied by quarters / 4
};

Brightness brightnessFor(int32_t step) {
    switch (step) {
    case 1:
        return {0, 0};
    case 2:
        return {25, 1};
    case 3:
        return {50, 2};
    case 4:
        return {75, 3};
    default:
        return {100, 4};
    }
}

void writeColorSlot(ImageWriter& w, std::size_t at, uint32_t color, bool present, int quarters,
                    uint8_t effect) {
    for (int i = 0; i < 3; ++i) {
        const int channel = present ? static_cast<int>((color >> (8 * i)) & 0xFF) : 0;
        w.u8(at + i, static_cast<uint8_t>(channel * quarters / 4));
    }
    w.u8(at + 3, effect);
}

void writeLighting(ImageWriter& w, const ProfileData& p) {
    const auto effect = static_cast<uint8_t>(p.lightEffect);
    const auto bits = static_cast<uint32_t>(p.lightZones);
    const Brightness b = brightnessFor(p.lightBrightness);
    writeColorSlot(w, off::kColorA, p.lightColors[0], bits & 1u, b.quarters, effect);
    writeColorSlot(w, off::kColorD, p.lightColors[3], bits & 8u, b.quarters, effect);
    w.u8(off::kBrightness, b.percent);
    writeColorSlot(w, off::kColorB, p.lightColors[1], bits & 2u, 4, effect);
    for (std::size_t i = 0; i < 3; ++i)
        writeColorSlot(w, off::kColorC + 4 * i, p.lightColors[2], bits & 4u, 4, effect);
}

void writeSensor(ImageWriter& w, const ProfileData& p) {
    w.u8(off::kActiveDpiLevel, p.activeDpiLevel);
    for (std::size_t i = 0; i < kDpiLevels; ++i) {
        const std::size_t at = off::kDpiLevel[i];
        const auto x = static_cast<uint16_t>(p.dpi[i].x);
        w.u8(at, static_cast<uint8_t>(p.dpiEntryFlag));
        w.u16(at + 1, x);
        w.u16(at + 3, x);
    }
    w.u8(off::kLiftOff, static_cast<uint8_t>(p.liftOff));
    w.u8(off::kAngleSnapOff, p.angleSnapOff);
    w.u8(off::kDpiLevelCount, p.dpiLevelCount);
    w.u8(off::kReservedB, static_cast<uint8_t>(p.reservedB));
    w.u8(off::kRippleOff, p.rippleOff);
}

// Lays macros out one after another from kMacroArea. A macro that does not
// fit keeps the whole events that do and its terminator; later macros point
// at that terminator with no events.
class MacroAreaWriter {
public:
    explicit MacroAreaWriter(ImageWriter& w) : w_(w) {}

    struct Placement {
        uint16_t offset;
        uint16_t count;
        bool anyRelease;
    };

    Placement place(std::span<const CMacroEvent> events) {
        const std::size_t room = (kProfileImageSize - offset_) / kEventRecordSize;
        if (room == 0) {
            dropped_ += events.size();
            return {lastTerminator_, 0, false};
        }
        const std::size_t kept = std::min(events.size(), room - 1);
        dropped_ += events.size() - kept;
        const Placement placement{static_cast<uint16_t>(offset_), static_cast<uint16_t>(kept),
                                  std::any_of(events.begin(), events.begin() + kept,
                                              [](const CMacroEvent& e) { return e.flag == 1; })};
        for (std::size_t i = 0; i < kept; ++i)
            writeEvent(offset_ + i * kEventRecordSize, events[i]);
        lastTerminator_ = static_cast<uint16_t>(offset_ + kept * kEventRecordSize);
        offset_ = lastTerminator_ + kEventRecordSize; // terminator bytes are already zero
        return placement;
    }

    std::size_t dropped() const { return dropped_; }

private:
    void writeEvent(std::size_t at, const CMacroEvent& e) {
        w_.u8(at, e.type);
        w_.u16(at + 1, protocol::virtualKeyToUsage(static_cast<uint16_t>(e.code)));
        w_.u8(at + 3, e.flag);
        w_.u24(at + 4, static_cast<uint32_t>(e.delay));
    }

    ImageWriter& w_;
    std::size_t offset_ = off::kMacroArea;
    uint16_t lastTerminator_ = off::kMacroArea;
    std::size_t dropped_ = 0;
};

std::span<const CMacroEvent> macroEventsFor(const ProfileData& p, const ButtonAssignment& button) {
    if (button.buttonIndex >= kButtonCount)
        return {};
    const MacroData& macro = p.macros[button.buttonIndex];
    if (macro.macroId != button.param)
        return {};
    return std::span(macro.events).first(std::min(macro.events.size(), kMaxMacroEvents));
}

void writeButtons(ImageWriter& w, const ProfileData& p, MacroAreaWriter& macros) {
    for (std::size_t i = 0; i < kImageButtonCount; ++i) {
        const ButtonAssignment& button = p.buttons[i];
        const std::size_t at = off::kButtonSlots + i * kButtonSlotSize;
        ButtonKind kind = buttonKindFor(button.function);
        if (button.function == function_code::kSingleKey)
            kind.value =
                static_cast<uint8_t>(protocol::virtualKeyToUsage(static_cast<uint16_t>(button.param)));
        if (button.function == function_code::kMacro) {
            const auto placement = macros.place(macroEventsFor(p, button));
            kind.value = placement.anyRelease ? 0x00 : 0xFE;
            w.u16(at + 2, placement.offset);
            w.u16(at + 4, placement.count);
        }
        w.u8(at, kind.kind);
        w.u8(at + 1, kind.value);
        w.u8(at + 6, 0x0F);
    }
}

} // namespace

std::string toWindows1252(std::u16string_view text, std::size_t maxBytes) {
    std::string out;
    for (std::size_t i = 0; i < text.size() && out.size() < maxBytes && text[i] != 0; ++i) {
        const char16_t c = text[i];
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1]))
            ++i; // one character outside the code page, one '?'
        out.push_back(toCp1252Byte(c));
    }
    return out;
}

DeviceImage buildDeviceImage(const ProfileData& p) {
    DeviceImage image;
    ImageWriter w(image.bytes);
    w.u8(off::kSlotIndex, p.slotIndex);
    const std::string name = toWindows1252(p.name, protocol::kNameBytes);
    std::copy(name.begin(), name.end(), image.bytes.begin() + off::kName);
    w.u32(off::kImageSize, static_cast<uint32_t>(kProfileImageSize));
    w.u8(off::kReportInterval, static_cast<uint8_t>(p.reportInterval));
    w.u8(off::kEnabled, static_cast<uint8_t>(p.enabled));
    writeLighting(w, p);
    writeSensor(w, p);
    MacroAreaWriter macros(w);
    writeButtons(w, p, macros);
    image.droppedEvents = macros.dropped();
    return image;
}

} // namespace talwyn::device
