#include "app/interface_path.h"

#include "protocol/device_ids.h"

#include <array>

namespace talwyn::app {

namespace {
QString upperHex(uint16_t id) {
    return QString::number(id, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}
} // namespace

bool isTalwynInterfacePath(const QString& interfacePath) {
    static const std::array<QString, 3> kMarks = {
        upperHex(protocol::kVendorId), upperHex(protocol::kProductIdNormal), QStringLiteral("MI_00")};
    for (const QString& mark : kMarks) {
        if (interfacePath.indexOf(mark) <= 0) {
            return false;
        }
    }
    return true;
}

} // namespace talwyn::app
