#pragma once
// A path as the user reads it in a message; the path itself keeps its bytes.

#include "profiles/utf16.h"

#include <QString>

#include <filesystem>

namespace talwyn::app {

inline QString shownPath(const std::filesystem::path& path) {
    return QString::fromStdU16String(fromPath(path));
}

} // namespace talwyn::app
