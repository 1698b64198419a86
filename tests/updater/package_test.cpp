// The package checks that run before the mouse is asked to leave normal mode.

#include "updater/firmware_package.h"

#include "package_fixture.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace talwyn::updater {
namespace {

struct PackageCase {
    const char* name;
    std::vector<uint8_t> image;
    std::string size;   // empty: the image's
    std::string digest; // empty: the image's
    bool removeImage;
    ImageProblem expected;
    const char* textMentions;
};

TEST(FirmwarePackageTest, ChecksPresenceSizeAndDigestBeforeAnything) {
    const std::vector<uint8_t> good = testing::demoImage(1500);
    std::vector<uint8_t> tampered = good;
    tampered[700] ^= 0x01;
    const std::string goodDigest = testing::sha256Hex(good);
    const std::string upperDigest = QString::fromStdString(goodDigest).toUpper().toStdString();
    const std::vector<uint8_t> largest(kMaxImageSize, 0x5A);
    const std::vector<uint8_t> tooLarge(kMaxImageSize + 1, 0x5A);
    const PackageCase cases[] = {
        {"good image", good, "", "", false, ImageProblem::None, ""},
        {"largest image", largest, "", "", false, ImageProblem::None, ""},
        {"missing image", good, "", "", true, ImageProblem::Missing, "missing"},
        {"one byte too large", tooLarge, "", "", false, ImageProblem::TooLarge, "larger than 102400 bytes"},
        {"digest of another image", tampered, "", goodDigest, false, ImageProblem::WrongDigest, "SHA-256"},
        {"digest in capitals still matches", good, "", upperDigest, false, ImageProblem::None, ""},
        {"size other than configured", good, "1024", "", false, ImageProblem::WrongSize, "size"},
        {"size that is no number", good, "lots", "", false, ImageProblem::WrongSize, "size"},
    };
    for (const PackageCase& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ScratchFolder folder("updater");
        testing::writePackage(folder.path(), c.image, "106", c.size, c.digest);
        if (c.removeImage)
            std::filesystem::remove(folder / testing::kImageName);

        const platform::FileIniReader ini;
        const PackageConfig config = readPackageConfig(ini, folder.path());
        const ImageCheck check = checkFirmwareImage(config, folder.path());
        EXPECT_EQ(check.problem, c.expected);
        if (c.expected == ImageProblem::None) {
            EXPECT_EQ(static_cast<std::size_t>(check.bytes.size()), c.image.size());
            EXPECT_TRUE(imageProblemText(check.problem, config).isEmpty());
        } else {
            EXPECT_TRUE(check.bytes.isEmpty());
            EXPECT_TRUE(imageProblemText(check.problem, config).contains(QString::fromLatin1(c.textMentions)))
                << imageProblemText(check.problem, config).toStdString();
        }
    }
}

TEST(FirmwarePackageTest, ReadsTheConfiguredFirmwareAndRefusesNamesOutsideTheFolder) {
    testing::ScratchFolder folder("updater");
    const platform::FileIniReader ini;
    EXPECT_EQ(readPackageConfig(ini, folder.path()).firmwareNumber, std::nullopt);
    EXPECT_EQ(checkFirmwareImage(readPackageConfig(ini, folder.path()), folder.path()).problem,
              ImageProblem::NotNamed);

    testing::writePackage(folder.path(), testing::demoImage(), " 105 ");
    PackageConfig config = readPackageConfig(ini, folder.path());
    EXPECT_EQ(config.firmwareNumber, 105);
    EXPECT_EQ(config.imageName, QString::fromLatin1(testing::kImageName));

    for (const char* name : {"../firmware.bin", "..", "sub/firmware.bin"}) {
        config.imageName = QString::fromLatin1(name);
        EXPECT_EQ(checkFirmwareImage(config, folder.path()).problem, ImageProblem::NotNamed) << name;
    }
}

TEST(FirmwarePackageTest, AnUnreadableImageIsRefused) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    testing::ScratchFolder folder("updater");
    testing::writePackage(folder.path(), testing::demoImage());
    std::filesystem::permissions(folder / testing::kImageName, std::filesystem::perms::none);
    const platform::FileIniReader ini;
    const ImageProblem problem =
        checkFirmwareImage(readPackageConfig(ini, folder.path()), folder.path()).problem;
    std::filesystem::permissions(folder / testing::kImageName, std::filesystem::perms::owner_all);
    EXPECT_EQ(problem, ImageProblem::Unreadable);
}

} // namespace
} // namespace talwyn::updater
