#pragma once
// One on-board profile of the mouse: what its buttons do, resolution levels,
// sensor options, lighting, report rate and the pointer settings applied while
// it is current.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace talwyn {

struct CMacroEvent {
    uint8_t type = 0;
    int16_t code = 0;
    uint8_t flag = 0;
    int32_t delay = 0;

    bool operator==(const CMacroEvent&) const = default;
};

// The macro a profile carries for one button. Copying is deep: a profile
// never shares events with the macro library.
struct MacroData {
    std::u16string name;
    int32_t macroId = 0;
    std::vector<CMacroEvent> events;

    bool operator==(const MacroData&) const = default;
};

struct ButtonAssignment {
    uint8_t buttonIndex = 0;
    uint8_t function = 0;
    int16_t param = 0;
    uint8_t defaultFunction = 0;
    uint8_t spare = 0;

    bool operator==(const ButtonAssignment&) const = default;
};

namespace function_code {
inline constexpr uint8_t kSingleKey = 13;
inline constexpr uint8_t kMacro = 14;
inline constexpr uint8_t kDisabled = 15;
} // namespace function_code

struct DpiLevel {
    int16_t x = 0;
    int16_t y = 0;

    bool operator==(const DpiLevel&) const = default;
};

inline constexpr int kButtonCount = 9;
inline constexpr int kDpiLevels = 5;
inline constexpr int kLightColorCount = 4;

class ProfileData {
public:
    ProfileData();

    // Every field but filePath and macros back to its default, name and
    // slotIndex included.
    void resetToDefaults();

    // Name of the macro carried by the button of `entry`; empty for an index
    // past the last button.
    std::u16string macroNameFor(const ButtonAssignment& entry) const;

    // Stores a macro choice: without a macro the button falls back to its
    // default function; with one, a function-14 entry gets a deep copy.
    void attachMacro(const MacroData* macro, ButtonAssignment& entry);

    bool operator==(const ProfileData&) const = default;

    std::filesystem::path filePath; // native bytes, whatever their encoding
    int32_t enabled;
    std::u16string name;
    uint8_t slotIndex;
    uint16_t reservedA;
    uint16_t reportInterval;
    int16_t doubleClickSpeed;
    int16_t scrollLines;
    int32_t scrollByLine;
    int32_t scrollByPage;
    int32_t accelEnabled;
    int16_t accelLevel;
    uint8_t dpiLevelCount;
    uint8_t activeDpiLevel;
    int32_t dpiEntryFlag;
    int32_t reservedB;
    std::array<DpiLevel, kDpiLevels> dpi;
    uint8_t pointerSpeed;
    int32_t liftOff;
    int16_t surfaceQuality;
    int32_t reservedC;
    int32_t reservedD;
    uint8_t reservedE;
    uint8_t angleSnapOff;
    uint8_t rippleOff;
    int32_t lightBrightness;
    int32_t lightZones;
    int32_t lightEffect;
    std::array<uint32_t, kLightColorCount> lightColors;
    int32_t pickerColor;
    std::array<ButtonAssignment, kButtonCount> buttons;
    std::array<MacroData, kButtonCount> macros;

private:
    void assignDefaults();
};

} // namespace talwyn
