#include "updater/update_session.h"

#include "device/user_texts.h"
#include "pages/support_dlg.h"

#include <mutex>

namespace talwyn::updater {

// Carries progress reports from the library's thread to the session while it
// lives; the session cuts it off when it goes.
struct UpdateSession::Relay {
    std::mutex mutex;
    UpdateSession* session = nullptr;

    void post(uint8_t status, uint32_t value) {
        std::lock_guard lock(mutex);
        if (session != nullptr)
            QMetaObject::invokeMethod(
                session, [s = session, status, value] { s->progressed(status, value); },
                Qt::QueuedConnection);
    }
};

Offer offerFromArguments(const QStringList& arguments) {
    return !arguments.isEmpty() && arguments.front() == QStringLiteral("1") ? Offer::UpdateDue
                                                                            : Offer::NoUpdateDue;
}

UpdateSession::UpdateSession(FirmwareDevice& device, const platform::IniReader& ini,
                             std::filesystem::path folder, Offer offer, QObject* parent)
    : QObject(parent), device_(device), ini_(ini), folder_(std::move(folder)), offer_(offer),
      relay_(std::make_shared<Relay>()) {
    relay_->session = this;
    silence_.setSingleShot(true);
    silence_.setInterval(kSilenceLimit);
    connect(&silence_, &QTimer::timeout, this, &UpdateSession::silenced);
    deviceContext_.moveToThread(&deviceThread_);
    deviceThread_.start();
}

UpdateSession::~UpdateSession() {
    {
        std::lock_guard lock(relay_->mutex);
        relay_->session = nullptr;
    }
    deviceThread_.quit();
    deviceThread_.wait();
}

void UpdateSession::runOnDevice(std::function<void()> job) {
    QMetaObject::invokeMethod(&deviceContext_, std::move(job), Qt::QueuedConnection);
}

bool UpdateSession::checkImage() {
    config_ = readPackageConfig(ini_, folder_);
    image_ = checkFirmwareImage(config_, folder_);
    return image_.problem == ImageProblem::None;
}

void UpdateSession::start() {
    const bool imageGood = checkImage();
    setPhase(imageGood ? Phase::Checking : Phase::ImageRejected);
    runOnDevice([this] {
        const MouseProbe probe = device_.probe();
        QMetaObject::invokeMethod(
            this, [this, probe] { probed(probe); }, Qt::QueuedConnection);
    });
}

void UpdateSession::probed(MouseProbe probe) {
    mouse_ = probe;
    if (phase_ == Phase::ImageRejected) {
        emit changed();
        return;
    }
    switch (probe.mode) {
    case MouseMode::Normal:
        setPhase(Phase::Ready);
        break;
    case MouseMode::Bootloader:
        setPhase(Phase::Recovery);
        break;
    case MouseMode::Absent:
        setPhase(Phase::NoMouse);
        break;
    }
}

bool UpdateSession::canUpdate() const {
    return phase_ == Phase::Ready || phase_ == Phase::Recovery || phase_ == Phase::NoMouse ||
           phase_ == Phase::Failed;
}

void UpdateSession::update() {
    if (!canUpdate())
        return;
    // The mouse stays untouched unless the image is exactly the one configured.
    if (!checkImage()) {
        setPhase(Phase::ImageRejected);
        return;
    }
    progress_.emplace(static_cast<int>((image_.bytes.size() + 1023) / 1024));
    failure_.reset();
    setPhase(Phase::Updating);
    silence_.start();
    runOnDevice([this, image = image_.bytes, relay = relay_] {
        const MouseProbe probe = device_.probe();
        int result = 0;
        if (probe.mode != MouseMode::Absent)
            result = device_.startUpdate(
                image, [relay](uint8_t status, uint32_t value) { relay->post(status, value); });
        QMetaObject::invokeMethod(
            this, [this, probe, result] { updateStarted(probe, result); }, Qt::QueuedConnection);
    });
}

void UpdateSession::updateStarted(MouseProbe probe, int result) {
    if (probe.mode == MouseMode::Normal)
        mouse_ = probe;
    if (probe.mode == MouseMode::Absent) {
        silence_.stop();
        setPhase(Phase::NoMouse);
    } else if (result != TALWYN_RESULT_OK) {
        silence_.stop();
        failure_ = FailureText{
            QStringLiteral("The device library did not start the update (status %1). The mouse is unchanged.")
                .arg(result),
            QStringLiteral("Close other programs that update the mouse, then press Update again.")};
        setPhase(Phase::Failed);
    }
}

void UpdateSession::progressed(uint8_t status, uint32_t value) {
    if (phase_ != Phase::Updating || !progress_)
        return;
    progress_->take(status, value);
    switch (progress_->outcome()) {
    case UpdateProgress::Outcome::Running:
        silence_.start();
        emit changed();
        break;
    case UpdateProgress::Outcome::Succeeded:
        silence_.stop();
        mouse_ = {MouseMode::Normal, progress_->newVersion()};
        setPhase(Phase::Succeeded);
        break;
    case UpdateProgress::Outcome::Failed:
        silence_.stop();
        failure_ = progress_->failure();
        setPhase(Phase::Failed);
        break;
    }
}

void UpdateSession::silenced() {
    if (phase_ != Phase::Updating)
        return;
    failure_ = silentMouseText();
    setPhase(Phase::Failed);
}

void UpdateSession::setPhase(Phase phase) {
    phase_ = phase;
    emit changed();
}

QString UpdateSession::headline() const {
    switch (phase_) {
    case Phase::Checking:
        return QStringLiteral("Looking for your Talwyn PRO...");
    case Phase::Ready:
        return offer_ == Offer::UpdateDue ? QStringLiteral("A firmware update is due for your Talwyn PRO.")
                                          : QStringLiteral("Your Talwyn PRO needs no firmware update.");
    case Phase::Recovery:
        return QStringLiteral("Your Talwyn PRO waits in bootloader mode.");
    case Phase::NoMouse:
        return QStringLiteral("No Talwyn PRO found.");
    case Phase::ImageRejected:
        return QStringLiteral("This firmware package cannot be installed.");
    case Phase::Updating:
        return QStringLiteral("Updating the firmware. Do not unplug the mouse.");
    case Phase::Succeeded:
        return QStringLiteral("Firmware update complete.");
    case Phase::Failed:
        return QStringLiteral("The firmware update failed.");
    }
    return {};
}

QString UpdateSession::detail() const {
    switch (phase_) {
    case Phase::Checking:
        return {};
    case Phase::Ready:
        return offer_ == Offer::UpdateDue
                   ? QStringLiteral(
                         "Press Update to install firmware %1. Keep the mouse plugged in until the "
                         "updater says it is done.")
                         .arg(offeredText())
                   : QStringLiteral("You can install firmware %1 anyway with Update, or close the updater.")
                         .arg(offeredText());
    case Phase::Recovery:
        return QStringLiteral("An earlier update did not complete. Press Update to install firmware %1 and "
                              "bring the mouse back.")
            .arg(offeredText());
    case Phase::NoMouse:
        return QStringLiteral("Plug the mouse in and press Update.");
    case Phase::ImageRejected:
        return imageProblemText(image_.problem, config_) + QStringLiteral(" The mouse was not touched.");
    case Phase::Updating:
        return QStringLiteral("The updater cannot be closed until the update ends.");
    case Phase::Succeeded:
        return QStringLiteral("Your Talwyn PRO now runs firmware %1.").arg(installedText());
    case Phase::Failed:
        return failure_ ? failure_->what + QLatin1Char('\n') + failure_->next : QString();
    }
    return {};
}

QString UpdateSession::installedText() const {
    if (mouse_.mode == MouseMode::Bootloader)
        return QStringLiteral("none (bootloader mode)");
    if (mouse_.mode == MouseMode::Normal && mouse_.firmwareNumber)
        return QString::fromStdString(device::firmwareVersionText(*mouse_.firmwareNumber));
    return QString::fromLatin1(device::kNoFirmwareVersion);
}

QString UpdateSession::offeredText() const {
    return QString::fromStdString(config_.firmwareNumber
                                      ? device::firmwareVersionText(*config_.firmwareNumber)
                                      : device::kNoFirmwareVersion);
}

QString UpdateSession::stepText() const {
    return phase_ == Phase::Updating && progress_ ? progress_->stepText() : QString();
}

int UpdateSession::percent() const {
    return progress_ ? progress_->percent() : 0;
}

} // namespace talwyn::updater
