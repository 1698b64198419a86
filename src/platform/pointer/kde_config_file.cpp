#include "platform/pointer/kde_config_file.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace talwyn::platform {

namespace {

bool isGroupHeader(const QString& line) {
    return line.startsWith(QLatin1Char('['));
}

bool carriesName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('[')) && !name.contains(QLatin1Char(']')) &&
           !name.contains(QLatin1Char('\n')) && !name.contains(QLatin1Char('\r'));
}

QString headerFor(const QStringList& group) {
    QString header;
    for (const QString& part : group) {
        header += QLatin1Char('[') + part + QLatin1Char(']');
    }
    return header;
}

// The key of an entry line, without Plasma's "[$e]"-style flags.
QString keyOf(const QString& line) {
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0) {
        return {};
    }
    QString key = line.left(equals).trimmed();
    const qsizetype flags = key.indexOf(QLatin1Char('['));
    return flags < 0 ? key : key.left(flags);
}

} // namespace

KdeConfigFile::KdeConfigFile(std::filesystem::path path) : path_(std::move(path)) {
    QFile file(QString::fromStdString(path_.string()));
    if (file.open(QIODevice::ReadOnly)) {
        lines_ = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        if (!lines_.isEmpty() && lines_.last().isEmpty()) {
            lines_.removeLast();
        }
    }
}

int KdeConfigFile::headerOf(const QString& header) const {
    for (int i = 0; i < lines_.size(); ++i) {
        if (lines_[i].trimmed() == header) {
            return i;
        }
    }
    return -1;
}

int KdeConfigFile::endOfGroup(int header) const {
    int end = header + 1;
    while (end < lines_.size() && !isGroupHeader(lines_[end].trimmed())) {
        ++end;
    }
    return end;
}

bool KdeConfigFile::set(const QStringList& group, const QString& key, const QString& value) {
    if (group.isEmpty() || !std::all_of(group.begin(), group.end(), carriesName) || !carriesName(key) ||
        key.contains(QLatin1Char('=')) || value.contains(QLatin1Char('\n'))) {
        return false;
    }
    const QString header = headerFor(group);
    const QString entry = key + QLatin1Char('=') + value;
    int at = headerOf(header);
    if (at < 0) {
        if (!lines_.isEmpty() && !lines_.last().trimmed().isEmpty()) {
            lines_ << QString();
        }
        lines_ << header << entry;
        return true;
    }
    const int end = endOfGroup(at);
    for (int i = at + 1; i < end; ++i) {
        if (keyOf(lines_[i]) == key) {
            lines_[i] = entry;
            return true;
        }
    }
    // After the group's last entry, before the blank lines that part it from the next.
    int insertAt = end;
    while (insertAt > at + 1 && lines_[insertAt - 1].trimmed().isEmpty()) {
        --insertAt;
    }
    lines_.insert(insertAt, entry);
    return true;
}

QString KdeConfigFile::value(const QStringList& group, const QString& key) const {
    const int at = headerOf(headerFor(group));
    if (at < 0) {
        return {};
    }
    const int end = endOfGroup(at);
    for (int i = at + 1; i < end; ++i) {
        if (keyOf(lines_[i]) == key) {
            return lines_[i].mid(lines_[i].indexOf(QLatin1Char('=')) + 1);
        }
    }
    return {};
}

bool KdeConfigFile::save() const {
    QDir().mkpath(QString::fromStdString(path_.parent_path().string()));
    QSaveFile file(QString::fromStdString(path_.string()));
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (!lines_.isEmpty()) {
        file.write((lines_.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    }
    return file.commit();
}

} // namespace talwyn::platform
