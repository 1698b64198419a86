#include "app/interface_path.h"

#include <array>

namespace talwyn::app {

bool isTalwynInterfacePath(const QString& interfacePath) {
    static const std::array<QString, 3> kMarks = {QStringLiteral("22D4"), QStringLiteral("1329"),
                                                  QStringLiteral("MI_00")};
    for (const QString& mark : kMarks) {
        if (interfacePath.indexOf(mark) <= 0) {
            return false;
        }
    }
    return true;
}

} // namespace talwyn::app
