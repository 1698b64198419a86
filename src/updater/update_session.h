#pragma once
// One run of the updater, without its window: checks the package, finds the
// mouse (in normal or bootloader mode), hands the image to the device library
// and follows its progress reports to the end. Device calls run on a thread
// of their own, one at a time; results come back on the UI thread.

#include "platform/ini_file.h"
#include "updater/firmware_device.h"
#include "updater/firmware_package.h"
#include "updater/update_progress.h"

#include <QObject>
#include <QStringList>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>

namespace talwyn::updater {

// What the program that started the updater said: "1" an update is due,
// "2" (or nothing) none is due.
enum class Offer { UpdateDue, NoUpdateDue };
Offer offerFromArguments(const QStringList& arguments);

class UpdateSession final : public QObject {
    Q_OBJECT
public:
    enum class Phase { Checking, Ready, Recovery, NoMouse, ImageRejected, Updating, Succeeded, Failed };

    // Longest quiet stretch of the library's update (its device searches
    // take about a minute) before the mouse counts as gone.
    static constexpr std::chrono::seconds kSilenceLimit{120};

    // `folder` holds Config.ini and the image; `device` and `ini` must
    // outlive the session.
    UpdateSession(FirmwareDevice& device, const platform::IniReader& ini, std::filesystem::path folder,
                  Offer offer, QObject* parent = nullptr);
    ~UpdateSession() override;

    // Checks the image and looks for the mouse.
    void start();
    // Checks the image again, finds the mouse and starts the update.
    void update();

    Phase phase() const { return phase_; }
    bool canUpdate() const;
    bool canClose() const { return phase_ != Phase::Updating; }

    QString headline() const;
    QString detail() const;
    QString installedText() const;
    QString offeredText() const;
    QString stepText() const;
    int percent() const;

signals:
    void changed();

private:
    struct Relay;

    bool checkImage();
    void runOnDevice(std::function<void()> job);
    void probed(MouseProbe probe);
    void updateStarted(MouseProbe probe, int result);
    void progressed(uint8_t status, uint32_t value);
    void silenced();
    void setPhase(Phase phase);

    FirmwareDevice& device_;
    const platform::IniReader& ini_;
    std::filesystem::path folder_;
    Offer offer_;
    Phase phase_ = Phase::Checking;
    PackageConfig config_;
    ImageCheck image_;
    MouseProbe mouse_;
    std::optional<UpdateProgress> progress_;
    std::optional<FailureText> failure_;
    std::shared_ptr<Relay> relay_;
    QTimer silence_;
    QThread deviceThread_;
    QObject deviceContext_;
};

} // namespace talwyn::updater
