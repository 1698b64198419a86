#pragma once
// Shared pieces of the control tests: a parent that records the commands it
// receives, synthetic pointer input, a paint counter and a settable clock.

#include "controls/framework.h"
#include "controls/scroll_progress.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace talwyn::controls::testing {

using Command = std::pair<ControlId, CommandValue>;

class RecordingParent : public QWidget, public CommandReceiver {
public:
    RecordingParent() { resize(600, 400); }
    void onCommand(ControlId first, CommandValue second) override {
        commands.emplace_back(first, second);
        if (onReceive) {
            onReceive(first, second);
        }
    }
    std::vector<Command> commands;
    std::function<void(ControlId, CommandValue)> onReceive;
};

// Sends one pointer event straight to `widget` at a client position.
inline void mouse(QWidget& widget, QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::LeftButton,
                  Qt::MouseButtons held = Qt::NoButton) {
    const QPointF local(pos);
    const QPointF global(widget.mapToGlobal(pos));
    QMouseEvent event(type, local, local, global, button, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

inline void moveTo(QWidget& widget, QPoint pos, Qt::MouseButtons held = Qt::NoButton) {
    mouse(widget, QEvent::MouseMove, pos, Qt::NoButton, held);
}
inline void press(QWidget& widget, QPoint pos) {
    mouse(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
}
inline void release(QWidget& widget, QPoint pos) {
    mouse(widget, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}
inline void click(QWidget& widget, QPoint pos) {
    moveTo(widget, pos);
    press(widget, pos);
    release(widget, pos);
}

// Pointer input through the window system, the way a person's pointer
// arrives: the window finds the widget under the point itself.
class Pointer {
public:
    static void move(QWidget& widget, QPoint pos) {
        QTest::mouseMove(windowOf(widget), inWindow(widget, pos));
    }
    static void press(QWidget& widget, QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
        move(widget, pos);
        QTest::mousePress(windowOf(widget), button, {}, inWindow(widget, pos));
    }
    static void release(QWidget& widget, QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseRelease(windowOf(widget), button, {}, inWindow(widget, pos));
    }
    static void click(QWidget& widget, QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
        press(widget, pos, button);
        release(widget, pos, button);
    }

private:
    static QWindow* windowOf(QWidget& widget) { return widget.window()->windowHandle(); }
    static QPoint inWindow(QWidget& widget, QPoint pos) { return widget.mapTo(widget.window(), pos); }
};

// Names a parameterised case by the `label` of its table row.
template <typename Case> std::string caseLabel(const ::testing::TestParamInfo<Case>& param) {
    return param.param.label;
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++count;
        }
        return false;
    }
};

class FakeClock : public TickClock {
public:
    uint32_t now() const override { return ticks; }
    uint32_t ticks = 100000;
};

inline QImage solidImage(QSize size, QColor colour, QImage::Format format = QImage::Format_ARGB32) {
    QImage image(size, format);
    image.fill(colour);
    return image;
}

// Plain pictures for a vertical scroll control `height` pixels high: 18
// pixels wide, end buttons 18 high, a thumb 16 high.
inline ScrollImages plainScrollImages(int height) {
    return {solidImage({18, height}, Qt::darkGray), solidImage({18, 16}, Qt::gray),
            solidImage({18, 16}, Qt::white),        solidImage({18, 18}, Qt::gray),
            solidImage({18, 18}, Qt::white),        solidImage({18, 18}, Qt::gray),
            solidImage({18, 18}, Qt::white)};
}

} // namespace talwyn::controls::testing
