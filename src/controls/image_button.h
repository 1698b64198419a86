#pragma once
// The owner-drawn image button every skinned button builds on: four state
// images, hover tracking, press and release looks, and the rule that picks the
// image to draw. The system button behaviour (clicked) is kept.

#include "controls/framework.h"
#include "controls/hover_tracker.h"

#include <QAbstractButton>
#include <QImage>
#include <QPointer>

namespace talwyn::controls {

enum class VisualState : int { Normal = 0, Over = 1, Down = 2, Disabled = 3 };

struct ButtonImages {
    QImage normal;
    QImage over;
    QImage down;
    QImage disable;
};

enum class ImageSlot { None, Normal, Over, Down, Disable };

struct ImageChoice {
    bool disabled = false;
    bool selected = false; // checked for a check box; the pressed look of a drop-down button
    VisualState state = VisualState::Normal;
    bool hasNormal = false;
    bool hasOver = false;
    bool hasDown = false;
    bool hasDisable = false;
};

// First rule that applies: disabled with a disabled image; selected with a
// down image; pressed with a down image; normal; over; else nothing.
ImageSlot chooseButtonImage(const ImageChoice& choice);

class CVexImageButton : public QAbstractButton, public ControlIdentity {
    Q_OBJECT
public:
    explicit CVexImageButton(QWidget* parent = nullptr);

    // Replaces the four state images.
    void SetImages(QImage normal, QImage over, QImage down, QImage disable = {});
    const ButtonImages& images() const { return images_; }

    VisualState visualState() const { return visualState_; }
    bool isPressedFlag() const { return pressed_; }
    bool hoverTracking() const { return hover_.tracking(); }

protected:
    // The image the current state draws, or a null image.
    const QImage& currentImage() const;
    virtual bool selectedLook() const { return false; }
    // Called after the control took the pointer on entry.
    virtual void cursorEntered() {}

    void setVisualState(VisualState state);
    void setPressedFlag(bool pressed) { pressed_ = pressed; }

    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // Draws the chosen image over the whole control; buttons add their caption.
    virtual void paintButton(QPainter& painter);

private:
    void trackHover(bool inside, bool leftHeld);

    ButtonImages images_;
    VisualState visualState_ = VisualState::Normal;
    bool pressed_ = false;
    HoverTracker hover_;
};

} // namespace talwyn::controls
