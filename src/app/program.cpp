#include "app/program.h"

#include "app/application.h"
#include "app/program_pages.h"
#include "app/screenshots.h"
#include "macros/macro_files.h"
#include "platform/pointer/background_pointer_settings.h"
#include "platform/single_instance.h"
#include "skins/skin_store.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <chrono>
#include <iostream>

namespace talwyn::app {

namespace {

// Screenshots run unattended: a warning is printed, never waited for.
class PrintedMessageBoxes final : public platform::MessageBoxes {
public:
    void warn(const QString& text, QWidget*) override { std::cerr << text.toStdString() << '\n'; }
};

// Resident memory of the whole process in kilobytes, from the kernel's status file.
long residentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

// Watches one window for its first paint.
class FirstPaintWatch final : public QObject {
public:
    FirstPaintWatch(QWidget& window, std::function<void()> onPainted)
        : window_(window), onPainted_(std::move(onPainted)) {
        window_.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Paint && onPainted_) {
            // After this paint has reached the screen.
            QTimer::singleShot(0, this, std::exchange(onPainted_, {}));
        }
        return false;
    }

private:
    QWidget& window_;
    std::function<void()> onPainted_;
};

} // namespace

Program::Program(const ProgramOptions& options, QElapsedTimer started)
    : options_(options), started_(started), library_(folders_.programFolder() / deviceLibraryFileName()) {
    if (options_.screenshotFolder.empty()) {
        messages_ = std::make_unique<platform::QtMessageBoxes>();
    } else {
        messages_ = std::make_unique<PrintedMessageBoxes>();
    }
    notifier_ = platform::makeDeviceNotifier();
    backend_ = hid::makeBackendFromEnvironment();
    link_ = std::make_unique<device::DeviceLink>(*backend_, pauses_);
    device_ = std::make_unique<DeviceOwner>(*link_, library_, [this] { pauses_.interrupt(); });
    keyCapture_ = platform::makeKeyCapture(
        [this] { messages_->warn(QString::fromUtf16(platform::kFocusOnlyCaptureNotice), nullptr); });
    // A simulated run never changes the user's desktop.
    if (options_.simulate) {
        pointerSettings_ = std::make_unique<platform::LoggingPointerSettings>(true);
    } else {
        pointerSettings_ =
            std::make_unique<platform::BackgroundPointerSettings>(platform::makeDesktopPointerSettings);
    }
    dialogs_ = std::make_unique<QtSlotDialogs>(
        pages::PopupServices{skins::skinStore(), *messages_, keyCapture_.get(), device_.get()});
}

Program::~Program() = default;

std::unique_ptr<CTOLMDlg> Program::makeWindow() {
    const pages::PopupServices popups{skins::skinStore(), *messages_, keyCapture_.get(), device_.get()};
    const auto quit = [](int code) { QCoreApplication::exit(code); };
    ProgramPageServices pageServices{popups, launcher_, ini_, folders_, *pointerSettings_, macroFolder()};
    MainWindowServices services{skins::skinStore(),
                                *messages_,
                                tray_,
                                *notifier_,
                                *device_,
                                library_,
                                *dialogs_,
                                programPages(std::move(pageServices)),
                                quit};
    return std::make_unique<CTOLMDlg>(std::move(services));
}

int Program::run() {
    // Skins are read as windows need them: a bad file ends the program here,
    // before any window shows, not when a page first opens.
    if (!skins::skinStore().checkFiles()) {
        return 0;
    }
    if (!options_.screenshotFolder.empty()) {
        return runScreenshots();
    }
    if (options_.startupReport) {
        return runStartupReport();
    }
    desktopClicks_.emplace(platform::makeDesktopButtonWatch());
    platform::LocalSingleInstance instance;
    CTOLMApp app(
        instance, [this] { return makeWindow(); }, [] { return QApplication::exec(); });
    return app.InitInstance();
}

int Program::runScreenshots() {
    auto window = makeWindow();
    window->OnInitDialog();
    window->waitForDeviceWork();
    const QStringList written = renderScreenshots(
        *window, pages::PopupServices{skins::skinStore(), *messages_, nullptr, device_.get()},
        options_.screenshotFolder);
    for (const QString& file : written) {
        std::cout << file.toStdString() << '\n';
    }
    window->DestroyWindow();
    return written.isEmpty() ? 1 : 0;
}

int Program::runStartupReport() {
    auto window = makeWindow();
    window->OnInitDialog();
    FirstPaintWatch watch(*window, [this] {
        // The moment too: a launcher counts from the process's start, which
        // main() comes well after.
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::cout << "first paint after " << started_.elapsed() << " ms (at "
                  << std::chrono::duration_cast<std::chrono::microseconds>(now).count()
                  << " us since 1970), resident memory " << residentKilobytes() / 1024 << " MB" << std::endl;
        QCoreApplication::exit(0);
    });
    window->show();
    const int code = QApplication::exec();
    window->DestroyWindow();
    return code;
}

} // namespace talwyn::app
