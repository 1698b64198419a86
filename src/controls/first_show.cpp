#include "controls/first_show.h"

#include <QEvent>

namespace talwyn::controls {

namespace {

// ShowToParent too: a child shown inside a window that is not on screen (an
// off-screen render) never gets Show.
bool startsShowing(QEvent::Type type) {
    return type == QEvent::Show || type == QEvent::ShowToParent || type == QEvent::Paint;
}

// Owned by the widget it watches, so it goes with it when never shown.
class FirstShowWatch final : public QObject {
public:
    FirstShowWatch(QWidget& widget, std::function<void()> prepare)
        : QObject(&widget), prepare_(std::move(prepare)) {
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (startsShowing(event->type()) && prepare_) {
            watched->removeEventFilter(this);
            std::exchange(prepare_, {})();
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> prepare_;
};

} // namespace

void whenFirstShown(QWidget& widget, std::function<void()> prepare) {
    if (widget.isVisible()) {
        prepare();
        return;
    }
    new FirstShowWatch(widget, std::move(prepare));
}

} // namespace talwyn::controls
