#pragma once
// Runs a function when Enter or Return is pressed anywhere inside one window,
// before the key reaches the control that has the focus; the key itself goes
// on as usual.

#include <QObject>

#include <functional>

class QWidget;

namespace talwyn::app {

class EnterKeyWatch final : public QObject {
public:
    // Watches the keys of `area` and its children for as long as both exist.
    EnterKeyWatch(QWidget& area, std::function<void()> beforeEnter);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& area_;
    std::function<void()> beforeEnter_;
};

} // namespace talwyn::app
