#include "device/device_image.h"
#include "profiles/profile_set.h"
#include "protocol/key_usage.h"
#include "sim/factory_image.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace talwyn::device {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes slice(const DeviceImage& image, std::size_t at, std::size_t n) {
    return Bytes(image.bytes.begin() + at, image.bytes.begin() + at + n);
}

ProfileData withButton(int index, uint8_t function, int16_t param = 0) {
    ProfileData p;
    p.buttons[index].function = function;
    p.buttons[index].param = param;
    return p;
}

MacroData macro(int32_t id, std::vector<CMacroEvent> events) {
    return {u"m", id, std::move(events)};
}

ProfileData withMacro(int button, MacroData m) {
    ProfileData p = withButton(button, function_code::kMacro, static_cast<int16_t>(m.macroId));
    p.macros[button] = std::move(m);
    return p;
}

TEST(DeviceImage, DefaultProfileGivesTheExactImage) {
    // Every non-zero byte of a default record's image; all others must be 0.
    const std::map<std::size_t, Bytes> expected = {
        {0x01, {'p', 'r', 'o', 'f', 'i', 'l', 'e'}},
        {0x11, {0x00, 0x08, 0x00, 0x00}},
        {0x15, {1, 1}},
        {0x17, {0, 0, 0, 1, 0, 0, 0, 1}}, // colour slots A and D: no zone bit, effect byte 1
        {0x20, {100, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1}},
        {0x32, {2, 0, 0x90, 0x01, 0x90, 0x01}},
        {0x3C, {0, 0x20, 0x03, 0x20, 0x03}},
        {0x46, {1}},
        {0x51, {0, 0x40, 0x06, 0x40, 0x06, 5}},
        {0x5B, {0, 0x80, 0x0C, 0x80, 0x0C, 0, 0x38, 0x4A, 0x38, 0x4A}},
        {0x65, {0x00, 0x01, 0, 0, 0, 0, 0x0F, 0x00, 0x02, 0, 0, 0, 0, 0x0F, 0x00, 0x04, 0, 0, 0, 0, 0x0F,
                0x00, 0x10, 0, 0, 0, 0, 0x0F, 0x00, 0x08, 0, 0, 0, 0, 0x0F, 0x09, 0xF1, 0, 0, 0, 0, 0x0F}},
    };
    std::array<uint8_t, protocol::kProfileImageSize> want{};
    for (const auto& [at, bytes] : expected)
        std::copy(bytes.begin(), bytes.end(), want.begin() + at);

    const DeviceImage image = buildDeviceImage(ProfileData{});
    for (std::size_t i = 0; i < protocol::kProfileImageSize; ++i)
        ASSERT_EQ(image.bytes[i], want[i]) << "offset 0x" << std::hex << i;
    EXPECT_EQ(image.droppedEvents, 0u);
}

// The simulated mouse writes its factory images out as bytes of its own; the
// program's encoder of the same profiles must give those bytes, or one of
// the two is wrong.
TEST(DeviceImage, FactoryProfilesGiveTheSimulatedMouseFactoryImages) {
    for (int slot = 0; slot < ProfileSet::kSlotCount; ++slot) {
        ProfileData factory;
        factory.slotIndex = static_cast<uint8_t>(slot);
        factory.name = ProfileSet::defaultSlotName(slot);
        EXPECT_EQ(buildDeviceImage(factory).bytes, sim::factoryImage(static_cast<std::size_t>(slot)))
            << "slot " << slot;
    }
}

TEST(DeviceImage, ButtonSlotsByFunction) {
    struct Case {
        uint8_t function;
        int16_t param;
        Bytes slot;
    };
    const Case cases[] = {
        {0, 0, {0x00, 0x01, 0, 0, 0, 0, 0x0F}},       {4, 0, {0x00, 0x08, 0, 0, 0, 0, 0x0F}},
        {5, 0, {0x09, 0xF0, 0, 0, 0, 0, 0x0F}},       {6, 0, {0x09, 0xF2, 0, 0, 0, 0, 0x0F}},
        {8, 0, {0x08, 0xF1, 0, 0, 0, 0, 0x0F}},       {9, 0, {0x08, 0xF0, 0, 0, 0, 0, 0x0F}},
        {10, 0, {0x08, 0xF2, 0, 0, 0, 0, 0x0F}},      {11, 0, {0x01, 0x01, 0, 0, 0, 0, 0x0F}},
        {12, 0, {0x01, 0xFF, 0, 0, 0, 0, 0x0F}},      {13, 0x41, {0x02, 0x04, 0, 0, 0, 0, 0x0F}},
        {13, 0x70, {0x02, 0x3A, 0, 0, 0, 0, 0x0F}},   {13, 0x03, {0x02, 0x48, 0, 0, 0, 0, 0x0F}},
        {13, 0xA5, {0x02, 0xE6, 0, 0, 0, 0, 0x0F}},   {13, 0x07, {0x02, 0x07, 0, 0, 0, 0, 0x0F}},
        {13, 0x1234, {0x02, 0x34, 0, 0, 0, 0, 0x0F}}, {15, 0, {0xFF, 0x00, 0, 0, 0, 0, 0x0F}},
        {32, 0, {0x09, 0xF3, 0, 0, 0, 0, 0x0F}},      {20, 0, {0x00, 0x00, 0, 0, 0, 0, 0x0F}},
    };
    for (const Case& c : cases) {
        const DeviceImage image = buildDeviceImage(withButton(3, c.function, c.param));
        EXPECT_EQ(slice(image, 0x7A, 7), c.slot) << "function " << int(c.function) << " param " << c.param;
    }
}

TEST(DeviceImage, ButtonsSixToEightNeverReachTheImage) {
    ProfileData p;
    for (int i = 6; i < kButtonCount; ++i)
        p.buttons[i].function = 0;
    EXPECT_EQ(buildDeviceImage(p).bytes, buildDeviceImage(ProfileData{}).bytes);
    EXPECT_EQ(slice(buildDeviceImage(p), 0x9D, 14), Bytes(14, 0));
}

TEST(DeviceImage, KeyTableCoversEveryRange) {
    const std::pair<uint16_t, uint16_t> cases[] = {
        {0x08, 0x2A}, {0x0D, 0x28}, {0x1B, 0x29}, {0x20, 0x2C}, {0x25, 0x50}, {0x28, 0x51},   {0x30, 0x27},
        {0x31, 0x1E}, {0x39, 0x26}, {0x41, 0x04}, {0x5A, 0x1D}, {0x5B, 0xE3}, {0x5D, 0x65},   {0x60, 0x62},
        {0x61, 0x59}, {0x69, 0x61}, {0x6F, 0x54}, {0x7B, 0x45}, {0x90, 0x53}, {0xA2, 0xE0},   {0xAE, 0x81},
        {0xBA, 0x33}, {0xC0, 0x35}, {0xDE, 0x34}, {0x01, 0x01}, {0x7C, 0x7C}, {0x100, 0x100},
    };
    for (auto [key, usage] : cases)
        EXPECT_EQ(protocol::virtualKeyToUsage(key), usage) << std::hex << key;
}

TEST(DeviceImage, TwoEventMacroLayout) {
    const DeviceImage image =
        buildDeviceImage(withMacro(0, macro(7, {{1, 0x41, 0, 20}, {1, 0x41, 1, 0x012C}})));
    EXPECT_EQ(slice(image, 0x65, 7), (Bytes{0x03, 0x00, 0x20, 0x03, 0x02, 0x00, 0x0F}));
    EXPECT_EQ(slice(image, 0x320, 21), (Bytes{0x01, 0x04, 0x00, 0x00, 0x14, 0x00, 0x00, //
                                              0x01, 0x04, 0x00, 0x01, 0x2C, 0x01, 0x00, //
                                              0,    0,    0,    0,    0,    0,    0}));
}

TEST(DeviceImage, MacroMarkAndSelection) {
    // Without a release event the value byte is 0xFE; a macro whose id does
    // not match the button's param counts as empty.
    const DeviceImage pressOnly = buildDeviceImage(withMacro(1, macro(3, {{16, 1, 0, 5}})));
    EXPECT_EQ(slice(pressOnly, 0x6C, 7), (Bytes{0x03, 0xFE, 0x20, 0x03, 0x01, 0x00, 0x0F}));

    ProfileData mismatched = withMacro(1, macro(3, {{16, 1, 1, 5}}));
    mismatched.buttons[1].param = 4;
    const DeviceImage empty = buildDeviceImage(mismatched);
    EXPECT_EQ(slice(empty, 0x6C, 7), (Bytes{0x03, 0xFE, 0x20, 0x03, 0x00, 0x00, 0x0F}));
    EXPECT_EQ(slice(empty, 0x320, 7), Bytes(7, 0));

    ProfileData badIndex = withMacro(1, macro(3, {{16, 1, 1, 5}}));
    badIndex.buttons[1].buttonIndex = 200;
    EXPECT_EQ(slice(buildDeviceImage(badIndex), 0x6C, 7), (Bytes{0x03, 0xFE, 0x20, 0x03, 0x00, 0x00, 0x0F}));
}

TEST(DeviceImage, MacrosFollowEachOtherAndKeepOnly128Events) {
    ProfileData p = withMacro(0, macro(1, std::vector<CMacroEvent>(130, {1, 0x41, 1, 1})));
    p.buttons[2].function = function_code::kMacro;
    p.buttons[2].param = 9;
    p.macros[2] = macro(9, {{1, 0x42, 0, 0x123456}});
    const DeviceImage image = buildDeviceImage(p);
    EXPECT_EQ(slice(image, 0x65, 7), (Bytes{0x03, 0x00, 0x20, 0x03, 128, 0x00, 0x0F}));
    const std::size_t second = 0x320 + 7 * 129;
    EXPECT_EQ(slice(image, 0x73, 7), (Bytes{0x03, 0xFE, static_cast<uint8_t>(second),
                                            static_cast<uint8_t>(second >> 8), 1, 0, 0x0F}));
    EXPECT_EQ(slice(image, second, 14),
              (Bytes{0x01, 0x05, 0x00, 0x00, 0x56, 0x34, 0x12, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(image.droppedEvents, 0u);
}

TEST(DeviceImage, MacrosThatDoNotFitKeepWholeEventsAndTheirTerminator) {
    ProfileData p;
    for (int b = 0; b < 6; ++b) {
        p.buttons[b].function = function_code::kMacro;
        p.buttons[b].param = static_cast<int16_t>(b + 1);
        p.macros[b] = macro(b + 1, std::vector<CMacroEvent>(128, {1, 0x41, 1, 0x10}));
    }
    const DeviceImage image = buildDeviceImage(p);
    const std::size_t second = 0x320 + 7 * 129;                                    // 1703
    const std::size_t secondKept = (protocol::kProfileImageSize - second) / 7 - 1; // 48
    const std::size_t terminator = second + 7 * secondKept;                        // 2039
    auto word = [&](std::size_t at) { return image.bytes[at] | (image.bytes[at + 1] << 8); };

    EXPECT_EQ(word(0x65 + 2), 0x320);
    EXPECT_EQ(word(0x65 + 4), 128);
    EXPECT_EQ(word(0x6C + 2), static_cast<int>(second));
    EXPECT_EQ(word(0x6C + 4), static_cast<int>(secondKept));
    EXPECT_EQ(slice(image, terminator - 7, 7), (Bytes{0x01, 0x04, 0x00, 0x01, 0x10, 0x00, 0x00}));
    EXPECT_EQ(slice(image, terminator, protocol::kProfileImageSize - terminator),
              Bytes(protocol::kProfileImageSize - terminator, 0));
    for (std::size_t b = 2; b < 6; ++b) {
        const std::size_t at = 0x65 + 7 * b;
        EXPECT_EQ(word(at + 2), static_cast<int>(terminator)) << "button " << b;
        EXPECT_EQ(word(at + 4), 0) << "button " << b;
    }
    EXPECT_EQ(image.droppedEvents, (128 - secondKept) + 4 * 128);
}

TEST(DeviceImage, BrightnessScalesSlotsAAndDOnly) {
    struct Case {
        int32_t step;
        uint8_t percent;
        uint8_t channel;
    };
    const Case cases[] = {{1, 0, 0x00},  {2, 25, 0x3F},  {3, 50, 0x7F},
                          {4, 75, 0xBF}, {5, 100, 0xFF}, {9, 100, 0xFF}};
    for (const Case& c : cases) {
        ProfileData p;
        p.lightBrightness = c.step;
        p.lightZones = 0xF;
        p.lightEffect = 0x102; // only the low byte travels
        p.lightColors = {0xFFFF00, 0xFF0000, 0x0000FF, 0x00FFFF};
        const DeviceImage image = buildDeviceImage(p);
        SCOPED_TRACE(c.step);
        EXPECT_EQ(image.bytes[0x20], c.percent);
        EXPECT_EQ(slice(image, 0x17, 4), (Bytes{0x00, c.channel, c.channel, 0x02}));
        EXPECT_EQ(slice(image, 0x1B, 4), (Bytes{c.channel, c.channel, 0x00, 0x02}));
        EXPECT_EQ(slice(image, 0x21, 4), (Bytes{0x00, 0x00, 0xFF, 0x02}));
        for (std::size_t at : {0x25, 0x29, 0x2D})
            EXPECT_EQ(slice(image, at, 4), (Bytes{0xFF, 0x00, 0x00, 0x02}));
    }
}

TEST(DeviceImage, ZoneBitsSelectColourSlots) {
    ProfileData p;
    p.lightZones = 0x2 | 0x10; // slot B only
    p.lightColors = {0x112233, 0x445566, 0x778899, 0xAABBCC};
    const DeviceImage image = buildDeviceImage(p);
    EXPECT_EQ(slice(image, 0x17, 4), (Bytes{0, 0, 0, 1}));
    EXPECT_EQ(slice(image, 0x1B, 4), (Bytes{0, 0, 0, 1}));
    EXPECT_EQ(slice(image, 0x21, 4), (Bytes{0x66, 0x55, 0x44, 1}));
    EXPECT_EQ(slice(image, 0x25, 4), (Bytes{0, 0, 0, 1}));
}

TEST(DeviceImage, SensorFieldsUseXForBothAxes) {
    ProfileData p;
    p.dpi[4] = {1200, 5};
    p.dpiEntryFlag = 0x1FF;
    p.reservedB = 0x107;
    p.liftOff = 2;
    p.angleSnapOff = 1;
    p.rippleOff = 1;
    p.dpiLevelCount = 3;
    p.activeDpiLevel = 1;
    p.reportInterval = 8;
    p.enabled = 0;
    p.slotIndex = 4;
    const DeviceImage image = buildDeviceImage(p);
    EXPECT_EQ(slice(image, 0x60, 5), (Bytes{0xFF, 0xB0, 0x04, 0xB0, 0x04}));
    EXPECT_EQ(image.bytes[0x33], 0xFF);
    EXPECT_EQ((Bytes{image.bytes[0x46], image.bytes[0x47], image.bytes[0x56], image.bytes[0x57],
                     image.bytes[0x58]}),
              (Bytes{2, 1, 3, 7, 1}));
    EXPECT_EQ((Bytes{image.bytes[0x00], image.bytes[0x15], image.bytes[0x16], image.bytes[0x32]}),
              (Bytes{4, 8, 0, 1}));
}

TEST(DeviceImage, NameBecomesWindows1252CutTo15Bytes) {
    const std::pair<std::u16string, std::string> cases[] = {
        {u"profile", "profile"},
        {u"\u00dcn\u00efc\u00f8d\u00e9", "\xdcn\xef"
                                         "c\xf8"
                                         "d\xe9"},
        {u"\u20acuro\u2122", "\x80uro\x99"},
        {u"\u65e5\u672c", "??"},
        {u"a\U0001F600b", "a?b"},
        {u"\u0081\u009d", "??"},
        {u"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNO"},
        {std::u16string(u"ab\0cd", 5), "ab"},
    };
    for (const auto& [name, bytes] : cases) {
        ProfileData p;
        p.name = name;
        const DeviceImage image = buildDeviceImage(p);
        Bytes want(bytes.begin(), bytes.end());
        want.resize(16, 0);
        EXPECT_EQ(slice(image, 0x01, 16), want) << bytes;
    }
}

} // namespace
} // namespace talwyn::device
