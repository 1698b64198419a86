#pragma once
// The watch that lets an open menu chain close on a press outside it. While
// installed it posts every pointer button message (never moves or wheel turns)
// to its target menu as message kMenuMouse (first: the message, second: the
// packed screen position); the menu decides whether the press was outside.
// At most one watch exists: menus install it when a chain opens, retarget it
// as submenus open and close, and the top of the chain removes it.

#include "controls/framework.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>
#include <memory>

namespace talwyn::controls {

// Pointer button messages, numbered as the desktop's mouse messages so a
// platform hook can pass them through unchanged.
enum class PointerMessage : int64_t {
    LeftDown = 0x0201,
    LeftUp = 0x0202,
    LeftDoubleClick = 0x0203,
    RightDown = 0x0204,
    RightUp = 0x0205,
    RightDoubleClick = 0x0206,
    MiddleDown = 0x0207,
    MiddleUp = 0x0208,
    MiddleDoubleClick = 0x0209,
    OtherDown = 0x020B,
    OtherUp = 0x020C,
    OtherDoubleClick = 0x020D,
};

int64_t packScreenPoint(QPoint point);
QPoint unpackScreenPoint(int64_t packed);

// A desktop-wide source of pointer presses that the platform layer may offer
// (it also sees presses on other programs' windows). Alive means hooked. It
// must deliver on the user-interface thread.
class SystemPressSource {
public:
    virtual ~SystemPressSource() = default;
};
using PressSink = std::function<void(PointerMessage, QPoint screenPos)>;
using SystemPressSourceFactory = std::function<std::unique_ptr<SystemPressSource>(PressSink)>;

class OpenMenuClickWatch {
public:
    static OpenMenuClickWatch& instance();
    ~OpenMenuClickWatch();

    // Installs the watch unless it is installed; `target` receives its messages.
    void install(QObject* target);
    // Makes `target` receive the messages; never installs.
    void retarget(QObject* target);
    void remove();

    bool installed() const;
    QObject* target() const { return target_; }

    // Adds a desktop-wide source to every later installation.
    void setSystemSourceFactory(SystemPressSourceFactory factory);

    // Watches alive in the process (0 or 1 when all is well).
    static int liveWatchCount();

private:
    OpenMenuClickWatch() = default;
    void deliver(PointerMessage message, QPoint screenPos);

    class ApplicationFilter;
    std::unique_ptr<ApplicationFilter> filter_;
    std::unique_ptr<SystemPressSource> systemSource_;
    SystemPressSourceFactory systemFactory_;
    QPointer<QObject> target_;
};

} // namespace talwyn::controls
