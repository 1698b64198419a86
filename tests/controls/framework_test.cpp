#include "controls/buttons.h"
#include "controls/edits.h"
#include "controls/framework.h"
#include "controls/image_dialog.h"
#include "controls/open_menu_click_watch.h"
#include "controls/scroll_progress.h"
#include "controls/sliders.h"
#include "controls/statics.h"
#include "widget_support.h"

#include <QApplication>
#include <QTest>
#include <QTimerEvent>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace talwyn::controls {
namespace {

class MessageSink : public QObject {
public:
    std::vector<std::tuple<uint32_t, int64_t, int64_t>> received;
    std::vector<int> fired;
    NumberedTimers timers{this};

protected:
    bool event(QEvent* e) override {
        if (e->type() == PostedMessage::eventType()) {
            const auto* m = static_cast<PostedMessage*>(e);
            received.emplace_back(m->message(), m->first(), m->second());
            return true;
        }
        return QObject::event(e);
    }
    void timerEvent(QTimerEvent* e) override {
        const int number = timers.numberOf(e->timerId());
        fired.push_back(number);
        timers.stop(number);
    }
};

TEST(Framework, PostedMessagesArriveLaterAndInOrder) {
    MessageSink sink;
    postMessage(&sink, command::kShowWindow, 1, 2);
    postMessage(&sink, command::kMenuMouse, 3, 4);
    EXPECT_TRUE(sink.received.empty());
    QCoreApplication::sendPostedEvents(&sink);
    using M = std::tuple<uint32_t, int64_t, int64_t>;
    EXPECT_EQ(sink.received, (std::vector<M>{{2028, 1, 2}, {1192, 3, 4}}));
}

TEST(Framework, NumberedTimersKeepTheirNumbers) {
    MessageSink sink;
    sink.timers.start(1, std::chrono::milliseconds(5));
    sink.timers.start(0, std::chrono::milliseconds(1));
    sink.timers.start(0, std::chrono::milliseconds(1)); // restarting keeps one timer 0
    EXPECT_TRUE(sink.timers.isActive(0));
    EXPECT_EQ(sink.timers.numberOf(-5), -1);
    EXPECT_TRUE(QTest::qWaitFor([&sink] { return sink.fired.size() == 2; }, 2000));
    EXPECT_EQ(sink.fired, (std::vector<int>{0, 1}));
    EXPECT_FALSE(sink.timers.isActive(1));
}

TEST(Framework, ScreenPointsSurviveTheMessage) {
    for (QPoint p : {QPoint(0, 0), QPoint(-1920, 35), QPoint(2559, -20), QPoint(-7, -9)}) {
        EXPECT_EQ(unpackScreenPoint(packScreenPoint(p)), p);
    }
}

class FakeDesktopWatch : public SystemPressSource {
public:
    explicit FakeDesktopWatch(int& alive) : alive_(alive) { ++alive_; }
    ~FakeDesktopWatch() override { --alive_; }

private:
    int& alive_;
};

TEST(OutsideWatch, DesktopSourceLivesExactlyAsLongAsTheWatch) {
    auto& watch = OpenMenuClickWatch::instance();
    int alive = 0;
    PressSink sink;
    watch.setSystemSourceFactory([&](PressSink deliver) {
        sink = std::move(deliver);
        return std::make_unique<FakeDesktopWatch>(alive);
    });
    MessageSink first;
    MessageSink second;
    watch.retarget(&first);
    EXPECT_FALSE(watch.installed());
    watch.install(&first);
    watch.install(&second); // already installed: only the target changes
    EXPECT_EQ(alive, 1);
    EXPECT_EQ(OpenMenuClickWatch::liveWatchCount(), 1);

    sink(PointerMessage::LeftDown, QPoint(-30, 40));
    QCoreApplication::sendPostedEvents();
    using M = std::tuple<uint32_t, int64_t, int64_t>;
    EXPECT_TRUE(first.received.empty());
    EXPECT_EQ(second.received, (std::vector<M>{{command::kMenuMouse, 0x0201, packScreenPoint({-30, 40})}}));

    watch.remove();
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(OpenMenuClickWatch::liveWatchCount(), 0);
    watch.setSystemSourceFactory({});
}

TEST(OutsideWatch, PostsButtonMessagesButNeverMovesOrWheelTurns) {
    QWidget window;
    window.resize(100, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    MessageSink menu;
    auto& watch = OpenMenuClickWatch::instance();
    watch.install(&menu);
    QWindow* handle = window.windowHandle();
    QTest::mouseMove(handle, QPoint(10, 10));
    QWheelEvent wheel(QPointF(10, 10), QPointF(window.mapToGlobal(QPoint(10, 10))), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(handle, &wheel);
    QTest::mousePress(handle, Qt::RightButton, {}, QPoint(20, 30));
    QTest::mouseRelease(handle, Qt::RightButton, {}, QPoint(20, 30));
    QCoreApplication::sendPostedEvents(&menu);
    watch.remove();
    using M = std::tuple<uint32_t, int64_t, int64_t>;
    const int64_t at = packScreenPoint(window.mapToGlobal(QPoint(20, 30)));
    EXPECT_EQ(menu.received,
              (std::vector<M>{{command::kMenuMouse, 0x0204, at}, {command::kMenuMouse, 0x0205, at}}));
}

// A window that moves on presses that reach it, as the main window does.
class MovableWindow : public QWidget {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        ++presses;
        event->accept();
    }
};

TEST(ControlPresses, NeverReachTheWindowBehind) {
    struct Case {
        const char* name;
        std::function<QWidget*(QWidget*)> make;
    };
    const Case cases[] = {
        {"slider", [](QWidget* parent) { return new CVexSliderCtrl3D(parent); }},
        {"disabled-look slider",
         [](QWidget* parent) {
             auto* slider = new CVexSliderCtrl3D(parent);
             slider->setDisabledLook(true);
             return slider;
         }},
        {"vertical slider", [](QWidget* parent) { return new CVexSliderCtrlVer(parent); }},
        {"bar", [](QWidget* parent) { return new CVexProgressCtrl(parent); }},
        {"static", [](QWidget* parent) { return new CVexStatic(parent); }},
        {"number edit", [](QWidget* parent) { return new CKYTEdit(parent); }},
        {"disabled button",
         [](QWidget* parent) {
             auto* button = new CVexButton(parent);
             button->setEnabled(false);
             return button;
         }},
        {"page", [](QWidget* parent) { return new CVexImageDialog(parent); }},
    };
    for (const Case& c : cases) {
        MovableWindow window;
        window.resize(200, 100);
        QWidget* control = c.make(&window);
        control->setWindowFlags(Qt::Widget);
        control->setGeometry(10, 10, 100, 30);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        testing::press(*control, {20, 10});
        testing::release(*control, {20, 10});
        EXPECT_EQ(window.presses, 0) << c.name;
        testing::press(window, {150, 80}); // the window's own background
        EXPECT_EQ(window.presses, 1) << c.name;
    }
}

} // namespace
} // namespace talwyn::controls
