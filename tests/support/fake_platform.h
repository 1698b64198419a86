#pragma once
// Stand-ins for the platform services, for tests of the code that uses them:
// they record what they were asked and let the test play the system's part.

#include "platform/desktop_button_watch.h"
#include "platform/device_notifier.h"
#include "platform/folders.h"
#include "platform/ini_file.h"
#include "platform/key_capture.h"
#include "platform/launcher.h"
#include "platform/message_boxes.h"
#include "platform/single_instance.h"
#include "platform/tray_icon.h"

#include <QStringList>

#include <functional>
#include <map>
#include <mutex>
#include <tuple>
#include <utility>
#include <vector>

namespace talwyn::platform {

class FakeFolders final : public Folders {
public:
    FakeFolders(std::filesystem::path program, std::filesystem::path appData)
        : program_(std::move(program)), appData_(std::move(appData)) {}
    std::filesystem::path programFolder() const override { return program_; }
    std::filesystem::path appDataFolder() const override { return appData_; }

private:
    std::filesystem::path program_;
    std::filesystem::path appData_;
};

class FakeIniReader final : public IniReader {
public:
    void set(const std::filesystem::path& file, const QString& section, const QString& key,
             const QString& value);
    std::optional<QString> value(const std::filesystem::path& file, const QString& section,
                                 const QString& key) const override;

private:
    std::map<std::tuple<std::filesystem::path, QString, QString>, QString> values_;
};

class FakeMessageBoxes final : public MessageBoxes {
public:
    void warn(const QString& text, QWidget* parent = nullptr) override;
    // Every text shown, in order.
    QStringList shown() const;
    // Runs while a box would be open, e.g. to check what happens meanwhile.
    void onWarn(std::function<void(const QString&)> hook) { hook_ = std::move(hook); }

private:
    mutable std::mutex mutex_; // boxes may be asked for by workers
    QStringList shown_;
    std::function<void(const QString&)> hook_;
};

class FakeLauncher final : public Launcher {
public:
    bool openAddress(const QString& address) override;
    bool startProgram(const QString& program, const QString& argument) override;

    QStringList openedAddresses;
    std::vector<std::pair<QString, QString>> startedPrograms; // program, argument
    bool succeed = true;
};

class FakeSingleInstance final : public SingleInstance {
public:
    // firstCopy: whether claim() finds the lock free; listenerPresent:
    // whether notifyRunningCopy() finds someone to tell.
    FakeSingleInstance(bool firstCopy, bool listenerPresent)
        : first_(firstCopy), listener_(listenerPresent) {}
    bool notifyRunningCopy() override;
    bool claim() override;
    // Plays another start reaching this copy.
    void receiveShowRequest() { emit showWindowRequested({}); }

    int notifications = 0;
    int claims = 0;

private:
    bool first_;
    bool listener_;
};

class FakeDeviceNotifier final : public DeviceNotifier {
public:
    explicit FakeDeviceNotifier(bool startSucceeds = true) : startSucceeds_(startSucceeds) {}
    bool start() override;
    bool started() const { return started_; }
    // Play the system's notices; ignored until started.
    void arrive(const QString& interfacePath);
    void depart(const QString& interfacePath);

private:
    bool startSucceeds_;
    bool started_ = false;
};

class FakeTrayIcon final : public TrayIcon {
public:
    explicit FakeTrayIcon(bool trayAvailable = true) : available_(trayAvailable) {}
    bool add(const QIcon& icon, const QString& toolTip) override;
    void remove() override { shown_ = false; }
    bool isHosted() const override { return shown_; }
    // A notification area that starts or ends while the program runs.
    void setAvailable(bool available) { available_ = shown_ = available; }
    bool shown() const { return shown_; }
    QString toolTip() const { return toolTip_; }
    // Play the user's clicks on the icon.
    void leftClick();
    void rightClick(const QPoint& globalPos);

private:
    bool available_;
    bool shown_ = false;
    QString toolTip_;
};

class FakeKeyCapture final : public KeyCapture {
public:
    explicit FakeKeyCapture(bool installSucceeds = true) : installSucceeds_(installSucceeds) {}
    bool install(QObject* receiver) override;
    void remove() override;
    bool isInstalled() const override { return installed_; }
    // Plays a key anywhere on the system: posted to the receiver while installed.
    void press(uint8_t virtualKey);
    void release(uint8_t virtualKey);

    int installs = 0;
    int removals = 0;

private:
    bool installSucceeds_;
    bool installed_ = false;
    CapturedKeyTarget target_;
};

class FakeDesktopButtonWatch final : public DesktopButtonWatch {
public:
    explicit FakeDesktopButtonWatch(bool startSucceeds = true) : startSucceeds_(startSucceeds) {}
    bool start(Callback callback) override;
    void stop() override;
    bool isRunning() const override { return running_; }
    // Play a button anywhere on the screen; delivered while running.
    void press(Qt::MouseButton button, const QPoint& globalPos) { play({button, false, globalPos}); }
    void release(Qt::MouseButton button, const QPoint& globalPos) { play({button, true, globalPos}); }

    int starts = 0; // starts of a watch that was not running

private:
    void play(const PointerButtonEvent& event);

    bool startSucceeds_;
    bool running_ = false;
    Callback callback_;
};

} // namespace talwyn::platform
