#pragma once
// The firmware package beside the updater: Config.ini names the firmware
// number, the image file, its size and its SHA-256; the image is checked
// against all of them before the mouse is asked to leave normal mode.

#include "platform/ini_file.h"

#include <QByteArray>
#include <QString>

#include <filesystem>
#include <optional>

namespace talwyn::updater {

// The largest image the mouse's bootloader takes (100 blocks of 1024 bytes).
inline constexpr qint64 kMaxImageSize = 102400;

struct PackageConfig {
    std::optional<int> firmwareNumber; // 105 for firmware 1.05, read as the support page reads it
    QString imageName;                 // empty when the configuration names none
    std::optional<qint64> size;
    QByteArray sha256; // lower-case hexadecimal, as configured
};

// Reads [Firmware] Version, Image, Size and SHA256 of `folder`/Config.ini.
PackageConfig readPackageConfig(const platform::IniReader& ini, const std::filesystem::path& folder);

enum class ImageProblem { None, NotNamed, Missing, Unreadable, TooLarge, WrongSize, WrongDigest };

struct ImageCheck {
    ImageProblem problem = ImageProblem::None;
    QByteArray bytes; // the image, only when it passed every check
};

// Reads the configured image from `folder` (never more than one byte past
// the largest size) and checks it.
ImageCheck checkFirmwareImage(const PackageConfig& config, const std::filesystem::path& folder);

// What the user reads about a refused image; empty for ImageProblem::None.
QString imageProblemText(ImageProblem problem, const PackageConfig& config);

} // namespace talwyn::updater
