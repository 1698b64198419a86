// The floor of our stack: a frameless 1024x576 Qt window that paints one
// image, prints the time from main() to its first paint, and the moment of
// that paint for a launcher that counts from the process's start, and ends.
// It stops the clock the way the program's start-up report does, after the
// paint has reached the screen, so the two figures compare.

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <iostream>

namespace {

class ImageWindow final : public QWidget {
public:
    ImageWindow(QImage image, QElapsedTimer started) : image_(std::move(image)), started_(started) {
        setWindowFlags(Qt::FramelessWindowHint);
        setFixedSize(1024, 576);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).drawImage(0, 0, image_);
        if (!reported_) {
            reported_ = true;
            QTimer::singleShot(0, this, [this] {
                const auto now = std::chrono::system_clock::now().time_since_epoch();
                std::cout << "first paint after " << started_.elapsed() << " ms (at "
                          << std::chrono::duration_cast<std::chrono::microseconds>(now).count()
                          << " us since 1970)" << std::endl;
                QCoreApplication::exit(0);
            });
        }
    }

private:
    QImage image_;
    QElapsedTimer started_;
    bool reported_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QElapsedTimer started;
    started.start();
    QApplication application(argc, argv);
    QImage image;
    if (argc > 1) {
        image.load(QString::fromLocal8Bit(argv[1]));
    }
    if (image.isNull()) {
        image = QImage(1024, 576, QImage::Format_RGB32);
        image.fill(QColor(0x32, 0xEB, 0xA5));
    }
    ImageWindow window(std::move(image), started);
    window.show();
    return QApplication::exec();
}
