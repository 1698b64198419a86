#pragma once
// A self-painted control that draws each frame into an off-screen image and
// copies it to the window in one step, and never lets the system erase its
// background, so animated and dragged controls do not flicker.

#include "controls/framework.h"

#include <QImage>
#include <QWidget>

namespace talwyn::controls {

class BufferedControl : public QWidget, public ControlIdentity {
    Q_OBJECT
public:
    explicit BufferedControl(QWidget* parent = nullptr);

    // The last frame shown (drawn now when none is), as the window shows it.
    const QImage& frame();

protected:
    // Draws one frame over a buffer of the client size, filled `initialFill()` first.
    virtual void renderFrame(QPainter& painter) = 0;
    virtual QColor initialFill() const { return Qt::black; }
    void paintEvent(QPaintEvent* event) override;

private:
    void renderIntoBuffer();

    QImage buffer_;
};

} // namespace talwyn::controls
