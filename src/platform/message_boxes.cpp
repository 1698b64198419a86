#include "platform/message_boxes.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>
#include <QThread>

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
    // widget is created and run by the UI thread.
    QPointer<QWidget> guardedParent(parent);
    QMetaObject::invokeMethod(
        app, [text, guardedParent] { showWarning(text, guardedParent.data()); },
        Qt::BlockingQueuedConnection);
}

} // namespace talwyn::platform
