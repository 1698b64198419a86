#pragma once
// Reading one value of an INI file (the firmware updater's configuration).

#include <QString>

#include <filesystem>
#include <optional>

namespace talwyn::platform {

class IniReader {
public:
    virtual ~IniReader() = default;
    // The value of `key` in `section`; nullopt when the file, the section or
    // the key is missing or the file cannot be read.
    virtual std::optional<QString> value(const std::filesystem::path& file, const QString& section,
                                         const QString& key) const = 0;
};

class FileIniReader final : public IniReader {
public:
    std::optional<QString> value(const std::filesystem::path& file, const QString& section,
                                 const QString& key) const override;
};

// Looks `key` up in the INI text: section and key names match without regard
// to case and surrounding blanks; lines starting with ';' or '#' are comments;
// the first matching key wins, also when the section appears more than once;
// a value enclosed in matching quotes loses them.
std::optional<QString> findIniValue(const QString& text, const QString& section, const QString& key);

// Decodes INI file bytes: UTF-16 (either byte order) and UTF-8 by their byte
// order mark, UTF-8 without one.
QString decodeIniText(const QByteArray& bytes);

} // namespace talwyn::platform
