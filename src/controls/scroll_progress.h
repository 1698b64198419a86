#pragma once
// The scroll bar with two end buttons and the bar display.

#include "controls/buffered_control.h"
#include "controls/hover_tracker.h"
#include "controls/image_button.h"
#include "controls/value_math.h"

namespace talwyn::controls {

struct ScrollImages {
    QImage background;
    QImage thumb;
    QImage thumbPressed;
    QImage first;
    QImage firstPressed;
    QImage second;
    QImage secondPressed;
};

class CVexScrollCtrl : public BufferedControl {
    Q_OBJECT
public:
    explicit CVexScrollCtrl(QWidget* parent = nullptr);

    // Takes the seven images and lays the bar out for the current size.
    void SetImages(ScrollImages images);
    void setRange(int32_t minimum, int32_t maximum) { range_ = {minimum, maximum}; }
    // Clamps, moves the thumb and always reports (control ID, position).
    void SetPos(int32_t position);

    int32_t position() const { return position_; }
    const ScrollLayout& layout() const { return layout_; }
    ScrollPart pressedPart() const { return pressedPart_; }

protected:
    void renderFrame(QPainter& painter) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void positionFromPoint(QPoint point);
    bool inTrack(QPoint point) const { return layout_.track.contains(point.x(), point.y()); }
    void trackHover(bool inside, bool leftHeld);

    ScrollImages images_;
    ScrollLayout layout_;
    ValueRange range_;
    int32_t position_ = 0;
    ScrollPart pressedPart_ = ScrollPart::None;
    VisualState state_ = VisualState::Normal;
    bool pressed_ = false;
    HoverTracker hover_;
};

class CVexProgressCtrl : public BufferedControl {
    Q_OBJECT
public:
    explicit CVexProgressCtrl(QWidget* parent = nullptr);

    void setImages(QImage background, QImage fill);
    void setRange(int32_t minimum, int32_t maximum);
    void setPosition(int32_t position);
    void setVertical(bool vertical);

protected:
    void renderFrame(QPainter& painter) override;

private:
    QImage background_;
    QImage fill_;
    ValueRange range_;
    int32_t position_ = 0;
    bool vertical_ = false;
};

} // namespace talwyn::controls
