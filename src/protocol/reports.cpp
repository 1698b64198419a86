#include "protocol/reports.h"

#include <cstdio>

namespace talwyn::protocol {

uint16_t versionAsDecimal(uint16_t version) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%x", version);
    uint16_t decimal = 0;
    for (const char* c = hex; *c >= '0' && *c <= '9'; ++c)
        decimal = static_cast<uint16_t>(decimal * 10 + (*c - '0'));
    return decimal;
}

} // namespace talwyn::protocol
