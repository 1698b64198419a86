#pragma once
// Dragging a frameless window by its background: the window manager moves
// it where it can; without one the window follows the pointer itself.

#include <QPoint>
#include <QRect>

#include <optional>

class QMouseEvent;
class QWidget;

namespace talwyn::app {

class WindowDrag {
public:
    // A press inside `exclusion` (window coordinates) never starts a drag.
    WindowDrag(QWidget& window, QRect exclusion) : window_(window), exclusion_(exclusion) {}

    void press(const QMouseEvent& event);
    void move(const QMouseEvent& event);
    void release(const QMouseEvent& event);

private:
    QWidget& window_;
    QRect exclusion_;
    std::optional<QPoint> offset_;
};

} // namespace talwyn::app
