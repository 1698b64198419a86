#include "platform/ini_file.h"

#include <QFile>
#include <QStringConverter>
#include <QStringDecoder>
#include <QStringView>

namespace talwyn::platform {

namespace {

// A configuration file is a few lines; anything far larger is not one.
constexpr qint64 kMaxIniBytes = 1 << 20;

bool isComment(QStringView line) {
    return line.startsWith(u';') || line.startsWith(u'#');
}

QString unquoted(QStringView value) {
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first) {
            return value.sliced(1, value.size() - 2).toString();
        }
    }
    return value.toString();
}

} // namespace

QString decodeIniText(const QByteArray& bytes) {
    const auto encoding = QStringConverter::encodingForData(bytes).value_or(QStringConverter::Utf8);
    QStringDecoder decoder(encoding, QStringConverter::Flag::Default);
    return decoder.decode(bytes);
}

std::optional<QString> findIniValue(const QString& text, const QString& section, const QString& key) {
    const QString wantedSection = section.trimmed();
    const QString wantedKey = key.trimmed();
    bool inSection = false;
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        line = line.trimmed(); // also drops the '\r' of CRLF files
        if (line.isEmpty() || isComment(line)) {
            continue;
        }
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QStringView name = line.sliced(1, (close < 0 ? line.size() : close) - 1).trimmed();
            inSection = name.compare(wantedSection, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection) {
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) {
            continue;
        }
        if (line.first(equals).trimmed().compare(wantedKey, Qt::CaseInsensitive) == 0) {
            return unquoted(line.sliced(equals + 1).trimmed());
        }
    }
    return std::nullopt;
}

std::optional<QString> FileIniReader::value(const std::filesystem::path& file, const QString& section,
                                            const QString& key) const {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly) || in.size() > kMaxIniBytes) {
        return std::nullopt;
    }
    const QByteArray bytes = in.read(kMaxIniBytes + 1);
    if (bytes.size() > kMaxIniBytes) {
        return std::nullopt;
    }
    return findIniValue(decodeIniText(bytes), section, key);
}

} // namespace talwyn::platform
