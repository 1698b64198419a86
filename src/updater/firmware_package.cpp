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
    const QString image = QStringLiteral("The firmware image \"%1\"").arg(config.imageName);
    const QString reinstall = QStringLiteral(" Reinstall the firmware update software.");
    switch (problem) {
    case ImageProblem::None:
        return {};
    case ImageProblem::NotNamed:
        return QStringLiteral("Config.ini names no firmware image.") + reinstall;
    case ImageProblem::Missing:
        return image + QStringLiteral(" is missing.") + reinstall;
    case ImageProblem::Unreadable:
        return image + QStringLiteral(" cannot be read: check its file permissions.") + reinstall;
    case ImageProblem::TooLarge:
        return image +
               QStringLiteral(" is larger than %1 bytes and cannot be the mouse's firmware.")
                   .arg(kMaxImageSize) +
               reinstall;
    case ImageProblem::WrongSize:
        return image +
               QStringLiteral(" does not have the size Config.ini names: it is damaged or incomplete.") +
               reinstall;
    case ImageProblem::WrongDigest:
        return image + QStringLiteral(" does not match its SHA-256 in Config.ini: it is damaged.") +
               reinstall;
    }
    return {};
}

} // namespace talwyn::updater
