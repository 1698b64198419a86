// The firmware updater's Config.ini: any bytes, in any encoding, give a
// value or none.

#include "platform/ini_file.h"

#include <QByteArray>
#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace talwyn::platform;
    const QString text =
        decodeIniText(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    (void)findIniValue(text, QStringLiteral("Firmware"), QStringLiteral("Version"));
    return 0;
}
