#include "platform/ini_file.h"

#include <QByteArray>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

namespace talwyn::platform {
namespace {

struct LookupCase {
    const char* name;
    const char* text;
    std::optional<const char*> expected; // value of [Firmware] Version
};

void PrintTo(const LookupCase& c, std::ostream* os) {
    *os << c.name;
}

class IniLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(IniLookup, FindsFirmwareVersion) {
    const LookupCase& c = GetParam();
    const auto value =
        findIniValue(QString::fromUtf8(c.text), QStringLiteral("Firmware"), QStringLiteral("Version"));
    ASSERT_EQ(value.has_value(), c.expected.has_value());
    if (value) {
        EXPECT_EQ(value->toStdString(), *c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniLookup,
    ::testing::Values(
        LookupCase{"Plain", "[Firmware]\nVersion=105\n", "105"},
        LookupCase{"CrLf", "[Firmware]\r\nVersion=105\r\n", "105"},
        LookupCase{"Blanks", "  [ Firmware ]  \n\t Version \t=  105  \n", "105"},
        LookupCase{"NamesIgnoreCase", "[FIRMWARE]\nversion=105", "105"},
        LookupCase{"Comments", "; updater\n# notes\n[Firmware]\n;Version=90\n#Version=91\nVersion=105",
                   "105"},
        LookupCase{"OtherSectionsAround",
                   "[Tool]\nVersion=7\n[Firmware]\nBuild=3\nVersion=105\n[Later]\nVersion=9", "105"},
        LookupCase{"KeyOnlyInOtherSection", "[Tool]\nVersion=7\n[Firmware]\nBuild=3\n", std::nullopt},
        LookupCase{"SectionRepeated", "[Firmware]\nBuild=1\n[Other]\n[Firmware]\nVersion=105", "105"},
        LookupCase{"FirstKeyWins", "[Firmware]\nVersion=105\nVersion=106", "105"},
        LookupCase{"Quoted", "[Firmware]\nVersion=\"105\"", "105"},
        LookupCase{"UnmatchedQuoteKept", "[Firmware]\nVersion=\"105", "\"105"},
        LookupCase{"EqualsInValue", "[Firmware]\nVersion=a=b", "a=b"},
        LookupCase{"EmptyValue", "[Firmware]\nVersion=\n", ""},
        LookupCase{"LineWithoutEquals", "[Firmware]\nVersion\n", std::nullopt},
        LookupCase{"KeyBeforeAnySection", "Version=105\n[Firmware]\n", std::nullopt},
        LookupCase{"NoSection", "[Other]\nVersion=105\n", std::nullopt},
        LookupCase{"SectionWithoutBracket", "[Firmware\nVersion=105", "105"},
        LookupCase{"Empty", "", std::nullopt}),
    [](const ::testing::TestParamInfo<LookupCase>& generated) { return generated.param.name; });

struct EncodingCase {
    const char* name;
    std::optional<QStringConverter::Encoding> encoding; // nullopt: plain UTF-8 without a mark
};

void PrintTo(const EncodingCase& c, std::ostream* os) {
    *os << c.name;
}

class IniEncoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(IniEncoding, ReadsFileWithOrWithoutByteOrderMark) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path file = dir.filePath(QStringLiteral("Config.ini")).toStdString();
    const QString text = QStringLiteral("; Versión\r\n[Firmware]\r\nVersion=105\r\nName=Mäuse\r\n");
    QByteArray bytes = text.toUtf8();
    if (const auto encoding = GetParam().encoding) {
        QStringEncoder encoder(*encoding, QStringConverter::Flag::WriteBom);
        bytes = encoder.encode(text);
    }
    std::ofstream(file, std::ios::binary).write(bytes.constData(), bytes.size());

    const FileIniReader reader;
    EXPECT_EQ(reader.value(file, QStringLiteral("Firmware"), QStringLiteral("Version")),
              QStringLiteral("105"));
    EXPECT_EQ(reader.value(file, QStringLiteral("Firmware"), QStringLiteral("Name")),
              QStringLiteral("Mäuse"));
}

INSTANTIATE_TEST_SUITE_P(Encodings, IniEncoding,
                         ::testing::Values(EncodingCase{"Utf8", std::nullopt},
                                           EncodingCase{"Utf8Bom", QStringConverter::Utf8},
                                           EncodingCase{"Utf16LittleEndian", QStringConverter::Utf16LE},
                                           EncodingCase{"Utf16BigEndian", QStringConverter::Utf16BE}),
                         [](const ::testing::TestParamInfo<EncodingCase>& generated) {
                             return generated.param.name;
                         });

TEST(FileIniReader, UnreadableSourcesAreAbsent) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path folder = dir.path().toStdString();
    const std::filesystem::path huge = folder / "huge.ini";
    {
        // Far beyond any configuration file: refused instead of read whole.
        std::ofstream out(huge, std::ios::binary);
        out << "[Firmware]\nVersion=105\n" << std::string(2 << 20, ';');
    }
    const FileIniReader reader;
    for (const auto& path : {folder / "missing.ini", folder, huge}) {
        EXPECT_FALSE(reader.value(path, QStringLiteral("Firmware"), QStringLiteral("Version")).has_value())
            << path;
    }
}

} // namespace
} // namespace talwyn::platform
