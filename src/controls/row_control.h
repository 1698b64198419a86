#pragma once
// The common frame of the macro list and the event editor: a self-painted
// control with a stretched background and a vertical scroll control glued to
// its right edge, as wide as the scroll control's background image.

#include "controls/buffered_control.h"
#include "controls/framework.h"
#include "controls/scroll_progress.h"

#include <QImage>

namespace talwyn::controls {

class RowControl : public BufferedControl, public CommandReceiver {
    Q_OBJECT
public:
    void SetBackground(QImage image);
    // Skins the scroll control and sizes it to its background image.
    void setScrollImages(ScrollImages images);
    CVexScrollCtrl& scrollControl() { return scroll_; }

protected:
    explicit RowControl(QWidget* parent);
    const QImage& background() const { return background_; }
    void resizeEvent(QResizeEvent* event) override;

private:
    void glueScrollControl();

    QImage background_;
    CVexScrollCtrl scroll_;
};

} // namespace talwyn::controls
