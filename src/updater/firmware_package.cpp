#include "updater/firmware_package.h"

#include "controls/edits.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace talwyn::updater {

namespace {

const QString kSection = QStringLiteral("Firmware");
constexpr char kConfigFileName[] = "Config.ini";

std::filesystem::path imagePath(const PackageConfig& config, const std::filesystem::path& folder) {
    return folder / config.imageName.toStdU16String();
}

} // namespace

PackageConfig readPackageConfig(const platform::IniReader& ini, const std::filesystem::path& folder) {
    const std::filesystem::path file = folder / kConfigFileName;
    PackageConfig config;
    if (const auto version = ini.value(file, kSection, QStringLiteral("Version")))
        config.firmwareNumber = controls::leadingInteger(*version);
    config.imageName = ini.value(file, kSection, QStringLiteral("Image")).value_or(QString()).trimmed();
    if (const auto size = ini.value(file, kSection, QStringLiteral("Size"))) {
        bool ok = false;
        const qint64 value = size->trimmed().toLongLong(&ok);
        if (ok && value >= 0)
            config.size = value;
    }
    config.sha256 = ini.value(file, kSection, QStringLiteral("SHA256"))
                        .value_or(QString())
                        .trimmed()
                        .toLower()
                        .toLatin1();
    return config;
}

ImageCheck checkFirmwareImage(const PackageConfig& config, const std::filesystem::path& folder) {
    // The name stays inside the package folder: no separators, no parent steps.
    if (config.imageName.isEmpty() || config.imageName.contains(QLatin1Char('/')) ||
        config.imageName == QStringLiteral("..") || config.imageName == QStringLiteral("."))
        return {ImageProblem::NotNamed, {}};
    QFile file(QString::fromStdU16String(imagePath(config, folder).u16string()));
    const QFileInfo info(file);
    if (!info.exists() || !info.isFile())
        return {ImageProblem::Missing, {}};
    if (!file.open(QIODevice::ReadOnly))
        return {ImageProblem::Unreadable, {}};
    const QByteArray bytes = file.read(kMaxImageSize + 1);
    if (file.error() != QFileDevice::NoError)
        return {ImageProblem::Unreadable, {}};
    if (bytes.size() > kMaxImageSize)
        return {ImageProblem::TooLarge, {}};
    if (!config.size || *config.size != bytes.size())
        return {ImageProblem::WrongSize, {}};
    if (QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() != config.sha256)
        return {ImageProblem::WrongDigest, {}};
    return {ImageProblem::None, bytes};
}

QString imageProblemText(ImageProblem problem, const PackageConfig& config) {
    switch (problem) {
    case ImageProblem::None:
        return {};
    case ImageProblem::NotNamed:
        return QStringLiteral("Config.ini names no firmware image. Reinstall the firmware update software.");
    case ImageProblem::Missing:
        return QStringLiteral("The firmware image \"%1\" is missing. Reinstall the firmware update software.")
            .arg(config.imageName);
    case ImageProblem::Unreadable:
        return QStringLiteral("The firmware image \"%1\" cannot be read. Check its file permissions or "
                              "reinstall the firmware update software.")
            .arg(config.imageName);
    case ImageProblem::TooLarge:
        return QStringLiteral("The firmware image \"%1\" is larger than %2 bytes and cannot be the mouse's "
                              "firmware. Reinstall the firmware update software.")
            .arg(config.imageName)
            .arg(kMaxImageSize);
    case ImageProblem::WrongSize:
        return QStringLiteral("The firmware image \"%1\" does not have the size Config.ini names. It is "
                              "damaged or incomplete: reinstall the firmware update software.")
            .arg(config.imageName);
    case ImageProblem::WrongDigest:
        return QStringLiteral("The firmware image \"%1\" does not match its SHA-256 in Config.ini. It is "
                              "damaged: reinstall the firmware update software.")
            .arg(config.imageName);
    }
    return {};
}

} // namespace talwyn::updater
