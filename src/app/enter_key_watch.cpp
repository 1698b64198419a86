#include "app/enter_key_watch.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace talwyn::app {

EnterKeyWatch::EnterKeyWatch(QWidget& area, std::function<void()> beforeEnter)
    : QObject(&area), area_(area), beforeEnter_(std::move(beforeEnter)) {
    qApp->installEventFilter(this);
}

bool EnterKeyWatch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) {
        return false;
    }
    // A key that travels up from an unhandling child is offered again to each parent: only its
    // first receiver, the focused control, counts.
    auto* receiver = qobject_cast<QWidget*>(watched);
    if (receiver != nullptr && receiver == QApplication::focusWidget() &&
        (receiver == &area_ || area_.isAncestorOf(receiver))) {
        beforeEnter_();
    }
    return false;
}

} // namespace talwyn::app
