#pragma once
// The colour strip that sets the field's third component (z): picks by
// pointer or keys and tells its buddy selector, or the parent without one.

#include "color/color_math.h"
#include "controls/color_picker.h"
#include "controls/value_math.h"

#include <QPointer>

#include <vector>

namespace talwyn::controls {

class HxColorSelectorWnd;

class HxColorSliderWnd : public PickerWindow {
    Q_OBJECT
public:
    static constexpr int kStyleHorizontal = 0x8000;   // otherwise vertical
    static constexpr int kStyleReverseStrip = 0x4000; // see stripReversed()
    static constexpr int kStyleArrowBefore = 0x2000;
    static constexpr int kStyleArrowAfter = 0x1000;
    static constexpr int kDefaultStyle = 0x50017280; // vertical, both arrow marks, 0x4000
    static constexpr int kArrowSize = 6;

    // Created at `rect` with control ID 1106, the default style, in mode 1.
    HxColorSliderWnd(QWidget* parent, const QRect& rect, ControlId id = picker::kSliderId);

    void setBuddy(HxColorSelectorWnd* buddy);
    void setStyle(int style);

    // Modes above 6 are ignored; mode 6 keeps the ranges. Puts the position at
    // the start of the range (its end when reversed) and clears the other
    // components.
    void SetMode(int mode);
    // Tells the buddy, or without one the parent as (control ID, position);
    // returns the buddy's answer or 0 once the parent is told, -1 without a
    // control ID or a receiver.
    virtual int NotifyChange(int32_t position);

    int onPickerChanged(const PickerNotifyInfo& info) override;

    int mode() const { return mode_; }
    bool reversed() const { return (mode_ & picker::kReversed) != 0; }
    int style() const { return style_; }
    int32_t minPos() const { return minPos_; }
    int32_t maxPos() const { return maxPos_; }
    int32_t pos() const { return pos_; }
    int32_t lineStep() const { return lineStep_; }
    int32_t pageStep() const { return pageStep_; }
    int otherA() const { return otherA_; }
    int otherB() const { return otherB_; }
    bool dragging() const { return dragging_; }
    // The strip with its frame; right and bottom exclusive.
    Box stripRect() const;
    // The strip's pixels: stripRect inset by 2. Along the strip both ends
    // belong to it; across it the far edge is exclusive.
    Box innerRect() const;

protected:
    void draw(QImage& image) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool horizontal() const { return (style_ & kStyleHorizontal) != 0; }
    bool stripReversed() const;
    int stripLength() const;
    void dragTo(QPoint point);
    void fillStrip();
    void drawStrip(QImage& image) const;
    void drawMarks(QPainter& painter) const;

    int mode_ = 0;
    int style_ = kDefaultStyle;
    int32_t minPos_ = 0;
    int32_t maxPos_ = 0;
    int32_t pos_ = 0;
    int32_t lineStep_ = 0;
    int32_t pageStep_ = 0;
    int otherA_ = 0;
    int otherB_ = 0;
    bool dragging_ = false;
    std::vector<color::Pixel> strip_;
    QPointer<HxColorSelectorWnd> buddy_;
};

} // namespace talwyn::controls
