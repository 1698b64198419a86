#include "support/fake_platform.h"

namespace talwyn::platform {

void FakeIniReader::set(const std::filesystem::path& file, const QString& section, const QString& key,
                        const QString& value) {
    values_[{file, section.toLower(), key.toLower()}] = value;
}

std::optional<QString> FakeIniReader::value(const std::filesystem::path& file, const QString& section,
                                            const QString& key) const {
    const auto found = values_.find({file, section.toLower(), key.toLower()});
    if (found == values_.end()) {
        return std::nullopt;
    }
    return found->second;
}

void FakeMessageBoxes::warn(const QString& text, QWidget*) {
    std::function<void(const QString&)> hook;
    {
        const std::lock_guard lock(mutex_);
        shown_.append(text);
        hook = hook_;
    }
    if (hook) {
        hook(text);
    }
}

QStringList FakeMessageBoxes::shown() const {
    const std::lock_guard lock(mutex_);
    return shown_;
}

bool FakeLauncher::openAddress(const QString& address) {
    openedAddresses.append(address);
    return succeed;
}

bool FakeLauncher::startProgram(const QString& program, const QString& argument) {
    startedPrograms.emplace_back(program, argument);
    return succeed;
}

bool FakeSingleInstance::notifyRunningCopy() {
    ++notifications;
    return listener_;
}

bool FakeSingleInstance::claim() {
    ++claims;
    return first_;
}

bool FakeDeviceNotifier::start() {
    started_ = startSucceeds_;
    return started_;
}

void FakeDeviceNotifier::arrive(const QString& interfacePath) {
    if (started_) {
        emit deviceArrived(interfacePath);
    }
}

void FakeDeviceNotifier::depart(const QString& interfacePath) {
    if (started_) {
        emit deviceRemoved(interfacePath);
    }
}

bool FakeTrayIcon::add(const QIcon&, const QString& toolTip) {
    toolTip_ = toolTip;
    shown_ = available_;
    return shown_;
}

void FakeTrayIcon::leftClick() {
    if (shown_) {
        emit showWindowRequested();
    }
}

void FakeTrayIcon::rightClick(const QPoint& globalPos) {
    if (shown_) {
        emit menuRequested(globalPos);
    }
}

bool FakeKeyCapture::install(QObject* receiver) {
    ++installs;
    if (!installSucceeds_) {
        return false;
    }
    installed_ = true;
    target_.set(receiver);
    return true;
}

void FakeKeyCapture::remove() {
    ++removals;
    installed_ = false;
    target_.clear();
}

void FakeKeyCapture::press(uint8_t virtualKey) {
    if (installed_) {
        target_.post(virtualKey, false);
    }
}

void FakeKeyCapture::release(uint8_t virtualKey) {
    if (installed_) {
        target_.post(virtualKey, true);
    }
}

bool FakeDesktopButtonWatch::start(Callback callback) {
    if (!startSucceeds_) {
        return false;
    }
    if (!running_) {
        ++starts;
        running_ = true;
    }
    callback_ = std::move(callback);
    return true;
}

void FakeDesktopButtonWatch::stop() {
    running_ = false;
    callback_ = nullptr;
}

void FakeDesktopButtonWatch::play(const PointerButtonEvent& event) {
    if (running_ && callback_) {
        const Callback callback = callback_;
        callback(event);
    }
}

} // namespace talwyn::platform
