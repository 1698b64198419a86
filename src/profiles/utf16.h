#pragma once
// Conversions between the model's UTF-16 strings and UTF-8 text or paths.
// Files may carry any 16-bit units and file names any bytes, so invalid
// sequences become U+FFFD instead of failing.

#include <filesystem>
#include <string>
#include <string_view>

namespace talwyn {

std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);

// The first `maxUnits` code units of `text`, one fewer when the cut would
// split a surrogate pair.
std::u16string_view truncateUnits(std::u16string_view text, size_t maxUnits);

std::filesystem::path toPath(std::u16string_view text);
std::u16string fromPath(const std::filesystem::path& path);

} // namespace talwyn
