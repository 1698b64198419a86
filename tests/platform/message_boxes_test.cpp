#include "platform/message_boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

namespace talwyn::platform {
namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool onUiThread = false;
};

// Watches for the next modal message box, notes what it shows, runs
// `whileOpen` and presses OK.
void answerNextBox(SeenBox& seen, std::function<void()> whileOpen = {}) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, &seen, whileOpen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                box->thread() == QCoreApplication::instance()->thread()};
        if (whileOpen) {
            whileOpen();
        }
        box->button(QMessageBox::Ok)->click();
    });
    timer->start(10);
}

void expectWarning(const SeenBox& seen, const QString& text) {
    EXPECT_EQ(seen.title, QStringLiteral("ORVANE"));
    EXPECT_EQ(seen.text, text);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_TRUE(seen.onUiThread);
}

TEST(QtMessageBoxes, ShowsWarningTitledOrvaneUntilClosed) {
    SeenBox seen;
    answerNextBox(seen);
    QtMessageBoxes boxes;
    boxes.warn(QStringLiteral("Talwyn PRO mouse not found !"));
    expectWarning(seen, QStringLiteral("Talwyn PRO mouse not found !"));
}

TEST(QtMessageBoxes, WorkerWaitsWhileUiThreadShowsTheBox) {
    SeenBox seen;
    std::atomic<bool> returned = false;
    bool returnedWhileOpen = true;
    answerNextBox(seen, [&] { returnedWhileOpen = returned.load(); });
    QtMessageBoxes boxes;
    std::thread worker([&] {
        boxes.warn(QStringLiteral("set hook failed."));
        returned = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return returned.load(); }, 5000));
    worker.join();
    EXPECT_FALSE(returnedWhileOpen);
    expectWarning(seen, QStringLiteral("set hook failed."));
}

} // namespace
} // namespace talwyn::platform
