#pragma once
// One of Plasma's configuration files (kdeglobals, kcminputrc), changed in
// place: groups are written the way Plasma nests them ("[Libinput][1][2]"),
// every line the program does not set stays as it was, and the file is
// replaced in one step so a failed save leaves the last good copy.

#include <QString>
#include <QStringList>

#include <filesystem>

namespace talwyn::platform {

class KdeConfigFile {
public:
    // Reads the file; a missing file starts empty.
    explicit KdeConfigFile(std::filesystem::path path);

    // Sets `key` in the group `group` (outermost first), adding the group
    // at the end where the file has none. False for names the file format
    // cannot carry (brackets, '=', line breaks); nothing changes then.
    bool set(const QStringList& group, const QString& key, const QString& value);
    // The value of `key` in `group`, or a null string.
    QString value(const QStringList& group, const QString& key) const;
    // False when the file could not be written; the old file is then untouched.
    bool save() const;

private:
    // Index of the group's header line, or -1.
    int headerOf(const QString& header) const;
    // One past the group's last line.
    int endOfGroup(int header) const;

    std::filesystem::path path_;
    QStringList lines_;
};

} // namespace talwyn::platform
