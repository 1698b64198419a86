#pragma once
// A firmware package in a scratch folder: Config.ini and an image the
// simulated mouse installs, with the image's true size and digest unless a
// test says otherwise.

#include "sim/firmware_image.h"
#include "support/scratch_folder.h"

#include <QCryptographicHash>
#include <QString>

#include <filesystem>
#include <string>
#include <vector>

namespace talwyn::testing {

inline constexpr char kImageName[] = "firmware.bin";

inline std::string sha256Hex(const std::vector<uint8_t>& bytes) {
    const QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex().toStdString();
}

// An empty size or digest stands for the image's own.
inline void writePackage(const std::filesystem::path& folder, const std::vector<uint8_t>& image,
                         const std::string& version = "106", std::string size = {}, std::string digest = {}) {
    writeBytes(folder / kImageName, image);
    if (size.empty())
        size = std::to_string(image.size());
    if (digest.empty())
        digest = sha256Hex(image);
    const std::string config = "[Firmware]\nVersion=" + version + "\nImage=" + kImageName + "\nSize=" + size +
                               "\nSHA256=" + digest + "\n";
    writeBytes(folder / "Config.ini", std::vector<uint8_t>(config.begin(), config.end()));
}

// An image of firmware 1.06 in two blocks.
inline std::vector<uint8_t> demoImage(std::size_t size = 2048) {
    return sim::makeFirmwareImage(0x0106, size);
}

} // namespace talwyn::testing
