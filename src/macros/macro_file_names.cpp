#include "macros/macro_file_names.h"

#include "profiles/utf16.h"

#include <algorithm>
#include <string>

namespace talwyn {
namespace {

// Longest file name most file systems take, less ".macro" and a small margin.
constexpr size_t kMaxStemBytes = 255 - 10;
// Room kept for the "_<number>" that makes a made-safe stem unique.
constexpr size_t kNumberRoom = 12;

constexpr std::u16string_view kReserved = u"/\\<>:\"|?*";

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Marks every unit that cannot appear in a file name: control and reserved
// characters and surrogates without their partner.
std::u16string replaceUnsafeUnits(std::u16string_view text) {
    std::u16string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        const char16_t unit = out[i];
        const bool pairStart = isHighSurrogate(unit) && i + 1 < out.size() && isLowSurrogate(out[i + 1]);
        if (pairStart) {
            ++i;
            continue;
        }
        if (unit < 0x20 || unit == 0x7F || kReserved.find(unit) != std::u16string_view::npos ||
            isHighSurrogate(unit) || isLowSurrogate(unit))
            out[i] = u'_';
    }
    return out;
}

size_t fileNameBytes(std::u16string_view stem) {
    return toUtf8(stem).size();
}

std::u16string makeSafeStem(std::u16string_view name) {
    std::u16string stem = replaceUnsafeUnits(name);
    if (stem.empty() || stem == u"." || stem == u"..")
        stem.assign(std::max<size_t>(stem.size(), 1), u'_');
    while (fileNameBytes(stem) > kMaxStemBytes - kNumberRoom) {
        stem.pop_back();
        if (!stem.empty() && isHighSurrogate(stem.back()))
            stem.pop_back();
    }
    return stem;
}

std::u16string numbered(std::u16string_view stem, int number) {
    const std::string digits = std::to_string(number);
    return std::u16string(stem) + u'_' + std::u16string(digits.begin(), digits.end());
}

} // namespace

bool isPortableFileStem(std::u16string_view stem) {
    return !stem.empty() && stem != u"." && stem != u".." && replaceUnsafeUnits(stem) == stem &&
           fileNameBytes(stem) <= kMaxStemBytes;
}

std::u16string MacroFileNamer::foldCase(std::u16string_view text) {
    std::u16string folded(text);
    for (char16_t& unit : folded)
        if (unit >= u'A' && unit <= u'Z')
            unit = static_cast<char16_t>(unit - u'A' + u'a');
    return folded;
}

bool MacroFileNamer::taken(std::u16string_view stem) const {
    return used_.contains(foldCase(stem));
}

std::u16string MacroFileNamer::claim(std::u16string stem) {
    used_.insert(foldCase(stem));
    return stem + std::u16string(kMacroFileExtension);
}

std::u16string MacroFileNamer::fileNameFor(CMacro& macro) {
    if (isPortableFileStem(macro.name)) {
        std::u16string name = macro.name;
        while (taken(name) && isPortableFileStem(name + u'1'))
            name += u'1';
        if (!taken(name)) {
            macro.name = name;
            return claim(std::move(name));
        }
    }
    const std::u16string stem = makeSafeStem(macro.name);
    if (!taken(stem))
        return claim(stem);
    int number = 2;
    while (taken(numbered(stem, number)))
        ++number;
    return claim(numbered(stem, number));
}

} // namespace talwyn
