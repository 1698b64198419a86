// Key-code tables, button entries, event blocks and profile-block decoding:
// the pure translations between host records and the mouse's bytes.

#include "devlib/button_encoding.h"
#include "devlib/command_channel.h"
#include "devlib/profile_block.h"
#include "protocol/key_usage.h"

#include <gtest/gtest.h>

#include <vector>

namespace talwyn::devlib {
namespace {

std::vector<uint8_t> bytesOf(std::span<const uint8_t> bytes, std::size_t n) {
    return {bytes.begin(), bytes.begin() + n};
}

TEST(DevlibKeyUsage, MapsTheTableBothWaysAndPassesOthersThrough) {
    struct Case {
        uint16_t key;
        uint16_t usage;
    };
    for (const Case& c : std::vector<Case>{{0x41, 0x04},
                                           {0x5A, 0x1D},
                                           {0x31, 0x1E},
                                           {0x30, 0x27},
                                           {0x0D, 0x28},
                                           {0x70, 0x3A},
                                           {0x7B, 0x45},
                                           {0x61, 0x59},
                                           {0x60, 0x62},
                                           {0x5B, 0xE3},
                                           {0xA5, 0xE6},
                                           {0xAF, 0x80},
                                           {0xDE, 0x34},
                                           {0x13, 0x48}}) {
        EXPECT_EQ(protocol::virtualKeyToUsage(c.key), c.usage) << std::hex << c.key;
        EXPECT_EQ(protocol::usageToVirtualKey(c.usage), c.key) << std::hex << c.usage;
    }
    // Cancel shares Pause's usage and reads back as Pause.
    EXPECT_EQ(protocol::virtualKeyToUsage(0x03), 0x48);
    EXPECT_EQ(protocol::usageToVirtualKey(protocol::virtualKeyToUsage(0x03)), 0x13);
    EXPECT_EQ(protocol::virtualKeyToUsage(0x01), 0x01);
    EXPECT_EQ(protocol::usageToVirtualKey(0x3B0), 0x3B0);
}

TEST(DevlibHexDigitsAsDecimal, StopsAtTheFirstLetter) {
    EXPECT_EQ(protocol::versionAsDecimal(0x0210), 210);
    EXPECT_EQ(protocol::versionAsDecimal(0x0105), 105);
    EXPECT_EQ(protocol::versionAsDecimal(0x01A5), 1);
    EXPECT_EQ(protocol::versionAsDecimal(0x00A0), 0);
    EXPECT_EQ(protocol::versionAsDecimal(0x9999), 9999);
}

ButtonSettings button(int32_t type, uint8_t sub, uint16_t value = 0) {
    ButtonSettings s{};
    s.button = 2;
    s.functionType = type;
    s.sub = sub;
    s.value = value;
    return s;
}

TEST(DevlibButtonEncoding, EntriesFollowTheFunctionTypeTable) {
    struct Case {
        const char* name;
        ButtonSettings settings;
        std::vector<uint8_t> entry;
        bool hasData;
    };
    const std::vector<Case> cases{
        {"left click", button(16, 0x01), {0x00, 0x01, 0, 0, 0, 0, 0x0F}, false},
        {"type 17", button(17, 0x04), {0x01, 0x04, 0, 0, 0, 0, 0x0F}, false},
        {"key F1", button(18, 0x00, 0x70), {0x02, 0x00, 0x3A, 0, 0, 0, 0x0F}, false},
        {"type 20 sub 1", button(20, 1), {0x08, 0xF3, 0, 0, 0, 0, 0x0F}, false},
        {"type 20 sub 9", button(20, 9), {0x08, 0x01, 0, 0, 0, 0, 0x0F}, false},
        {"type 21 sub 0", button(21, 0), {0x09, 0xF1, 0, 0, 0, 0, 0x0F}, false},
        {"type 21 sub 2 (resolution)",
         button(21, 2, 0x0640),
         {0x0C, 0x01, 0x40, 0x06, 0x40, 0x06, 0x0F},
         false},
        {"type 21 sub 5", button(21, 5), {0x09, 0x01, 0, 0, 0, 0, 0x0F}, false},
        {"type 22", button(22, 7), {0x21, 0x01, 0, 0, 0, 0, 0x0F}, false},
        {"type 23", button(23, 7), {0x22, 0x01, 0, 0, 0, 0, 0x0F}, false},
        {"media play", button(24, 0), {0x20, 0xCD, 0, 0, 0, 0, 0x0F}, false},
        {"media mute", button(24, 6), {0x20, 0xE2, 0, 0, 0, 0, 0x0F}, false},
        {"media sub 7", button(24, 7), {0x20, 0x01, 0x83, 0x01, 0, 0, 0x0F}, false},
        {"media sub 8", button(24, 8), {0x20, 0x01, 0, 0, 0, 0, 0x0F}, false},
        {"shortcut Win+L", button(25, 2), {0x18, 0x01, 0x02, 0, 0x04, 0, 0x0F}, true},
        {"shortcut sub 9", button(25, 9), {0x18, 0x01, 0x00, 0, 0x00, 0, 0x0F}, true},
        {"disabled", button(255, 3), {0xFF, 0x01, 0, 0, 0, 0, 0x0F}, false},
        {"unknown type", button(99, 3), {0x00, 0x01, 0, 0, 0, 0, 0x0F}, false},
    };
    for (const Case& c : cases) {
        const EncodedButton encoded = encodeButton(c.settings);
        const auto entry = encoded.entry.bytes();
        EXPECT_EQ(std::vector<uint8_t>(entry.begin(), entry.end()), c.entry) << c.name;
        EXPECT_EQ(encoded.data.has_value(), c.hasData) << c.name;
    }
}

TEST(DevlibButtonEncoding, MacroBlockHoldsTheEventsThenATerminator) {
    ButtonSettings macro = button(19, 0);
    macro.macroByte = 0x05;
    macro.eventCount = 3;
    macro.events[0] = {0x12, 0, 0x41, 0, {}, 20};
    macro.events[1] = {0x12, 0, 0x41, 1, {}, 0};
    macro.events[2] = {0x10, 0, 0x01, 0, {}, 300};
    macro.events[3] = {0x12, 0, 0x42, 0, {}, 0x12345678}; // beyond eventCount: not sent
    const EncodedButton encoded = encodeButton(macro);
    const auto entry = encoded.entry.bytes();
    EXPECT_EQ(std::vector<uint8_t>(entry.begin(), entry.end()),
              (std::vector<uint8_t>{0x03, 0x01, 0x05, 0x00, 0x03, 0x00, 0x0F}));
    ASSERT_TRUE(encoded.data);
    const std::vector<uint8_t> expected{0x01, 0x04, 0x00, 0x00, 0x14, 0x00, 0x00, 0x01, 0x04, 0x00,
                                        0x01, 0x00, 0x00, 0x00, 0x10, 0x01, 0x00, 0x00, 0x2C, 0x01,
                                        0x00, 0,    0,    0,    0,    0,    0,    0,    0};
    EXPECT_EQ(bytesOf(*encoded.data, expected.size()), expected);
    EXPECT_TRUE(
        std::all_of(encoded.data->begin() + 21, encoded.data->end(), [](uint8_t b) { return b == 0; }));
}

TEST(DevlibButtonEncoding, MacroSubAndUnknownKindsAreMapped) {
    ButtonSettings macro = button(19, 2);
    macro.eventCount = 1;
    macro.events[0] = {0x33, 0, 0x41, 0, {}, 0x01020304};
    const EncodedButton encoded = encodeButton(macro);
    EXPECT_EQ(encoded.entry.sub, 0xF2);
    // Unknown kind becomes 0; only the low 24 bits of the delay travel.
    EXPECT_EQ(bytesOf(*encoded.data, 7), (std::vector<uint8_t>{0x00, 0x04, 0x00, 0x00, 0x04, 0x03, 0x02}));
}

TEST(DevlibButtonEncoding, ShortcutEventsAreKeyEventsOfKindOne) {
    const EncodedButton winL = encodeButton(button(25, 2));
    const std::vector<uint8_t> expected{0x01, 0xE3, 0x00, 0x00, 0x05, 0x00, 0x00, 0x01, 0x0F,
                                        0x00, 0x00, 0x96, 0x00, 0x00, 0x01, 0xE3, 0x00, 0x01,
                                        0x05, 0x00, 0x00, 0x01, 0x0F, 0x00, 0x01, 0x05, 0x00,
                                        0x00, 0,    0,    0,    0,    0,    0,    0};
    EXPECT_EQ(bytesOf(*winL.data, expected.size()), expected);
    EXPECT_EQ(shortcutEvents(0).size(), 6u);
    EXPECT_EQ(shortcutEvents(1).size(), 0u);
    ASSERT_EQ(shortcutEvents(4).size(), 8u);
    EXPECT_EQ(shortcutEvents(4)[7].key, 0x53);
    EXPECT_EQ(shortcutEvents(5)[6].key, 0x48);
}

TEST(DevlibEntryDecoding, InvertsTheFunctionTable) {
    struct Case {
        const char* name;
        DeviceButtonEntry entry;
        int32_t type;
        uint8_t sub;
        uint16_t value;
    };
    const std::vector<Case> cases{
        {"key A", {0x02, 0x00, 0x0004}, 18, 0x00, 0x41},
        {"macro F1", {0x03, 0xF1, 0x0005, 2}, 19, 1, 5},
        {"macro 01", {0x03, 0x01, 0x0007}, 19, 0, 7},
        {"type 20 F3", {0x08, 0xF3}, 20, 1, 0},
        {"type 21 F1", {0x09, 0xF1}, 21, 0, 0},
        {"resolution", {0x0C, 0x01, 800, 800}, 21, 2, 800},
        {"shortcut 3", {0x18, 0x01, 3}, 25, 3, 0},
        {"shortcut 1 keeps sub", {0x18, 0x07, 1}, 25, 7, 0},
        {"media sub 7", {0x20, 0x01, 0x0183}, 24, 7, 0},
        {"media B6", {0x20, 0xB6}, 24, 2, 0},
        {"type 22", {0x21, 0x05}, 22, 5, 0},
        {"program", {0x23, 0x00, 0x10}, 25, 6, 16},
        {"browser", {0x24, 0x00, 0x20}, 25, 1, 32},
        {"disabled", {0xFF, 0x02}, 255, 2, 0},
        {"unknown", {0x77, 0x09, 5}, 16, 1, 0},
    };
    for (const Case& c : cases) {
        const ButtonSettings s = decodeButtonEntry(c.entry, 3);
        EXPECT_EQ(s.button, 3) << c.name;
        EXPECT_EQ(s.functionType, c.type) << c.name;
        EXPECT_EQ(s.sub, c.sub) << c.name;
        EXPECT_EQ(s.value, c.value) << c.name;
        EXPECT_EQ(s.eventCount, c.entry.value2) << c.name;
    }
}

TEST(DevlibEntryDecoding, EventCountIsValueTwoCutToTheRecordOnlyForMacros) {
    struct Case {
        const char* name;
        DeviceButtonEntry entry;
        uint16_t eventCount;
    };
    const Case cases[] = {
        {"macro over the record", {0x03, 0x01, 0, 500}, TALWYN_MAX_BUTTON_EVENTS},
        {"macro that fits", {0x03, 0x01, 0, 140}, 140},
        {"resolution", {0x0C, 0x01, 800, 800}, 800},
        {"key", {0x02, 0x00, 0x04, 0xFFFF}, 0xFFFF},
        {"shortcut", {0x18, 0x01, 2, 141}, 141},
    };
    for (const Case& c : cases)
        EXPECT_EQ(decodeButtonEntry(c.entry, 1).eventCount, c.eventCount) << c.name;
}

TEST(DevlibProfileBlockDecoding, NormalisesOutOfRangeBytes) {
    struct Case {
        std::size_t offset;
        uint8_t value;
        uint32_t ProfileSettings::*field;
        uint32_t expected;
    };
    const std::vector<Case> cases{
        {1, 4, &ProfileSettings::pollingRate, 250},   {1, 8, &ProfileSettings::pollingRate, 125},
        {1, 2, &ProfileSettings::pollingRate, 500},   {1, 3, &ProfileSettings::pollingRate, 1000},
        {3, 1, &ProfileSettings::angleSnapping, 1},   {3, 2, &ProfileSettings::angleSnapping, 0},
        {4, 1, &ProfileSettings::liftOffOption, 1},   {4, 5, &ProfileSettings::liftOffOption, 0},
        {31, 15, &ProfileSettings::lightingMode, 15}, {31, 3, &ProfileSettings::lightingMode, 1},
        {56, 75, &ProfileSettings::brightness, 75},   {56, 60, &ProfileSettings::brightness, 100},
        {57, 1, &ProfileSettings::lightingFlag, 1},   {57, 2, &ProfileSettings::lightingFlag, 0},
        {58, 2, &ProfileSettings::lightingStep, 2},   {58, 7, &ProfileSettings::lightingStep, 1},
    };
    for (const Case& c : cases) {
        protocol::DataBlock block{};
        block[c.offset] = c.value;
        ProfileSettings settings{};
        decodeProfileBlock(block, settings);
        EXPECT_EQ(settings.*c.field, c.expected) << "byte " << c.offset << " = " << int(c.value);
    }
}

TEST(DevlibProfileBlockDecoding, CopiesResolutionsColoursAndButtons) {
    protocol::DataBlock block{};
    block[0] = 9; // out of 2..6
    block[2] = 6;
    block[5] = 2;
    block[6] = 4;
    block[7] = 0x90;
    block[8] = 0x01;
    block[25] = 0x40;
    block[26] = 0x1F;
    for (std::size_t i = 0; i < 24; ++i)
        block[32 + i] = static_cast<uint8_t>(i + 1);
    const std::vector<uint8_t> keyA{0x02, 0x00, 0x04, 0x00, 0x00, 0x00, 0x0F};
    std::copy(keyA.begin(), keyA.end(), block.begin() + 65);
    const std::vector<uint8_t> program{0x23, 0x00, 0x10, 0x00, 0x00, 0x00, 0x0F};
    std::copy(program.begin(), program.end(), block.begin() + 65 + 7 * 5);
    ProfileSettings s{};
    decodeProfileBlock(block, s);
    EXPECT_EQ(s.profileNumber, 1);
    EXPECT_EQ(s.responseTime, 6);
    EXPECT_EQ(s.dpiSettings.first, 2);
    EXPECT_EQ(s.dpiSettings.second, 4);
    EXPECT_EQ(s.dpiSettings.values[0], 400);
    EXPECT_EQ(s.dpiSettings.values[9], 8000);
    EXPECT_EQ(s.colors.bytes[0], 1);
    EXPECT_EQ(s.colors.bytes[23], 24);
    EXPECT_EQ(s.buttonSettings[0].functionType, 18);
    EXPECT_EQ(s.buttonSettings[0].value, 0x41);
    EXPECT_EQ(s.buttonSettings[5].button, 6);
    EXPECT_EQ(s.buttonSettings[5].functionType, 25);
    EXPECT_EQ(s.buttonSettings[5].sub, 6);
    EXPECT_EQ(s.buttonSettings[5].value, 16);
}

TEST(DevlibMacroEventDecoding, ReadsSevenByteEventsUpToTheCount) {
    protocol::DataBlock block{};
    const std::vector<uint8_t> events{0x01, 0x04, 0x00, 0x00, 0x14, 0x00, 0x00, 0x01, 0x04, 0x00, 0x01,
                                      0x00, 0x00, 0x00, 0x55, 0x3A, 0x00, 0x00, 0x01, 0x02, 0x03};
    std::copy(events.begin(), events.end(), block.begin());
    ButtonSettings s = decodeButtonEntry({0x03, 0xF1, 5, 2}, 1);
    decodeMacroEvents(block, s);
    EXPECT_EQ(s.events[0].kind, 0x12);
    EXPECT_EQ(s.events[0].key, 0x41);
    EXPECT_EQ(s.events[0].release, 0);
    EXPECT_EQ(s.events[0].delay, 20u);
    EXPECT_EQ(s.events[1].release, 1);
    EXPECT_EQ(s.events[1].delay, 0u);
    EXPECT_EQ(s.events[2].kind, 0) << "beyond the count nothing is decoded";
    s.eventCount = 3;
    decodeMacroEvents(block, s);
    EXPECT_EQ(s.events[2].kind, 0) << "unknown kind";
    EXPECT_EQ(s.events[2].key, 0x70);
    EXPECT_EQ(s.events[2].delay, 0x030201u);
}

} // namespace
} // namespace talwyn::devlib
