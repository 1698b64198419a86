#pragma once
// The horizontal slider with one to five thumbs and the vertical slider that
// also picks the colour under its thumb. Both report values to the parent
// with (control ID, value); the arithmetic lives in value_math.h.

#include "controls/buffered_control.h"
#include "controls/hover_tracker.h"
#include "controls/image_button.h"
#include "controls/paint_support.h"
#include "controls/value_math.h"

#include <array>

namespace talwyn::controls {

// The value a multi-thumb slider reports: value in bits 0-15, thumb 1-5 in bits 16-23.
constexpr CommandValue sliderCommandValue(int32_t value, int thumb) {
    return static_cast<CommandValue>(value) + 65536 * static_cast<CommandValue>(thumb);
}

// Look and drag state shared by the sliders. Leaving the control keeps the
// look it had as the previous state; coming back with the left button held
// resumes it, so a drag that leaves and returns goes on.
class SliderPointer {
public:
    VisualState state() const { return state_; }
    bool disabled() const { return state_ == VisualState::Disabled; }
    bool dragging() const { return state_ == VisualState::Down; }
    bool pressed() const { return pressed_; }
    bool tracking() const { return hover_.tracking(); }

    void setDisabled(bool disabled);
    void press();
    // Returns whether the look changed.
    bool move(bool inside, bool leftHeld);
    void release();

private:
    VisualState state_ = VisualState::Normal;
    VisualState previous_ = VisualState::Normal;
    bool pressed_ = false;
    HoverTracker hover_;
};

class CVexSliderCtrl3D : public BufferedControl {
    Q_OBJECT
public:
    static constexpr int kMaxThumbs = 5;

    explicit CVexSliderCtrl3D(QWidget* parent = nullptr);

    // Background, thumbs 1 to 5 and the thumb of a disabled one-thumb slider.
    void SetImages(QImage background, std::array<QImage, kMaxThumbs> thumbs, QImage disabledThumb = {});
    void setThumbCount(int count);
    void setRange(int32_t minimum, int32_t maximum);
    void setStep(int32_t step) { step_ = step; }
    // Clamps (no snapping); reports and repaints unless thumb k last reported this value.
    void SetValue(int thumb, int32_t value);
    // State 3 (disabled) ignores the mouse; only the owner enters and leaves it.
    void setDisabledLook(bool disabled);

    int32_t value(int thumb) const;
    int thumbCount() const { return thumbCount_; }
    VisualState visualState() const { return pointer_.state(); }
    int activeThumb() const { return activeThumb_; }
    Box thumbRect(int thumb) const;

protected:
    void renderFrame(QPainter& painter) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    Extent thumbExtent(int thumb) const;
    void dragThumb(int x);
    bool shown(int thumb) const { return thumb >= 1 && thumb <= thumbCount_; }

    QImage background_;
    std::array<QImage, kMaxThumbs> thumbs_;
    QImage disabledThumb_;
    int thumbCount_ = 1;
    ValueRange range_;
    int32_t step_ = 1;
    std::array<int32_t, kMaxThumbs> values_{};
    std::array<int32_t, kMaxThumbs> lastReported_{};
    SliderPointer pointer_;
    int activeThumb_ = 0;
};

class CVexSliderCtrlVer : public BufferedControl {
    Q_OBJECT
public:
    static constexpr Argb kDefaultValueColor = 0xFFFFFFFF;
    static constexpr uint32_t kDefaultPickedColor = 0xFFFF00; // red in bits 0-7

    explicit CVexSliderCtrlVer(QWidget* parent = nullptr);

    void SetImages(QImage background, QImage thumb, QImage activeThumb, QImage disabledThumb);
    void setRange(int32_t minimum, int32_t maximum);
    void setStep(int32_t step) { step_ = step; }
    void setValue(int32_t value);
    void setShowValue(bool show);
    void setDisabledLook(bool disabled);

    int32_t value() const { return value_; }
    // Red in bits 0-7, green 8-15, blue 16-23.
    uint32_t pickedColor() const { return pickedColor_; }
    VisualState visualState() const { return pointer_.state(); }
    Box thumbRect() const;

protected:
    void renderFrame(QPainter& painter) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void drag(int y);

    QImage background_;
    QImage thumb_;
    QImage activeThumb_;
    QImage disabledThumb_;
    ValueRange range_;
    int32_t step_ = 1;
    int32_t value_ = 0;
    int32_t lastReported_ = 0;
    SliderPointer pointer_;
    bool showValue_ = false;
    QFont font_;
    uint32_t pickedColor_ = kDefaultPickedColor;
};

} // namespace talwyn::controls
