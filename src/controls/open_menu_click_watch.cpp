#include "controls/open_menu_click_watch.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <optional>

namespace talwyn::controls {

namespace {
int liveWatches = 0;

std::optional<PointerMessage> messageFor(QEvent::Type type, Qt::MouseButton button) {
    const auto pick = [type](PointerMessage down, PointerMessage up,
                             PointerMessage dbl) -> std::optional<PointerMessage> {
        switch (type) {
        case QEvent::MouseButtonPress:
            return down;
        case QEvent::MouseButtonRelease:
            return up;
        case QEvent::MouseButtonDblClick:
            return dbl;
        default:
            return std::nullopt;
        }
    };
    switch (button) {
    case Qt::LeftButton:
        return pick(PointerMessage::LeftDown, PointerMessage::LeftUp, PointerMessage::LeftDoubleClick);
    case Qt::RightButton:
        return pick(PointerMessage::RightDown, PointerMessage::RightUp, PointerMessage::RightDoubleClick);
    case Qt::MiddleButton:
        return pick(PointerMessage::MiddleDown, PointerMessage::MiddleUp, PointerMessage::MiddleDoubleClick);
    default:
        return pick(PointerMessage::OtherDown, PointerMessage::OtherUp, PointerMessage::OtherDoubleClick);
    }
}
} // namespace

int64_t packScreenPoint(QPoint point) {
    return static_cast<int64_t>(static_cast<uint32_t>(point.x())) |
           static_cast<int64_t>(static_cast<uint32_t>(point.y())) << 32;
}

QPoint unpackScreenPoint(int64_t packed) {
    return {static_cast<int32_t>(static_cast<uint32_t>(packed & 0xFFFFFFFF)),
            static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(packed) >> 32))};
}

// Sees every pointer button event of the program once, at its window, before
// any widget does.
class OpenMenuClickWatch::ApplicationFilter final : public QObject {
public:
    explicit ApplicationFilter(OpenMenuClickWatch& watch) : watch_(watch) {
        ++liveWatches;
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~ApplicationFilter() override { --liveWatches; }

    ApplicationFilter(const ApplicationFilter&) = delete;
    ApplicationFilter& operator=(const ApplicationFilter&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        const bool button = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                            type == QEvent::MouseButtonDblClick;
        if (button && watched->isWindowType()) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (auto message = messageFor(type, mouse->button())) {
                watch_.deliver(*message, mouse->globalPosition().toPoint());
            }
        }
        return false;
    }

private:
    OpenMenuClickWatch& watch_;
};

OpenMenuClickWatch& OpenMenuClickWatch::instance() {
    static OpenMenuClickWatch watch;
    return watch;
}

OpenMenuClickWatch::~OpenMenuClickWatch() = default;

void OpenMenuClickWatch::install(QObject* target) {
    if (!installed()) {
        filter_ = std::make_unique<ApplicationFilter>(*this);
        if (systemFactory_) {
            systemSource_ = systemFactory_([this](PointerMessage m, QPoint p) { deliver(m, p); });
        }
    }
    target_ = target;
}

void OpenMenuClickWatch::retarget(QObject* target) {
    if (installed()) {
        target_ = target;
    }
}

void OpenMenuClickWatch::remove() {
    systemSource_.reset();
    filter_.reset();
    target_ = nullptr;
}

bool OpenMenuClickWatch::installed() const {
    return filter_ != nullptr;
}

void OpenMenuClickWatch::setSystemSourceFactory(SystemPressSourceFactory factory) {
    systemFactory_ = std::move(factory);
}

int OpenMenuClickWatch::liveWatchCount() {
    return liveWatches;
}

void OpenMenuClickWatch::deliver(PointerMessage message, QPoint screenPos) {
    // Only posts: the menu handles the notice later, outside the press's own delivery.
    if (target_) {
        postMessage(target_, command::kMenuMouse, static_cast<int64_t>(message), packScreenPoint(screenPos));
    }
}

} // namespace talwyn::controls
