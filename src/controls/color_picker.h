#pragma once
// What the colour selector, slider and well share: the picking modes with the
// ranges of their three components, and the change notice they pass along.

#include "controls/framework.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <optional>

namespace talwyn::controls {

namespace picker {

// z is the component the slider sets, x runs across the field, y up it.
inline constexpr int kModeRed = 0;        // z red, x blue, y green
inline constexpr int kModeGreen = 1;      // z green, x blue, y red
inline constexpr int kModeBlue = 2;       // z blue, x red, y green
inline constexpr int kModeHue = 3;        // z hue (tenths of a degree), x saturation, y value (thousandths)
inline constexpr int kModeSaturation = 4; // z saturation, x hue, y value
inline constexpr int kModeValue = 5;      // z value, x hue, y saturation
// Added to a slider's mode: the slider runs the other way.
inline constexpr int kReversed = 0x80;

inline constexpr ControlId kSelectorId = 1112;
inline constexpr ControlId kSliderId = 1106;
inline constexpr ControlId kWellId = 1107;

struct ComponentRanges {
    int zMax = 0;
    int xMax = 0;
    int yMax = 0;
};

// The ranges of a mode, ignoring kReversed; none for a mode outside 0..5.
std::optional<ComponentRanges> rangesOf(int mode);

constexpr int withoutReversed(int mode) {
    return mode & ~kReversed;
}

// A colour value from red, green and blue bytes (low 8 bits of each kept).
constexpr uint32_t packColor(int red, int green, int blue) {
    return static_cast<uint32_t>(red & 0xFF) | static_cast<uint32_t>(green & 0xFF) << 8 |
           static_cast<uint32_t>(blue & 0xFF) << 16;
}

} // namespace picker

// The change notice (message 0x050E): sender, its control ID and the new
// value, a colour value from the selector and a position from the slider.
struct PickerNotifyInfo {
    QWidget* hwndFrom = nullptr;
    ControlId idFrom = 0;
    uint32_t value = 0;
};

// A picker window told synchronously about a peer's change; the notice is
// valid only during the call.
class PickerListener {
public:
    virtual ~PickerListener() = default;
    virtual int onPickerChanged(const PickerNotifyInfo& info) = 0;
};

// A picker window: its control ID, an off-screen image of the client size
// regenerated from scratch on every paint and copied in one block, and no
// background erasing.
class PickerWindow : public QWidget, public ControlIdentity, public PickerListener {
    Q_OBJECT
public:
    PickerWindow(QWidget* parent, const QRect& rect, ControlId id);

    // Regenerates the whole off-screen image and returns it.
    const QImage& render();

protected:
    virtual void draw(QImage& image) = 0;
    void paintEvent(QPaintEvent* event) override;
    // Tells `target` synchronously; -1 without a control ID or without a target.
    int notify(PickerListener* target, uint32_t value);
    // Tells the parent through the command channel; -1 without a control ID or a parent.
    int notifyParent(uint32_t value);

private:
    QImage image_;
};

} // namespace talwyn::controls
