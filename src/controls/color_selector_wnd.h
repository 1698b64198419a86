#pragma once
// The colour field: two colour components vary across and up it, the third (z)
// comes from the slider. Picks by pointer or keys and tells the slider, the
// well and the parent, in that order, about every change.

#include "color/color_math.h"
#include "controls/color_picker.h"
#include "controls/value_math.h"

#include <QPointer>

namespace talwyn::controls {

class HxColorSliderWnd;
class HxColorWellWnd;

class HxColorSelectorWnd : public PickerWindow {
    Q_OBJECT
public:
    // Created at `rect` with control ID 1112 in mode 0, all components 0.
    HxColorSelectorWnd(QWidget* parent, const QRect& rect, ControlId id = picker::kSelectorId);

    void setSlider(HxColorSliderWnd* slider);
    void setWell(HxColorWellWnd* well);

    // A new mode (kReversed ignored) resets the components to 0.
    void SetMode(int mode);
    // The colour at the current components; black for a negative saturation
    // or a colour the conversion rejects.
    color::ColorValue GetColor() const;
    // Moves to `color` at the field's resolution; notifies only when a
    // component changes.
    void SetColor(color::ColorValue color);
    // Tells slider, well and parent (in that order); the parent hears
    // (control ID, colour value) through its command channel. Returns 0 once
    // the parent is told, -1 without a control ID or a parent.
    virtual int NotifyChange(uint32_t value);

    int onPickerChanged(const PickerNotifyInfo& info) override;

    int mode() const { return mode_; }
    int z() const { return z_; }
    int x() const { return x_; }
    int y() const { return y_; }
    int xMax() const { return xMax_; }
    int yMax() const { return yMax_; }
    // The colour of the last notification.
    color::ColorValue lastColor() const { return lastColor_; }
    bool dragging() const { return dragging_; }
    // Client rectangle inset by 3; right and bottom exclusive.
    Box fieldRect() const;

protected:
    void draw(QImage& image) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Box frameRect() const;
    void pickAt(QPoint point);
    void moveTo(int x, int y);
    void changed();
    color::ColorValue colorAt(int z, int x, int y) const;
    void drawField(QImage& image) const;
    void drawMarker(QImage& image) const;

    int mode_ = picker::kModeHue;
    int z_ = -1;
    int x_ = -1;
    int y_ = -1;
    int xMax_ = -1;
    int yMax_ = -1;
    bool dragging_ = false;
    // The button that started the drag; its release ends it.
    Qt::MouseButton dragButton_ = Qt::NoButton;
    color::ColorValue lastColor_ = 0;
    QPointer<HxColorSliderWnd> slider_;
    QPointer<HxColorWellWnd> well_;
};

} // namespace talwyn::controls
