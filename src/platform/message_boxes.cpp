#include "platform/message_boxes.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QThread>

#include <future>
#include <memory>

namespace talwyn::platform {

namespace {

void showWarning(const QString& text, QWidget* parent) {
    QMessageBox box(QMessageBox::Warning, QString::fromUtf16(kMessageBoxCaption), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

} // namespace

void QtMessageBoxes::warn(const QString& text, QWidget* parent) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() == app->thread()) {
        showWarning(text, parent);
        return;
    }
    // A worker waits for the box like it would for a native one, but the
    // widget is created and run by the UI thread. The promise travels with
    // the call: if the call is dropped unrun, the wait ends as well.
    auto closed = std::make_shared<std::promise<void>>();
    std::future<void> done = closed->get_future();
    QMetaObject::invokeMethod(
        app,
        [text, parent, closed] {
            showWarning(text, parent);
            closed->set_value();
        },
        Qt::QueuedConnection);
    done.wait();
}

} // namespace talwyn::platform
