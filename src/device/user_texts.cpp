#include "device/user_texts.h"

#include <cstdio>

namespace talwyn::device {

std::string firmwareVersionText(int number) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", number / 100.0);
    return text;
}

} // namespace talwyn::device
