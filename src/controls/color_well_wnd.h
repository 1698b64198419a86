#pragma once
// The swatch that holds the picked colour: it copies its selector's colour on
// every change and tells its owner that a new colour was picked.

#include "color/color_math.h"
#include "controls/color_picker.h"

#include <QPointer>

namespace talwyn::controls {

class HxColorSelectorWnd;

// The window that wants to know when the well holds a newly picked colour.
class PickedColorOwner {
public:
    virtual ~PickedColorOwner() = default;
    virtual void colorPicked() = 0;
};

class HxColorWellWnd : public PickerWindow {
    Q_OBJECT
public:
    // Created hidden at `rect` with control ID 1107.
    HxColorWellWnd(QWidget* parent, const QRect& rect, PickedColorOwner* owner,
                   ControlId id = picker::kWellId);

    void setSource(HxColorSelectorWnd* source);
    color::ColorValue color() const { return color_; }

    int onPickerChanged(const PickerNotifyInfo& info) override;

protected:
    void draw(QImage& image) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    color::ColorValue color_ = 0;
    QPointer<HxColorSelectorWnd> source_;
    PickedColorOwner* owner_;
};

} // namespace talwyn::controls
